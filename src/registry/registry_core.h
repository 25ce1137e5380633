#pragma once
// What the three stores share: a key tree, handles onto it, HKEY_CLASSES_ROOT as the user's
// classes over the machine's, and the read side of the API over them. A back end says where its
// classes are, how its links lead (if it has any) and how it writes.

#include "registry/handle_table.h"
#include "registry/key_node.h"
#include "registry/registry.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace orvanex::reg {

class RegistryCore : public Registry {
public:
    bool isReadOnly() const override { return m_readOnly; }
    QString problem() const override { return m_problem; }

    Status openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                     std::uint32_t samDesired, HKey* result) final;
    Status queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType, char* data,
                        std::uint32_t* dataSize) final;
    Status enumKeyEx(HKey key, std::uint32_t index, QString* name) final;
    Status enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                     QByteArray* data) final;
    Status closeKey(HKey key) final;

    // Batches nest; the back end locks and commits its files only at the outermost.
    Status beginBatch() final;
    Status endBatch() final;

protected:
    // A link passes on at most this many further links, as Wine's server allows.
    static constexpr int MaxLinkHops = 16;

    // A key as a handle sees it: one node, or for HKEY_CLASSES_ROOT the user's and the machine's
    // copies (either may be missing).
    struct View {
        bool merged = false;
        KeyNode* node = nullptr;
        KeyNode* user = nullptr;
        KeyNode* machine = nullptr;
        QStringList relative; // below the classes roots, for a merged view
        // The links followed on the way here: a link back above one of them would never end.
        std::vector<std::shared_ptr<KeyNode>> links;
        KeyNode* valueNode() const { return merged ? (user ? user : machine) : node; }
    };
    struct HandleSlot {
        bool merged = false;
        std::shared_ptr<KeyNode> node, user, machine;
        QStringList relative;
        std::vector<std::shared_ptr<KeyNode>> links;
        // The subkey names, when they are not one node's children as they stand: valid while
        // the tree's shape is unchanged.
        std::uint64_t namesShape = 0;
        std::vector<QString> names;
    };

    // The copies behind HKEY_CLASSES_ROOT (null where there is none).
    virtual KeyNode* userClasses() const = 0;
    virtual KeyNode* machineClasses() const = 0;
    // What every read answers meanwhile (a hive that could not be read).
    virtual Status readStatus() const { return status::Success; }
    // Links: a key that stands for another one (see m_hasLinks).
    virtual bool isLink(const KeyNode*) const { return false; }
    virtual bool hasLinkChildren(const KeyNode*) const { return false; }
    // Where a link leads: the node its target path starts from and the names below it; false
    // for a target outside the tree.
    virtual bool linkPath(const KeyNode*, KeyNode**, QStringList*) const { return false; }

    // The view of a handle; view is a fresh View (every open comes through here: no reset).
    Status resolve(HKey key, View* view);
    // The same for a read, which answers readStatus() first.
    Status readView(HKey key, View* view);
    HKey newHandle(const View& view);
    // One name down, through a link where the key is one. 2 when there is no such key; then
    // *brokenLink says whether it was a link that leads nowhere (or back into itself). The
    // view is unchanged on failure.
    Status stepDown(View* view, QStringView name, bool* brokenLink = nullptr) const;
    // The target of a link, or null.
    KeyNode* linkTarget(const KeyNode* link, int hops = 0) const;
    Status childName(HandleSlot* slot, const View& view, std::uint32_t index, QString* name);
    void setProblem(const QString& problem);

    // The outermost batch begins (the files are locked) and ends (the changes are committed).
    virtual Status startBatch() { return status::Success; }
    virtual Status commitBatch() = 0;
    bool inBatch() const { return m_batchDepth > 0; }
    // Runs one change inside a batch of its own (or the open one); a failed change marks the
    // batch.
    template <typename Change> Status write(Change&& change) {
        if (m_readOnly)
            return status::AccessDenied;
        if (Status s = beginBatch())
            return s;
        const Status s = change();
        if (s != status::Success)
            m_batchStatus = s;
        const Status committed = endBatch();
        return s != status::Success ? s : committed;
    }

    // Splits a relative path and checks its names (161 for an empty name, 87 for a long one).
    static Status splitChecked(const QString& subKey, std::vector<QStringView>* parts);
    static KeyNode* walkDown(KeyNode* node, const QStringList& names);

    KeyNode m_top;
    HandleTable<HandleSlot> m_handles;
    HandleSlot m_rootNames;    // the merged subkey names of HKEY_CLASSES_ROOT itself
    std::uint64_t m_shape = 1; // bumped whenever keys are made or deleted
    // False: HKEY_CLASSES_ROOT is the machine's classes alone (the program's own hive).
    bool m_mergedClasses = true;
    bool m_hasLinks = false; // the link hooks are asked only then
    bool m_readOnly = false;
    QString m_problem;
    Status m_batchStatus = status::Success; // the first change of the open batch that failed

private:
    int m_batchDepth = 0;

    void collectNames(const View& view, std::vector<QString>* names) const;
    bool closesLoop(const View& view, const KeyNode* link, const KeyNode* target) const;
};

} // namespace orvanex::reg
