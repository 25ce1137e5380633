#pragma once
// The store over a Windows installation's own hive files: SOFTWARE is HKEY_LOCAL_MACHINE\SOFTWARE,
// a user's UsrClass.dat is HKEY_CURRENT_USER\Software\Classes, and HKEY_CLASSES_ROOT is the
// user's classes over the machine's, as Windows merges them. A change is written to the hive its
// key lives in; a hive Windows has not finished with is never written.

#include "registry/nt_hive.h"
#include "registry/nt_windows.h"
#include "registry/offline_registry.h"

#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace orvanex::reg {

class NtRegistry final : public OfflineRegistry {
public:
    explicit NtRegistry(const NtLocation& where);

    // The SOFTWARE hive: the drive map finds the partition's root above it.
    QString hivePath() const override { return m_where.machineHive; }

    Status refresh() override;

private:
    struct Hive {
        QString path; // empty: no such hive
        KeyNode* root = nullptr;
        std::unique_ptr<nt::NtHive> file;
        bool dirty = false;
    };
    // Opening, reading again and committing (nt_registry_files.cpp).
    void openHives();
    // Opens (or opens again) the hive's file; false, with the file dropped and the registry
    // read-only, when that fails.
    bool openHive(Hive& hive);
    void checkWritable(const Hive& hive);
    void buildTop(KeyNode& top, std::array<KeyNode*, 2>* roots) const;
    void reloadAfterFailure();
    // Commits the hives the batch changed, none when one of its changes failed.
    Status commitBatch() override;

    KeyNode* machineClasses() const override;
    KeyNode* userClasses() const override { return m_hives[1].root; }
    Hive* hiveAbove(const KeyNode* node);
    Hive* hiveOf(const KeyNode* node);
    // The hive whose tree node is in, held by it or not yet (null when it cannot be written).
    Hive* hiveBelow(const KeyNode* node);
    bool isProtected(const KeyNode* node) const;
    // Each edit goes into its hive at once, in memory until the batch commits.
    bool mayEdit(Edit::Kind kind, const KeyNode* node) override;
    Status applyEdit(const Edit& edit) override;
    bool addKey(Hive& hive, KeyNode* node, QString* why);

    NtLocation m_where;
    std::array<Hive, 2> m_hives; // the machine's, the user's
};

// Opens the registry of a Windows installation or of its hive files (see NtRegistry).
std::unique_ptr<Registry> openNtRegistry(const NtLocation& where);

} // namespace orvanex::reg
