#include "registry/nt_cells.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace orvanex::reg::nt {

namespace {

constexpr Offset FirstBin = 0x1000;
constexpr Offset BinHeader = 0x20;
// hivex's own limits.
constexpr std::uint32_t MaxSubkeys = 70000;
constexpr std::uint32_t MaxValues = 110000;
constexpr std::size_t MaxData = 8000000;
constexpr std::size_t MaxDepth = 512;

// nk fields
constexpr Offset NkFlags = 6, NkParent = 20, NkSubkeyCount = 24, NkSubkeyList = 32,
                 NkValueCount = 40, NkValueList = 44, NkSecurity = 48, NkClass = 52,
                 NkNameLength = 76, NkName = 80;
// vk fields
constexpr Offset VkNameLength = 6, VkDataLength = 8, VkData = 12, VkType = 16, VkFlags = 20,
                 VkName = 24;
// sk fields
constexpr Offset SkNext = 8, SkPrev = 12, SkRefs = 16;

constexpr std::uint32_t InlineData = 0x80000000u;
constexpr std::uint32_t NoCell = 0xffffffffu;

bool plainUnit(char16_t c) {
    return c != 0 && c != 0xfffe && c != 0xffff;
}

// Latin-1 or UTF-16LE as hivex converts it; NULs (hivex's strings end there), unpaired
// surrogates and odd lengths are left to hivex.
bool decodeName(const char* p, std::size_t length, bool latin1, QString* name) {
    if (latin1) {
        for (std::size_t i = 0; i < length; ++i)
            if (p[i] == '\0')
                return false;
        *name = QString::fromLatin1(p, qsizetype(length));
        return true;
    }
    if (length % 2 != 0)
        return false;
    const qsizetype units = qsizetype(length / 2);
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t c = qFromLittleEndian<char16_t>(p + 2 * i);
        if (!plainUnit(c))
            return false;
        out[i] = c;
    }
    for (qsizetype i = 0; i < units; ++i) {
        if (QChar::isHighSurrogate(out[i])) {
            if (i + 1 == units || !QChar::isLowSurrogate(out[i + 1]))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(out[i])) {
            return false;
        }
    }
    *name = std::move(text);
    return true;
}

// Entries of one lf, lh or li list.
bool leafEntries(const HiveImage& image, Offset list, std::size_t limit, bool checkNk,
                 std::vector<Offset>* children) {
    const std::size_t count = image.u16(list + 6);
    const bool li = image.hasId(list, "li");
    const std::size_t stride = li ? 4 : 8;
    if (8 + count * stride > image.cellSize(list))
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const Offset child = image.target(image.u32(list + 8 + i * stride));
        if (checkNk && (!image.isCell(child) || !image.hasId(child, "nk")))
            return false;
        if (children->size() >= limit)
            return false;
        children->push_back(child);
    }
    return true;
}

bool isLeafList(const HiveImage& image, Offset list) {
    return image.hasId(list, "lf") || image.hasId(list, "lh") || image.hasId(list, "li");
}

bool listsOf(const HiveImage& image, Offset nk, std::size_t maxSubkeys, bool checkNk,
             std::vector<Offset>* children, std::vector<Offset>* lists) {
    children->clear();
    lists->clear();
    if (!image.isCell(nk) || !image.hasId(nk, "nk"))
        return false;
    const std::uint32_t count = image.u32(nk + NkSubkeyCount);
    if (count == 0)
        return true;
    if (count > maxSubkeys)
        return false;
    const Offset top = image.target(image.u32(nk + NkSubkeyList));
    if (!image.isCell(top))
        return false;
    lists->push_back(top);
    if (isLeafList(image, top)) {
        if (!leafEntries(image, top, count, checkNk, children))
            return false;
    } else if (image.hasId(top, "ri")) {
        const std::size_t parts = image.u16(top + 6);
        if (8 + parts * 4 > image.cellSize(top))
            return false;
        for (std::size_t i = 0; i < parts; ++i) {
            const Offset part = image.target(image.u32(top + 8 + i * 4));
            if (!image.isCell(part) || !isLeafList(image, part))
                return false;
            lists->push_back(part);
            if (!leafEntries(image, part, count, checkNk, children))
                return false;
        }
    } else {
        return false;
    }
    return children->size() == count;
}

} // namespace

