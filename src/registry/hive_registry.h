#pragma once
// The store behind Registry: a key tree in memory, handles onto its nodes, and (for a hive) the
// file that every write goes through before it returns.

#include "registry/handle_table.h"
#include "registry/hive_file.h"
#include "registry/key_node.h"
#include "registry/registry.h"

#include <memory>
#include <vector>

namespace orvanex::reg {

class HiveRegistry final : public Registry {
public:
    // file null: a registry in memory only.
    explicit HiveRegistry(std::unique_ptr<HiveFile> file, QString path);

    bool isReadOnly() const override { return m_readOnly; }
    QString problem() const override { return m_problem; }
    QString hivePath() const override { return m_path; }

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
    Status compact() override;

private:
    Status resolve(HKey key, KeyNode** node) const;
    Status readCheck() const;
    HKey newHandle(KeyNode* node);
    // Runs one change inside a batch of its own (or the open one).
    template <typename Change> Status write(Change&& change);
    void markUnreadable(const QString& why);

    std::unique_ptr<HiveFile> m_file;
    QString m_path;
    KeyNode m_top;
    KeyNode* m_classes = nullptr;
    struct HandleSlot {
        std::shared_ptr<KeyNode> node;
    };
    HandleTable<HandleSlot> m_handles;
    bool m_readOnly = false;
    bool m_unreadable = false;
    QString m_problem;
    int m_batchDepth = 0;
    Status m_batchStatus = status::Success;
    std::vector<HiveOp> m_pending; // the open batch's changes, for the file (none in memory)
};

} // namespace orvanex::reg
