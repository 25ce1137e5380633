#include "search/result_sort.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace orvanex::search {

namespace {

// One row during the sort: the key's bytes at the current depth as a big-endian number (so
// numbers compare as the bytes do), how many bytes are left from there (9 meaning "more than
// eight"), and the row, which breaks ties and so keeps equal keys in their order.
struct Entry {
    quint64 chunk;
    quint32 more;
    quint32 row;
};

bool operator<(const Entry& a, const Entry& b) {
    if (a.chunk != b.chunk)
        return a.chunk < b.chunk;
    if (a.more != b.more)
        return a.more < b.more;
    return a.row < b.row;
}

bool sameKeyPart(const Entry& a, const Entry& b) {
    return a.chunk == b.chunk && a.more == b.more;
}

void load(Entry& e, QByteArrayView key, qsizetype depth) {
    const qsizetype left = key.size() - depth;
    const qsizetype n = std::min<qsizetype>(left, 8);
    quint64 chunk = 0;
    for (qsizetype i = 0; i < n; ++i)
        chunk |= quint64(uchar(key[depth + i])) << (56 - 8 * i);
    e.chunk = chunk;
    e.more = quint32(std::min<qsizetype>(left, 9));
}

// The rows in sorted order; equal[i] is true when entry i's key equals entry i - 1's.
std::vector<int> finish(const std::vector<Entry>& entries, const std::vector<bool>& equal,
                        Qt::SortOrder order) {
    std::vector<int> out;
    out.reserve(entries.size());
    if (order == Qt::AscendingOrder) {
        for (const Entry& e : entries)
            out.push_back(int(e.row));
        return out;
    }
    // Descending: the groups of equal keys in reverse, each group still in row order.
    size_t end = entries.size();
    while (end > 0) {
        size_t begin = end - 1;
        while (begin > 0 && equal[begin])
            --begin;
        for (size_t i = begin; i < end; ++i)
            out.push_back(int(entries[i].row));
        end = begin;
    }
    return out;
}

void markEqual(std::vector<bool>& equal, size_t begin, size_t end) {
    for (size_t i = begin + 1; i < end; ++i)
        equal[i] = true;
}

// The data rows in their order, then the rows that hold nothing (the first row of a search,
// emptied rows) in theirs: they are no data and take no place among it.
std::vector<int> blanksLast(std::vector<int> order, const RowView& rows) {
    std::stable_partition(order.begin(), order.end(), [&](int r) { return !rows[r].empty(); });
    return order;
}

} // namespace

void SortKeys::reserve(qsizetype rows, qsizetype bytes) {
    m_start.reserve(size_t(rows) + 1);
    m_bytes.reserve(size_t(bytes));
}

char* SortKeys::appendKey(qsizetype length) {
    const size_t at = m_bytes.size();
    m_bytes.resize(at + size_t(length));
    m_start.push_back(qsizetype(at) + length);
    return m_bytes.data() + at;
}

SortKeys nameKeys(const RowView& rows, const QList<platform::DriveRoot>& roots) {
    // Each root's own part once; the rest of a path is its native bytes below the root.
    QList<QByteArray> prefixes;
    for (const platform::DriveRoot& r : roots)
        prefixes.append(r.windowsRoot.toUtf8());
    SortKeys keys;
    qsizetype total = 0;
    for (const ResultRow& row : rows.rows)
        total += row.native.size() + row.text.size() + 8;
    keys.reserve(rows.size(), total);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const ResultRow& row = rows[r];
        if (row.root < 0 || row.root >= roots.size()) {
            const QByteArray text = row.text.toUtf8();
            std::memcpy(keys.appendKey(text.size()), text.constData(), size_t(text.size()));
            continue;
        }
        const platform::DriveRoot& root = roots[row.root];
        const QByteArray& prefix = prefixes[row.root];
        qsizetype from = root.native == "/" ? 1 : root.native.size();
        while (from < row.native.size() && row.native[from] == '/')
            ++from;
        const qsizetype rest = std::max<qsizetype>(0, row.native.size() - from);
        char* out = keys.appendKey(prefix.size() + rest);
        std::memcpy(out, prefix.constData(), size_t(prefix.size()));
        out += prefix.size();
        // A root outside every drive keeps its native spelling.
        const bool windows = !root.windowsRoot.startsWith(u'/');
        const char* in = row.native.constData() + from;
        for (qsizetype i = 0; i < rest; ++i)
            out[i] = windows && in[i] == '/' ? '\\' : in[i];
    }
    return keys;
}

