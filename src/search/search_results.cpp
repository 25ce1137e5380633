#include "search/search_results.h"

#include <algorithm>
#include <numeric>

namespace orvanex::search {

SearchResultsModel::SearchResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QString SearchResultsModel::cellText(int row, int column) const {
    if (row < 0 || row >= m_rows.size())
        return QString();
    const ResultRow& r = m_rows[row];
    switch (column) {
    case 0:
        if (r.root >= 0 && r.root < m_roots.size())
            return platform::windowsPathBelow(m_roots[r.root], r.native);
        return r.text;
    case 1:
        return r.empty() ? QString() : FormatSize(r.size);
    case 3:
        if (r.sequence < 0)
            return SortSentinel;
        return r.sequence == 0 ? QString() : QString::number(r.sequence);
    default:
        return QString();
    }
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return QStringLiteral("File Name");
    case 1:
        return QStringLiteral("  Size(Bytes)");
    default:
        return QString();
    }
}

void SearchResultsModel::appendRows(QList<ResultRow> rows) {
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.append(std::move(rows));
    endInsertRows();
}

void SearchResultsModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void SearchResultsModel::rowChanged(int r) {
    Q_EMIT dataChanged(index(r, 0), index(r, 3));
}

void SearchResultsModel::sortRows(int column, Qt::SortOrder order) {
    std::vector<int> perm(size_t(m_rows.size()));
    std::iota(perm.begin(), perm.end(), 0);
    if (column == 3) {
        // Sentinel rows hold the largest number; a blank cell counts as 0.
        auto key = [this](int r) {
            const qint64 s = m_rows[r].sequence;
            return s < 0 ? Q_INT64_C(9999999999) : s;
        };
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
        });
    } else {
        // Keys computed once, as UTF-8 bytes: their byte order is the order of the texts, and a
        // million paths are neither rebuilt for every comparison nor widened to UTF-16.
        std::vector<QByteArray> keys(perm.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            const ResultRow& row = m_rows[qsizetype(i)];
            if (column == 0 && row.root >= 0 && row.root < m_roots.size())
                keys[i] = platform::windowsPathBytesBelow(m_roots[row.root], row.native);
            else
                keys[i] = cellText(int(i), column).toUtf8();
        }
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            const int c = keys[size_t(a)].compare(keys[size_t(b)]);
            return order == Qt::AscendingOrder ? c < 0 : c > 0;
        });
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(perm.size());
    QList<ResultRow> sorted;
    sorted.reserve(m_rows.size());
    for (size_t i = 0; i < perm.size(); ++i) {
        newRowOf[size_t(perm[i])] = int(i);
        sorted.append(std::move(m_rows[perm[i]]));
    }
    m_rows = std::move(sorted);
    // The view's current cell and selection follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRowOf[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SearchResultsModel::MarkEmptySequenceCells() {
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].sequence == 0) {
            m_rows[r].sequence = -1;
            rowChanged(r);
        }
}

void SearchResultsModel::ClearReplacedRow(const QString& newPath, qint64 keepSequence) {
    for (int r = 0; r < m_rows.size(); ++r) {
        ResultRow& row = m_rows[r];
        if (row.sequence == keepSequence || cellText(r, 0) != newPath)
            continue;
        row = ResultRow();
        row.sequence = -1;
        rowChanged(r);
    }
}

} // namespace orvanex::search
