#include "search/search_results.h"

#include "search/result_sort.h"

#include <QColor>
#include <numeric>

namespace orvanex::search {

RowView RowView::of(QList<ResultRow> rows) {
    RowView view;
    view.order.resize(size_t(rows.size()));
    std::iota(view.order.begin(), view.order.end(), 0);
    view.rows = std::move(rows);
    return view;
}

SearchResultsModel::SearchResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_view.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QString SearchResultsModel::cellText(int row, int column) const {
    if (row < 0 || row >= m_view.size())
        return QString();
    const ResultRow& r = m_view[row];
    switch (column) {
    case 0:
        if (r.root >= 0 && r.root < m_roots.size())
            return platform::windowsPathBelow(m_roots[r.root], r.native);
        return r.text;
    case 1:
        return r.empty() ? QString() : FormatSize(r.size);
    case 2:
        return r.marked ? QStringLiteral("found") : QString();
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
    if (role == Qt::ForegroundRole && index.column() <= 1 && m_view[index.row()].marked)
        return QColor(Qt::red);
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
    case 2:
        return QStringLiteral("Embedded Text");
    default:
        return QString();
    }
}

void SearchResultsModel::appendRows(QList<ResultRow> rows) {
    if (rows.isEmpty())
        return;
    const int first = int(m_view.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    for (qsizetype i = 0; i < rows.size(); ++i)
        m_view.order.push_back(int(m_view.rows.size() + i));
    m_view.rows.append(std::move(rows));
    endInsertRows();
}

void SearchResultsModel::clear() {
    beginResetModel();
    m_view = RowView();
    endResetModel();
}

void SearchResultsModel::rowChanged(int r) {
    Q_EMIT dataChanged(index(r, 0), index(r, 3));
}

void SearchResultsModel::sortRows(int column, Qt::SortOrder order) {
    applyOrder(resultOrder(m_view, m_roots, column, order));
}

bool SearchResultsModel::applyOrder(const std::vector<int>& order) {
    if (qsizetype(order.size()) != m_view.size())
        return false;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> places(order.size());
    std::vector<int> newRowOf(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        places[i] = m_view.order[size_t(order[i])];
        newRowOf[size_t(order[i])] = int(i);
    }
    m_view.order = std::move(places);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRowOf[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return true;
}

void SearchResultsModel::markRow(int r) {
    if (r < 0 || r >= m_view.size() || row(r).marked)
        return;
    rowRef(r).marked = true;
    Q_EMIT dataChanged(index(r, 0), index(r, 2), {Qt::ForegroundRole, Qt::DisplayRole});
}

SearchResultsModel::Totals SearchResultsModel::totals() const {
    Totals t;
    for (const ResultRow& r : m_view.rows)
        if (!r.empty()) {
            ++t.files;
            t.bytes += double(r.size);
        }
    return t;
}

void SearchResultsModel::MarkEmptySequenceCells() {
    for (int r = 0; r < m_view.size(); ++r)
        if (row(r).sequence == 0) {
            rowRef(r).sequence = -1;
            rowChanged(r);
        }
}

void SearchResultsModel::ClearReplacedRow(const QString& newPath, qint64 keepSequence) {
    for (int r = 0; r < m_view.size(); ++r) {
        if (row(r).sequence == keepSequence || cellText(r, 0) != newPath)
            continue;
        ResultRow& emptied = rowRef(r);
        emptied = ResultRow();
        emptied.sequence = -1;
        rowChanged(r);
    }
}

} // namespace orvanex::search
