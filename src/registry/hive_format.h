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
    QString path; // full path from the root name
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
    explicit OpApplier(KeyNode& top) : m_top(top) {}
    bool apply(const HiveOp& op);

private:
    bool applyToKey(const HiveOp& op, KeyNode* node);
    KeyNode* parentFromLast(QStringView path, QStringView* name, int* depth) const;
    KeyNode& m_top;
    KeyNode* m_node = nullptr;
    QString m_path;
    int m_depth = 0;                  // of m_node below the top
    std::vector<QStringView> m_parts; // of the path at hand, kept for its capacity
};

// One block holding ops, ended by its commit line.
QByteArray encodeBlock(const std::vector<HiveOp>& ops, std::uint64_t sequence);
// The header and one block that recreates the whole tree.
QByteArray encodeSnapshot(const KeyNode& top, std::uint64_t sequence);

std::uint32_t crc32(QByteArrayView bytes);

} // namespace orvanex::reg
