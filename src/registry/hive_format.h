#pragma once
// The hive file's text: a header line, then blocks of changes, each ended by a commit line that
// carries the block's CRC-32. A full snapshot is just one block that creates every key; later
// changes are appended as further blocks (the journal). Every line is readable text:
//
//   ORVANEX-HIVE 1
//   key "HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt"
//   val "" 1 "txtfile"
//   val "Flags" 4 dword:00000001
//   delval "Old"
//   delkey "HKEY_LOCAL_MACHINE\\Software\\Classes\\.bak"
//   commit 7 1c291ca3
//
// Names and data are quoted with \\, \" and \xHH escapes (valid UTF-8 is kept as it is), so every
// byte and every name survives. `val` and `delval` act on the key of the block's last `key` line.
// A last block without its complete commit line is a write that never finished and is ignored,
// as long as it reads as the start of a block. Anything else is damage: a complete line that is
// no op, a commit line that runs on, or a first block (the snapshot, always written whole and
// renamed into place) without its commit line.

#include "registry/key_arena.h"
#include "registry/key_node.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

namespace orvanex::reg {

inline constexpr char HiveHeader[] = "ORVANEX-HIVE 1\n";

struct HiveOp {
    enum Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = CreateKey;
    // Full path from the root name. Read from text, a value op has none: it acts on the key of
    // the block's last key op.
    QString path;
    QString name; // value name
    std::uint32_t type = 0;
    QByteArray data;
};

struct HiveParse {
    bool ok = true;
    QString error;              // why the text is unreadable
    qsizetype committedEnd = 0; // offset just past the last complete block
    std::uint64_t lastSequence = 0;
    bool tornTail = false; // bytes after the last complete block: an unfinished write
};

// The names of the tree's top level, as written in paths.
const std::vector<QString>& rootNames();
// A top node holding the four roots and HKEY_LOCAL_MACHINE\Software\Classes.
void ensureBaseKeys(KeyNode& top);

// Applies the complete blocks of text to top: the whole file (withHeader) or a part of it that
// starts at a block boundary. A malformed complete block stops the parse with ok = false; the
// blocks before it stay applied. Offsets in the result are relative to text.
HiveParse applyHiveText(QByteArrayView text, bool withHeader, KeyNode& top);

// Applies ops in order, remembering the last key so runs of values on one key walk it once.
class OpApplier {
public:
    // Keys are made in arena when one is given.
    explicit OpApplier(KeyNode& top, KeyArena* arena = nullptr) : m_top(top), m_arena(arena) {}
    ~OpApplier() { flush(); }
    OpApplier(const OpApplier&) = delete;
    OpApplier& operator=(const OpApplier&) = delete;
    // The op's value name and data are moved into the tree.
    bool apply(HiveOp& op);

private:
    bool applyToKey(HiveOp& op, KeyNode* node);
    KeyNode* parentFromLast(QStringView path, QStringView* name, int* depth) const;
    void remember(KeyNode* node, QStringView path, int depth);
    void flush();
    KeyNode& m_top;
    KeyArena* m_arena;
    KeyNode* m_node = nullptr;
    QString m_path;           // of m_node (its own copy, so its buffer is reused)
    QString m_keyLine;        // the path of the last key op, which value ops without one act on
    bool m_atKeyLine = false; // m_node is that key's node
    // A run of values for m_node, added at once so that its value list is allocated once.
    std::vector<StoredValue> m_pending;
    int m_depth = 0;                  // of m_node below the top
    std::vector<QStringView> m_parts; // of the path at hand, kept for its capacity
};

// One block holding ops, ended by its commit line.
QByteArray encodeBlock(const std::vector<HiveOp>& ops, std::uint64_t sequence);
// The header and one block that recreates the whole tree.
QByteArray encodeSnapshot(const KeyNode& top, std::uint64_t sequence);

std::uint32_t crc32(QByteArrayView bytes);

} // namespace orvanex::reg