std::vector<int> stableTextOrder(const SortKeys& keys, Qt::SortOrder order,
                                 const std::atomic_bool* cancel) {
    const size_t n = size_t(keys.size());
    std::vector<Entry> entries(n);
    for (size_t i = 0; i < n; ++i)
        entries[i].row = quint32(i);
    std::vector<bool> equal(n, false);
    struct Range {
        size_t begin, end;
        qsizetype depth;
    };
    // Each range holds rows whose keys agree up to depth, in row order.
    std::vector<Range> pending{{0, n, 0}};
    while (!pending.empty()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        const Range r = pending.back();
        pending.pop_back();
        if (r.end - r.begin < 2)
            continue;
        for (size_t i = r.begin; i < r.end; ++i)
            load(entries[i], keys.key(entries[i].row), r.depth);
        const auto first = entries.begin() + std::ptrdiff_t(r.begin);
        const auto last = entries.begin() + std::ptrdiff_t(r.end);
        // A shared stretch of path (the drive and the folders above) costs no sorting.
        if (!std::all_of(first, last, [&](const Entry& e) { return sameKeyPart(e, *first); }))
            std::sort(first, last);
        for (size_t b = r.begin; b < r.end;) {
            size_t e = b + 1;
            while (e < r.end && sameKeyPart(entries[e], entries[b]))
                ++e;
            if (e - b > 1) {
                if (entries[b].more > 8)
                    pending.push_back({b, e, r.depth + 8});
                else
                    markEqual(equal, b, e);
            }
            b = e;
        }
    }
    return finish(entries, equal, order);
}

std::vector<int> stableNumberOrder(const std::vector<quint64>& keys, Qt::SortOrder order) {
    std::vector<Entry> entries(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        entries[i] = {keys[i], 0, quint32(i)};
    std::sort(entries.begin(), entries.end());
    std::vector<bool> equal(keys.size(), false);
    for (size_t i = 1; i < entries.size(); ++i)
        equal[i] = entries[i].chunk == entries[i - 1].chunk;
    return finish(entries, equal, order);
}

std::vector<int> resultOrder(const RowView& rows, const QList<platform::DriveRoot>& roots,
                             int column, Qt::SortOrder order, const std::atomic_bool* cancel) {
    switch (column) {
    case 0: {
        std::vector<int> sorted = stableTextOrder(nameKeys(rows, roots), order, cancel);
        return sorted.empty() ? sorted : blanksLast(std::move(sorted), rows);
    }
    case 1: {
        // By the number, not by its text: 512 before 1,024.
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        std::vector<quint64> sizes;
        sizes.reserve(size_t(rows.size()));
        for (qsizetype r = 0; r < rows.size(); ++r)
            sizes.push_back(quint64(std::max<qint64>(0, rows[r].size)));
        return blanksLast(stableNumberOrder(sizes, order), rows);
    }
    case 3: {
        // The sentinel rows hold the largest number; a blank cell counts as 0.
        std::vector<quint64> keys;
        keys.reserve(size_t(rows.size()));
        for (qsizetype r = 0; r < rows.size(); ++r)
            keys.push_back(rows[r].sequence < 0 ? Q_UINT64_C(9999999999)
                                                : quint64(rows[r].sequence));
        return stableNumberOrder(keys, order);
    }
    default: {
        std::vector<int> same(size_t(rows.size()));
        std::iota(same.begin(), same.end(), 0);
        return same;
    }
    }
}

} // namespace orvanex::search
