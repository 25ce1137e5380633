#pragma once
// The in-memory tree behind the store: keys with case-preserving names, looked up and ordered by a
// case-folded form, and values kept in the order they were first created. A key with many
// subkeys also keeps a hash index of them, so look-ups stay constant time as the registry grows.
// Nodes and their names are made in a KeyArena, so a tree lies in memory in the order it was made.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvanex::reg {

struct KeyArena; // registry/key_arena.h

// Windows' limits on names (characters).
inline constexpr qsizetype MaxKeyNameLength = 255;
inline constexpr qsizetype MaxValueNameLength = 16383;
inline constexpr int MaxKeyDepth = 512;

// Names compare as Windows does: each UTF-16 unit upper-cased on its own, then by code unit.
QString foldName(QStringView name);
// The same, sharing the text when folding changes nothing.
QString foldName(const QString& name);

// Whether two names are the same name to Windows.
bool sameName(QStringView a, QStringView b);

struct StoredValue {
    QString name;
    std::uint32_t type = 0;
    QByteArray data;
};

class KeyNode : public std::enable_shared_from_this<KeyNode> {
public:
    explicit KeyNode(QString name = QString());
    KeyNode(QString name, QString folded);
    ~KeyNode();
    KeyNode(const KeyNode&) = delete;
    KeyNode& operator=(const KeyNode&) = delete;

    QString name;
    QString folded; // never changes: the parent's index refers to it
    KeyNode* parent = nullptr;
    bool deleted = false; // set when the key went away while a handle still held it

    const std::vector<std::shared_ptr<KeyNode>>& children() const { return m_children; }
    const std::vector<StoredValue>& values() const { return m_values; }

    KeyNode* child(QStringView folded) const;
    // The same lookups by a name as written (folded on the fly, nothing allocated).
    KeyNode* findChild(QStringView wanted) const;
    const StoredValue* findValue(QStringView wanted) const;
    // The existing child of that name, or a new one, made in arena (else in the thread's own).
    KeyNode* ensureChild(QStringView childName, KeyArena* arena = nullptr);
    // Detaches the child and marks its subtree deleted; false when there is none.
    bool removeChild(QStringView folded);

    void setValue(const QString& valueName, std::uint32_t type, const QByteArray& data);
    void setValue(QString&& valueName, std::uint32_t type, QByteArray&& data);
    // setValue for each, in order (moved from).
    void addValues(std::vector<StoredValue>& values);
    bool removeValue(QStringView wanted);

    // Full path from the tree's top ("HKEY_LOCAL_MACHINE\Software"), stored spellings.
    QString path() const;
    std::shared_ptr<KeyNode> sharedChild(QStringView folded) const;

    // Makes this subtree equal to `from`'s, keeping the identity of nodes that exist in both (open
    // handles stay valid) and marking vanished ones deleted. `from` is consumed.
    void adopt(KeyNode& from);
    void markDeleted();

private:
    struct ChildIndex;
    std::vector<std::shared_ptr<KeyNode>>::const_iterator lowerBound(QStringView folded) const;
    void rebuildIndex();
    KeyNode* insertChild(std::vector<std::shared_ptr<KeyNode>>::const_iterator at,
                         std::shared_ptr<KeyNode> node);
    void numberChildren() const;
    // Moves the finger to a child the index found, so that a run of look-ups in name order
    // goes on from it.
    void followHit(KeyNode* hit) const;

    std::vector<std::shared_ptr<KeyNode>> m_children; // sorted by folded name
    std::unique_ptr<ChildIndex> m_index;              // folded name to child, for many children
    mutable std::atomic<std::uint32_t> m_finger{0};   // where the last look-up by name hit
    // This key's place among its parent's children when last numbered (a hint: checked before use).
    mutable std::atomic<std::uint32_t> m_position{0};
    std::uint32_t m_hash = 0;          // of the folded name, for the parent's index
    std::vector<StoredValue> m_values; // creation order
};

// Calls part(name) for each component of a key path, in order. A single trailing backslash is
// allowed; an empty component elsewhere makes the path invalid (false, after the parts before it).
template <typename Part> bool forEachKeyPathPart(QStringView path, Part&& part) {
    if (path.endsWith(u'\\'))
        path.chop(1);
    if (path.isEmpty())
        return true;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = path.indexOf(u'\\', start);
        const QStringView name = path.mid(start, end < 0 ? path.size() - start : end - start);
        if (name.isEmpty())
            return false;
        part(name);
        if (end < 0)
            return true;
        start = end + 1;
    }
}

// The same components in a list (cleared first).
bool splitKeyPath(QStringView path, std::vector<QStringView>* parts);

} // namespace orvanex::reg