void HiveImage::clear() {
    m_bytes.clear();
    m_cells.clear();
    m_root = 0;
}

bool HiveImage::reset(QByteArray bytes) {
    clear();
    const Offset size = Offset(bytes.size());
    if (size < FirstBin + BinHeader || !bytes.startsWith("regf"))
        return false;
    const auto* base = bytes.constData();
    const Offset root = Offset(qFromLittleEndian<std::uint32_t>(base + 0x24)) + FirstBin;
    const Offset endBins = Offset(qFromLittleEndian<std::uint32_t>(base + 0x28)) + FirstBin;
    std::vector<std::uint64_t> cells((size / 4 + 63) / 64, 0);
    for (Offset bin = FirstBin; bin < size && bin < endBins;) {
        if (std::memcmp(base + bin, "hbin", 4) != 0 || bin + BinHeader > size)
            return false;
        const Offset binSize = qFromLittleEndian<std::uint32_t>(base + bin + 8);
        if (binSize <= BinHeader || (binSize & 0xfff) != 0 || bin + binSize > size ||
            Offset(qFromLittleEndian<std::uint32_t>(base + bin + 4)) + FirstBin != bin)
            return false;
        const Offset end = bin + binSize;
        for (Offset cell = bin + BinHeader; cell < end;) {
            const std::int64_t raw = qFromLittleEndian<std::int32_t>(base + cell);
            const Offset length = Offset(raw < 0 ? -raw : raw);
            if (length <= 4 || (length & 3) != 0)
                return false;
            // A cell running past its bin is not one this reader vouches for.
            if (raw < 0 && cell + length <= end)
                cells[cell / 256] |= std::uint64_t(1) << ((cell / 4) % 64);
            cell += length;
        }
        bin = end;
    }
    m_bytes = std::move(bytes);
    m_cells = std::move(cells);
    m_root = root;
    if (!isCell(root) || !hasId(root, "nk")) {
        clear();
        return false;
    }
    return true;
}

bool HiveImage::isCell(Offset at) const {
    return at >= FirstBin && (at & 3) == 0 && at < Offset(m_bytes.size()) &&
           (m_cells[at / 256] >> ((at / 4) % 64) & 1) != 0;
}

std::size_t HiveImage::cellSize(Offset at) const {
    return std::size_t(-std::int64_t(qFromLittleEndian<std::int32_t>(bytes(at))));
}

bool HiveImage::hasId(Offset at, const char (&id)[3]) const {
    return cellSize(at) >= 6 && bytes(at)[4] == id[0] && bytes(at)[5] == id[1];
}

Offset HiveImage::target(std::uint32_t field) const {
    return Offset(field) + FirstBin;
}

std::uint16_t HiveImage::u16(Offset at) const {
    return qFromLittleEndian<std::uint16_t>(bytes(at));
}

std::uint32_t HiveImage::u32(Offset at) const {
    return qFromLittleEndian<std::uint32_t>(bytes(at));
}

NameRead nodeName(const HiveImage& image, Offset nk, QString* name) {
    if (!image.isCell(nk) || !image.hasId(nk, "nk"))
        return NameRead::Broken;
    const std::size_t length = image.u16(nk + NkNameLength);
    if (NkName + length > image.cellSize(nk))
        return NameRead::Broken;
    return decodeName(image.bytes(nk + NkName), length, (image.u16(nk + NkFlags) & 0x20) != 0, name)
               ? NameRead::Read
               : NameRead::Unusual;
}

NameRead valueName(const HiveImage& image, Offset vk, QString* name) {
    if (!image.isCell(vk) || !image.hasId(vk, "vk"))
        return NameRead::Broken;
    const std::size_t length = image.u16(vk + VkNameLength);
    if (VkName + length > image.cellSize(vk))
        return NameRead::Broken;
    return decodeName(image.bytes(vk + VkName), length, (image.u16(vk + VkFlags) & 1) != 0, name)
               ? NameRead::Read
               : NameRead::Unusual;
}

