#pragma once
// The header sorts of the results grid. A million paths are sorted in well under a second: each
// key is written once into one block of bytes, and the sort compares eight bytes at a time as one
// number, going deeper only among the keys that still tie.

#include "platform/drives.h"
#include "search/search_results.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <atomic>
#include <vector>

namespace orvanex::search {

// Every row's key, back to back.
class SortKeys {
public:
    void reserve(qsizetype rows, qsizetype bytes);
    // Room for the next key of length bytes, to be filled by the caller.
    char* appendKey(qsizetype length);
    qsizetype size() const { return qsizetype(m_start.size()) - 1; }
    QByteArrayView key(qsizetype i) const {
        return QByteArrayView(m_bytes.data() + m_start[size_t(i)],
                              m_start[size_t(i) + 1] - m_start[size_t(i)]);
    }

private:
    std::vector<char> m_bytes;
    std::vector<qsizetype> m_start{0};
};

// Column 0 as the grid shows it (the Windows path, as UTF-8).
SortKeys nameKeys(const RowView& rows, const QList<platform::DriveRoot>& roots);

// The rows in their new order (entry i is the old index of new row i). Equal keys keep their
// order in both directions. An empty result means that cancel was set.
std::vector<int> stableTextOrder(const SortKeys& keys, Qt::SortOrder order,
                                 const std::atomic_bool* cancel = nullptr);
std::vector<int> stableNumberOrder(const std::vector<quint64>& keys, Qt::SortOrder order);

// The order of a header sort: 0 as text, case-sensitive, and 1 by the size's number, both with the
// rows that hold nothing last in either direction; 3 by sequence number, the sentinel rows last.
std::vector<int> resultOrder(const RowView& rows, const QList<platform::DriveRoot>& roots,
                             int column, Qt::SortOrder order,
                             const std::atomic_bool* cancel = nullptr);

} // namespace orvanex::search
