#pragma once
// The store over a Windows installation's own hive files: SOFTWARE is HKEY_LOCAL_MACHINE\SOFTWARE,
// a user's UsrClass.dat is HKEY_CURRENT_USER\Software\Classes, and HKEY_CLASSES_ROOT is the
// user's classes over the machine's, as Windows merges them. A change is written to the hive its
// key lives in; a hive Windows has not finished with is never written.

#include "registry/nt_hive.h"
#include "registry/nt_windows.h"
#include "registry/registry_core.h"

#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace orvanex::reg {

class NtRegistry final : public RegistryCore {
public:
    explicit NtRegistry(const NtLocation& where);

    // The SOFTWARE hive: the drive map finds the partition's root above it.
    QString hivePath() const override { return m_where.machineHive; }

    Status createKey(HKey key, const QString& subKey, HKey* result) override;
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) override;
    Status deleteKey(HKey key, const QString& subKey) override;
    Status deleteValue(HKey key, const QString& valueName) override;

    Status beginBatch() override;
    Status endBatch() override;
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
    void checkWritable(const Hive& hive);
    void buildTop(KeyNode& top, std::array<KeyNode*, 2>* roots) const;
    void reloadAfterFailure();
    Status commitDirty();

    KeyNode* machineClasses() const override;
    KeyNode* userClasses() const override { return m_hives[1].root; }
    Hive* hiveOf(const KeyNode* node);
    // The hive whose tree node is in, held by it or not yet (null when it cannot be written).
    Hive* hiveBelow(const KeyNode* node);
    bool isProtected(const KeyNode* node) const;
    // Makes the key at and below it in the tree and in its hive; false when the hive refused.
    bool addKeys(KeyNode** at, const std::vector<QStringView>& parts, std::size_t from);
    template <typename Change> Status write(Change&& change);

    NtLocation m_where;
    std::array<Hive, 2> m_hives; // the machine's, the user's
    int m_batchDepth = 0;
    Status m_batchStatus = status::Success;
};

// Opens the registry of a Windows installation or of its hive files (see NtRegistry).
std::unique_ptr<Registry> openNtRegistry(const NtLocation& where);

} // namespace orvanex::reg
