#pragma once
// A Windows hive file's bytes read cell by cell, as hivex reads them but without its per-call
// allocations and character-set conversions, and checking each offset and length against the
// cells the bins hold where hivex trusts some of them.
// Offsets are hivex's node and value handles: file offsets of a cell's size field.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvanex::reg::nt {

using Offset = std::size_t;

class HiveImage {
public:
    // Takes a copy of a hive file's bytes and walks its bins for the used cells. False (and
    // empty) when the bins do not walk as hivex walks them when it opens a file.
    bool reset(QByteArray bytes);
    void clear();
    bool isEmpty() const { return m_bytes.isEmpty(); }

    // A used cell starts here and lies whole within its bin.
    bool isCell(Offset at) const;
    // The cell's size in bytes, its size field included (valid for isCell offsets).
    std::size_t cellSize(Offset at) const;
    bool hasId(Offset at, const char (&id)[3]) const;
    // The cell an offset field points to (fields count from the first bin), 0 when none.
    Offset target(std::uint32_t field) const;

    std::uint16_t u16(Offset at) const;
    std::uint32_t u32(Offset at) const;
    const char* bytes(Offset at) const { return m_bytes.constData() + at; }
    Offset root() const { return m_root; }
    std::size_t size() const { return std::size_t(m_bytes.size()); }

private:
    QByteArray m_bytes;
    std::vector<std::uint64_t> m_cells; // one bit per 4 bytes: a used cell starts there
    Offset m_root = 0;
};

enum class NameRead {
    Read,    // *name holds it
    Unusual, // a sound cell whose name needs hivex's conversion (NULs, lone surrogates)
    Broken,  // no sound cell: hivex would read past it
};
// The nk cell's name.
NameRead nodeName(const HiveImage& image, Offset nk, QString* name);
// The vk cell's name, empty for the default value.
NameRead valueName(const HiveImage& image, Offset vk, QString* name);
// The nk cell's subkeys in list order, and the list cells holding them.
bool childList(const HiveImage& image, Offset nk, std::vector<Offset>* children,
               std::vector<Offset>* lists);
// The nk cell's values in list order, and the value list cell (none when there are no values).
bool valueList(const HiveImage& image, Offset nk, std::vector<Offset>* values, Offset* list);
// The vk cell's type and data as hivex reads them: in the vk cell, in one data cell, or put
// together in scratch from a big-data record's segments.
bool valueData(const HiveImage& image, Offset vk, std::uint32_t* type, QByteArrayView* data,
               QByteArray* scratch);

// What hivex freed in memory since the image was taken (it never reuses a freed cell), so that
// the checks below see the hive as hivex has it.
struct CellLedger {
    struct Security {
        std::uint32_t refs, next, prev;
    };
    std::unordered_set<Offset> freed;
    std::unordered_map<Offset, Security> security; // counts and links as changed since
    std::unordered_set<Offset> created;   // keys hivex made since: all their cells are its own
    std::unordered_set<Offset> rewritten; // keys whose values hivex wrote anew since

    // Whether deleting the key at nk (and all below it) is safe: each cell hivex marks unused
    // on the way must be a used cell, freed once, with the security records' counts and links
    // sound. Empty when it is (and the frees are then recorded); else why not.
    QString deleteKey(const HiveImage& image, Offset nk);
    // The same for replacing the key's values (hivex frees the old ones first); the key's
    // values count as hivex's own afterwards.
    QString replaceValues(const HiveImage& image, Offset nk);
    void clear();
};

} // namespace orvanex::reg::nt
