#pragma once
// The store over a Windows installation's own hive files: SOFTWARE is HKEY_LOCAL_MACHINE\SOFTWARE,
// a user's UsrClass.dat is HKEY_CURRENT_USER\Software\Classes, and HKEY_CLASSES_ROOT is the
// user's classes over the machine's, as Windows merges them. A change is written to the hive its
// key lives in; a hive Windows has not finished with is never written.

#include "registry/handle_table.h"
#include "registry/key_node.h"
#include "registry/nt_hive.h"
#include "registry/nt_windows.h"
#include "registry/registry.h"

#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace orvanex::reg {

class NtRegistry final : public Registry {
public:
    explicit NtRegistry(const NtLocation& where);

    bool isReadOnly() const override { return m_readOnly; }
    QString problem() const override { return m_problem; }
    // The SOFTWARE hive: the drive map finds the partition's root above it.
    QString hivePath() const override { return m_where.machineHive; }

    Status openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                     std::uint32_t samDesired, HKey* result) override;
    Status createKey(HKey key, const QString& subKey, HKey* result) override;
    Status queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType, char* data,
                        std::uint32_t* dataSize) override;
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) override;
    Status deleteKey(HKey key, const QString& subKey) override;
    Status deleteValue(HKey key, const QString& valueName) override;
    Status enumKeyEx(HKey key, std::uint32_t index, QString* name) override;
    Status enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                     QByteArray* data) override;
    Status closeKey(HKey key) override;

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
    // A key as a handle sees it: one node, or for HKEY_CLASSES_ROOT the user's and the machine's
    // copies (either may be missing).
    struct View {
        bool merged = false;
        KeyNode* node = nullptr;
        KeyNode* user = nullptr;
        KeyNode* machine = nullptr;
        QStringList relative; // below the classes roots, for a merged view
        KeyNode* valueNode() const { return merged ? (user ? user : machine) : node; }
    };
    struct HandleSlot {
        bool merged = false;
        std::shared_ptr<KeyNode> node, user, machine;
        QStringList relative;
        std::uint64_t namesShape = 0; // the merged names below, valid while the shape holds
        std::vector<QString> names;
    };

    // Opening, reading again and committing (nt_registry_files.cpp).
    void openHives();
    void checkWritable(const Hive& hive);
    void buildTop(KeyNode& top, std::array<KeyNode*, 2>* roots) const;
    void reloadAfterFailure();
    Status commitDirty();
    void setProblem(const QString& problem);

    Status resolve(HKey key, View* view);
    KeyNode* machineClasses() const;
    KeyNode* userClasses() const { return m_hives[1].root; }
    HKey newHandle(const View& view);
    Hive* hiveOf(const KeyNode* node);
    // The hive whose tree node is in, held by it or not yet (null when it cannot be written).
    Hive* hiveBelow(const KeyNode* node);
    bool isProtected(const KeyNode* node) const;
    // Makes the key at and below it in the tree and in its hive; false when the hive refused.
    bool addKeys(KeyNode** at, const std::vector<QStringView>& parts, std::size_t from);
    Status childName(HandleSlot* slot, const View& view, std::uint32_t index, QString* name);
    template <typename Change> Status write(Change&& change);

    NtLocation m_where;
    KeyNode m_top;
    std::array<Hive, 2> m_hives; // the machine's, the user's
    HandleTable<HandleSlot> m_handles;
    HandleSlot m_rootNames;
    std::uint64_t m_shape = 1;
    bool m_readOnly = false;
    QString m_problem;
    int m_batchDepth = 0;
    Status m_batchStatus = status::Success;
};

// Opens the registry of a Windows installation or of its hive files (see NtRegistry).
std::unique_ptr<Registry> openNtRegistry(const NtLocation& where);

} // namespace orvanex::reg
