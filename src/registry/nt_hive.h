#pragma once
// One Windows hive file (SOFTWARE, UsrClass.dat) read and written through hivex: the checks that
// keep a hive Windows has not finished with from being written, the walk into the key tree, the
// value data between the hive's UTF-16 and the store's UTF-8, and the commit that replaces the
// file whole or not at all.

#include "registry/key_node.h"
#include "registry/nt_cells.h"
#include "registry/registry.h"
#include "registry/wine_prefix.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>

struct hive_h; // hivex's handle

namespace orvanex::reg::nt {

// What the hive's base block says about the file, read before hivex sees it.
struct HeaderState {
    QString problem;    // why the file cannot be used at all; empty when it can
    bool dirty = false; // the two sequence numbers differ: the logs hold unapplied changes
    std::uint32_t sequence1 = 0, sequence2 = 0;
};
// header: the file's first bytes (4 KiB is enough); fileSize: the file's whole size.
HeaderState checkHeader(const QByteArray& header, std::int64_t fileSize);

// Value data as the store keeps it. REG_SZ: UTF-16 read as Windows' ANSI API reads it, one
// terminating NUL dropped (the store keeps REG_SZ without one); REG_EXPAND_SZ and REG_MULTI_SZ:
// every unit, terminators included. Other types: the bytes as they are.
QByteArray decodeValue(std::uint32_t type, const char* data, std::size_t size);
// The inverse, for writing: REG_SZ gets its terminator back.
QByteArray encodeValue(std::uint32_t type, const QByteArray& stored);

// A hive file opened through hivex, with the key tree it was read into.
class NtHive {
public:
    NtHive() = default;
    ~NtHive();
    NtHive(const NtHive&) = delete;
    NtHive& operator=(const NtHive&) = delete;

    // Checks and opens path (a symbolic link is followed once, here); writable says whether
    // hivex may change it in memory. False with why when the file cannot be read at all.
    // hivex maps the file for reading; its own copy for changes is made at the first change.
    bool open(const QString& path, bool writable, QString* why);
    bool isOpen() const { return m_hive != nullptr; }
    const HeaderState& header() const { return m_header; }
    QString path() const { return m_path; }

    // Reads the whole hive below root (its values and subkeys; root's own name is kept).
    // Loops and depth past Windows' limit are cut off.
    void load(KeyNode& root);
    // Maps the nodes of a tree already holding this hive (after it was read again elsewhere).
    void mapTree(KeyNode& root);
    // Whether the last walk met parts hivex could not read (they are missing from the tree).
    bool incomplete() const { return m_incomplete; }

    // Changes, in memory until commit(). False with why on failure.
    bool addChild(KeyNode* parent, KeyNode* child, QString* why);
    bool setValue(const KeyNode* node, const StoredValue& value, QString* why);
    bool deleteValue(const KeyNode* node, const QString& name, QString* why);
    bool deleteKey(KeyNode* node, QString* why);
    bool holds(const KeyNode* node) const { return m_nodes.contains(node); }

    // Whether the file is still the one that was read.
    bool unchangedOnDisk() const;
    // Writes the hive to a file beside it, flushed, given the old file's mode and owner, and
    // renamed over it; the old file stays whole on any failure.
    bool commit(QString* why);

private:
    void close();
    void forget(const KeyNode* node);
    void walk(KeyNode& root, bool build);
    // Maps the file as the cells the checks and the fast walk go by.
    void takeImage();
    void readValues(KeyNode* node, std::size_t hiveNode);
    bool readChildren(std::size_t hiveNode, std::vector<std::size_t>* children,
                      std::vector<QString>* names);
    // Why hivex must not change the key's cells (it asserts on cells that are not in use).
    QString unsafeChange(const KeyNode* node, std::size_t hiveNode, bool wholeKey);
    // Opens hivex again for writing when the hive may be written and the file is still the one
    // read; false with why otherwise. A read-only hive keeps its handle, which hivex refuses.
    bool writeHandle(QString* why);
    // The hive node of a key about to change, with hivex ready to write, after the checks its
    // cells need (none for a key that only gains a child, its own for its values, its whole
    // subtree's for deleting it); false with why otherwise.
    enum class Cells { Unchecked, Values, Whole };
    bool prepareChange(const KeyNode* node, Cells cells, std::size_t* at, QString* why);

    hive_h* m_hive = nullptr;
    bool m_writable = false;     // whether changes were asked for at open()
    bool m_hiveWritable = false; // whether m_hive was opened for them
    QString m_path;
    HeaderState m_header;
    wine::FileStamp m_stamp;
    QHash<const KeyNode*, std::size_t> m_nodes; // key to hive node offset
    bool m_incomplete = false;
    QFile m_mapping;                    // the file m_image maps
    HiveImage m_image;                  // the file as hivex read it; empty when that is not known
    CellLedger m_ledger;                // what hivex changed in memory since
    std::vector<std::size_t> m_offsets; // scratch lists of the walk
    std::vector<std::size_t> m_lists;
    QByteArray m_scratch;
};

} // namespace orvanex::reg::nt
