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
    // A batch holds the file locked, its tree synced with the disk, and gathers the changes for
    // one commit.
    Status startBatch() override;
    Status commitBatch() override;
    void markUnreadable(const QString& why);

    std::unique_ptr<HiveFile> m_file;
    QString m_path;
    bool m_unreadable = false;
    std::vector<HiveOp> m_pending; // the open batch's changes, for the file (none in memory)
};

} // namespace orvanex::reg
