#pragma once
// The store behind Registry: a key tree in memory, handles onto its nodes, and (for a hive) the
// file that every write goes through before it returns.

#include "registry/hive_file.h"
#include "registry/registry_core.h"

#include <memory>
#include <vector>

namespace orvanex::reg {

class HiveRegistry final : public RegistryCore {
public:
    // file null: a registry in memory only.
    explicit HiveRegistry(std::unique_ptr<HiveFile> file, QString path);

    QString hivePath() const override { return m_path; }

    Status createKey(HKey key, const QString& subKey, HKey* result) override;
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) override;
    Status deleteKey(HKey key, const QString& subKey) override;
    Status deleteValue(HKey key, const QString& valueName) override;

    Status beginBatch() override;
    Status endBatch() override;
    Status refresh() override;
    Status compact() override;

private:
    KeyNode* userClasses() const override { return nullptr; }
    KeyNode* machineClasses() const override;
    Status readStatus() const override;
    // The store has no merged views: a handle's view is one node.
    using RegistryCore::newHandle;
    using RegistryCore::resolve;
    Status resolve(HKey key, KeyNode** node);
    HKey newHandle(KeyNode* node);
    // Runs one change inside a batch of its own (or the open one).
    template <typename Change> Status write(Change&& change);
    void markUnreadable(const QString& why);

    std::unique_ptr<HiveFile> m_file;
    QString m_path;
    bool m_unreadable = false;
    int m_batchDepth = 0;
    Status m_batchStatus = status::Success;
    std::vector<HiveOp> m_pending; // the open batch's changes, for the file (none in memory)
};

} // namespace orvanex::reg