bool childList(const HiveImage& image, Offset nk, std::vector<Offset>* children,
               std::vector<Offset>* lists) {
    return listsOf(image, nk, MaxSubkeys, true, children, lists);
}

bool valueList(const HiveImage& image, Offset nk, std::vector<Offset>* values, Offset* list) {
    values->clear();
    *list = 0;
    if (!image.isCell(nk) || !image.hasId(nk, "nk"))
        return false;
    const std::uint32_t count = image.u32(nk + NkValueCount);
    if (count == 0)
        return true;
    if (count > MaxValues)
        return false;
    const Offset at = image.target(image.u32(nk + NkValueList));
    if (!image.isCell(at) || 4 + std::size_t(count) * 4 > image.cellSize(at))
        return false;
    values->reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Offset vk = image.target(image.u32(at + 4 + 4 * i));
        if (!image.isCell(vk) || !image.hasId(vk, "vk") || image.cellSize(vk) < VkName)
            return false;
        values->push_back(vk);
    }
    *list = at;
    return true;
}

bool valueData(const HiveImage& image, Offset vk, std::uint32_t* type, QByteArrayView* data,
               QByteArray* scratch) {
    if (!image.isCell(vk) || !image.hasId(vk, "vk") || image.cellSize(vk) < VkName)
        return false;
    *type = image.u32(vk + VkType);
    const std::uint32_t raw = image.u32(vk + VkDataLength);
    const std::size_t length = raw & ~InlineData;
    if (raw & InlineData) {
        if (length > 4)
            return false;
        *data = QByteArrayView(image.bytes(vk + VkData), qsizetype(length));
        return true;
    }
    if (length > MaxData)
        return false;
    const Offset cell = image.target(image.u32(vk + VkData));
    if (!image.isCell(cell))
        return false;
    if (length <= image.cellSize(cell) - 4) {
        *data = QByteArrayView(image.bytes(cell + 4), qsizetype(length));
        return true;
    }
    // Longer data than its cell holds is kept in segments a big-data record lists; each gives
    // all but its last four bytes, as hivex reads them.
    if (!image.hasId(cell, "db") || image.cellSize(cell) < 12)
        return false;
    const std::size_t segments = image.u16(cell + 6);
    const Offset list = image.target(image.u32(cell + 8));
    if (!image.isCell(list) || 4 + segments * 4 > image.cellSize(list))
        return false;
    scratch->resize(0);
    scratch->reserve(qsizetype(length));
    for (std::size_t i = 0; i < segments && std::size_t(scratch->size()) < length; ++i) {
        const Offset part = image.target(image.u32(list + 4 + 4 * i));
        if (!image.isCell(part))
            return false;
        const std::size_t take =
            std::min(image.cellSize(part) - 8, length - std::size_t(scratch->size()));
        scratch->append(image.bytes(part + 4), qsizetype(take));
    }
    *data = QByteArrayView(*scratch);
    return true;
}

namespace {

// Replays the frees of a delete over the image: each cell must be used when its turn comes.
class DeleteReplay {
public:
    DeleteReplay(const HiveImage& image, const CellLedger& ledger)
        : m_image(image), m_ledger(ledger), m_freed(ledger.freed), m_security(ledger.security) {}

    QString run(Offset top);
    QString replaceValues(Offset nk);
    void keepIn(CellLedger* ledger) {
        ledger->freed = std::move(m_freed);
        ledger->security = std::move(m_security);
    }

private:
    using Security = CellLedger::Security;
    bool live(Offset at) const { return m_image.isCell(at) && !m_freed.contains(at); }
    bool free(Offset at, const char* what);
    bool enter(Offset nk, std::vector<Offset>* children);
    bool readable(Offset vk);
    bool leave(Offset nk);
    bool freeValues(Offset nk);
    bool release(Offset sk);
    Security& security(Offset sk);

    const HiveImage& m_image;
    const CellLedger& m_ledger;
    std::unordered_set<Offset> m_freed;
    std::unordered_map<Offset, Security> m_security;
    std::unordered_set<Offset> m_visited;
    QString m_problem;
};

bool DeleteReplay::free(Offset at, const char* what) {
    if (!live(at)) {
        m_problem = QStringLiteral("its %1 at offset 0x%2 is not a cell in use")
                        .arg(QLatin1StringView(what))
                        .arg(at, 0, 16);
        return false;
    }
    m_freed.insert(at);
    return true;
}

DeleteReplay::Security& DeleteReplay::security(Offset sk) {
    auto found = m_security.find(sk);
    if (found == m_security.end())
        found = m_security
                    .emplace(sk, Security{m_image.u32(sk + SkRefs), m_image.u32(sk + SkNext),
                                          m_image.u32(sk + SkPrev)})
                    .first;
    return found->second;
}

// hivex reads each value before it frees it; its reader of big data trusts the lists it follows.
bool DeleteReplay::readable(Offset vk) {
    std::uint32_t type = 0;
    QByteArrayView data;
    QByteArray scratch;
    if (live(vk) && valueData(m_image, vk, &type, &data, &scratch))
        return true;
    m_problem = QStringLiteral("its value at offset 0x%1 cannot be read").arg(vk, 0, 16);
    return false;
}

// What the walk reads before it goes below a key.
bool DeleteReplay::enter(Offset nk, std::vector<Offset>* children) {
    if (!live(nk) || !m_image.hasId(nk, "nk") || !m_visited.insert(nk).second) {
        m_problem = QStringLiteral("a key at offset 0x%1 is not a key record or is reached twice")
                        .arg(nk, 0, 16);
        return false;
    }
    std::vector<Offset> values, lists;
    Offset list = 0;
    if (!valueList(m_image, nk, &values, &list) ||
        !listsOf(m_image, nk, MaxSubkeys, true, children, &lists)) {
        m_problem =
            QStringLiteral("the lists of the key at offset 0x%1 cannot be read").arg(nk, 0, 16);
        return false;
    }
    if (!m_ledger.rewritten.contains(nk))
        for (Offset vk : values)
            if (!readable(vk))
                return false;
    // Subkeys deleted since the image are gone from hivex's lists; keys it made are its own.
    std::erase_if(*children, [&](Offset c) { return m_freed.contains(c); });
    return true;
}

bool DeleteReplay::freeValues(Offset nk) {
    if (m_ledger.rewritten.contains(nk))
        return true; // hivex's own cells now, which the image does not show
    std::vector<Offset> values;
    Offset list = 0;
    if (!valueList(m_image, nk, &values, &list)) {
        m_problem =
            QStringLiteral("the values of the key at offset 0x%1 cannot be read").arg(nk, 0, 16);
        return false;
    }
    if (list && !free(list, "value list"))
        return false;
    for (Offset vk : values) {
        if (!readable(vk))
            return false;
        if (!(m_image.u32(vk + VkDataLength) & InlineData) &&
            !free(m_image.target(m_image.u32(vk + VkData)), "value data"))
            return false;
        if (!free(vk, "value"))
            return false;
    }
    return true;
}

bool DeleteReplay::release(Offset sk) {
    if (!live(sk) || !m_image.hasId(sk, "sk") || m_image.cellSize(sk) < SkRefs + 4) {
        m_problem = QStringLiteral("its security record at offset 0x%1 is not one").arg(sk, 0, 16);
        return false;
    }
    Security& s = security(sk);
    if (s.refs == 0) {
        m_problem = QStringLiteral("its security record at offset 0x%1 is used more often than "
                                   "it counts")
                        .arg(sk, 0, 16);
        return false;
    }
    if (--s.refs > 0)
        return true;
    const Offset prev = m_image.target(s.prev), next = m_image.target(s.next);
    if (prev != sk && next != sk) {
        // The neighbours are written to: they must be security records in use.
        for (Offset n : {prev, next})
            if (!live(n) || !m_image.hasId(n, "sk") || m_image.cellSize(n) < SkRefs + 4) {
                m_problem = QStringLiteral("its security record at offset 0x%1 links to 0x%2, "
                                           "which is not one")
                                .arg(sk, 0, 16)
                                .arg(n, 0, 16);
                return false;
            }
        security(prev).next = s.next;
        security(next).prev = s.prev;
    }
    return free(sk, "security record");
}

// What deleting one key frees once its subkeys are gone.
bool DeleteReplay::leave(Offset nk) {
    std::vector<Offset> children, lists;
    if (!listsOf(m_image, nk, MaxSubkeys, false, &children, &lists)) {
        m_problem = QStringLiteral("the subkey lists of the key at offset 0x%1 cannot be read")
                        .arg(nk, 0, 16);
        return false;
    }
    for (Offset l : lists)
        if (!free(l, "subkey list"))
            return false;
    if (!freeValues(nk))
        return false;
    if (const std::uint32_t sk = m_image.u32(nk + NkSecurity); sk != NoCell)
        if (!release(m_image.target(sk)))
            return false;
    if (const std::uint32_t cl = m_image.u32(nk + NkClass); cl != NoCell)
        if (!free(m_image.target(cl), "class name"))
            return false;
    return free(nk, "key record");
}

QString DeleteReplay::run(Offset top) {
    if (!m_image.isCell(top) || !m_image.hasId(top, "nk") || top == m_image.root())
        return QStringLiteral("it is not a key record below the root");
    // The link in the parent is removed last; hivex finds it only in an lf or lh list.
    const Offset parent = m_image.target(m_image.u32(top + NkParent));
    std::vector<Offset> siblings, lists;
    if (!listsOf(m_image, parent, MaxSubkeys, true, &siblings, &lists))
        return QStringLiteral("its parent's subkey list cannot be read");
    bool linked = false;
    for (Offset l : lists) {
        if (!m_image.hasId(l, "lf") && !m_image.hasId(l, "lh"))
            continue;
        const std::size_t count = m_image.u16(l + 6);
        for (std::size_t i = 0; i < count && !linked; ++i)
            linked = m_image.target(m_image.u32(l + 8 + 8 * i)) == top;
    }
    if (!linked)
        return QStringLiteral("its parent does not list it where it can be removed");
    struct Frame {
        Offset nk;
        std::vector<Offset> children;
        std::size_t next = 0;
    };
    std::vector<Frame> stack(1);
    stack.back().nk = top;
    if (!enter(top, &stack.back().children))
        return m_problem;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next < f.children.size()) {
            // hivex walks a subtree by recursion: a deep one would overflow its stack.
            if (stack.size() >= MaxDepth)
                return QStringLiteral("it reaches deeper than %1 keys").arg(MaxDepth);
            Frame child;
            child.nk = f.children[f.next++];
            if (!enter(child.nk, &child.children))
                return m_problem;
            stack.push_back(std::move(child));
            continue;
        }
        if (!leave(f.nk))
            return m_problem;
        stack.pop_back();
    }
    return {};
}

} // namespace

QString DeleteReplay::replaceValues(Offset nk) {
    if (!live(nk) || !m_image.hasId(nk, "nk"))
        return QStringLiteral("it is not a key record");
    return freeValues(nk) ? QString() : m_problem;
}

QString CellLedger::deleteKey(const HiveImage& image, Offset nk) {
    if (created.contains(nk))
        return {};
    DeleteReplay replay(image, *this);
    QString problem = replay.run(nk);
    if (problem.isEmpty())
        replay.keepIn(this);
    return problem;
}

QString CellLedger::replaceValues(const HiveImage& image, Offset nk) {
    if (created.contains(nk) || rewritten.contains(nk))
        return {};
    DeleteReplay replay(image, *this);
    QString problem = replay.replaceValues(nk);
    if (problem.isEmpty()) {
        replay.keepIn(this);
        rewritten.insert(nk);
    }
    return problem;
}

void CellLedger::clear() {
    freed.clear();
    security.clear();
    created.clear();
    rewritten.clear();
}

} // namespace orvanex::reg::nt
