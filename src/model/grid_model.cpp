#include "model/grid_model.h"

#include <QBrush>

namespace orvanex::model {

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool point = false;
    while (i < n && (text[i].isDigit() || (text[i] == u'.' && !point))) {
        point = point || text[i] == u'.';
        ++i;
    }
    bool ok = false;
    const double value = QStringView(text).sliced(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

QList<GridHeader> parseGridFormat(const QString& format) {
    QList<GridHeader> headers;
    for (const QString& part : format.split(u'|')) {
        GridHeader h{part, Qt::AlignLeft | Qt::AlignVCenter};
        if (!part.isEmpty() && (part[0] == u'<' || part[0] == u'^' || part[0] == u'>')) {
            if (part[0] == u'^')
                h.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
            else if (part[0] == u'>')
                h.alignment = Qt::AlignRight | Qt::AlignVCenter;
            h.text.remove(0, 1);
        }
        headers.append(h);
    }
    return headers;
}

GridModelBase::GridModelBase(int columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns), m_headers(columns) {}

void GridModelBase::setFormat(const QString& format) {
    QList<GridHeader> headers = parseGridFormat(format);
    headers.resize(m_columns);
    m_headers = std::move(headers);
    if (m_columns == 0)
        return;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1),
                           {Qt::TextAlignmentRole});
}

void GridModelBase::setMinimumRows(int rows) {
    m_minimumRows = std::max(rows, 0);
    padTo();
}

void GridModelBase::padTo() {
    const int records = recordCount();
    const int want = std::max(0, m_minimumRows - records);
    if (want > m_padding) {
        beginInsertRows(QModelIndex(), records + m_padding, records + want - 1);
        m_padding = want;
        endInsertRows();
    } else if (want < m_padding) {
        beginRemoveRows(QModelIndex(), records + want, records + m_padding - 1);
        m_padding = want;
        endRemoveRows();
    }
}

QString GridModelBase::text(int row, int column) const {
    if (!isRecordRow(row) || column < 0 || column >= m_columns)
        return QString();
    return cellText(row, column);
}

QStringList GridModelBase::columnTexts(int column) const {
    QStringList texts;
    if (column < 0 || column >= m_columns)
        return texts;
    texts.reserve(recordCount());
    for (int r = 0; r < recordCount(); ++r)
        texts.append(cellText(r, column));
    return texts;
}

int GridModelBase::findText(int column, const QString& text, int from) const {
    if (column < 0 || column >= m_columns)
        return -1;
    for (int r = std::max(from, 0); r < recordCount(); ++r)
        if (cellText(r, column) == text)
            return r;
    return -1;
}

void GridModelBase::sortBy(int column, SortAs as, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns)
        return;
    const int n = storedCount();
    const int shown = recordCount();
    const bool ascending = order == Qt::AscendingOrder;
    std::vector<qsizetype> sorted;
    if (as == SortAs::Text) {
        std::vector<QString> keys;
        keys.reserve(size_t(n));
        for (int r = 0; r < n; ++r)
            keys.push_back(storedText(r, column));
        sorted = stableOrder(keys, ascending);
    } else {
        std::vector<double> keys;
        keys.reserve(size_t(n));
        for (int r = 0; r < n; ++r)
            keys.push_back(storedNumber(r, column));
        sorted = stableOrder(keys, ascending);
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> newRow = reorder(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& p : from)
        to.append(p.row() < shown ? index(newRow[size_t(p.row())], p.column()) : p);
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModelBase::sort(int column, Qt::SortOrder order) {
    sortBy(column, sortAs(column), order);
}

int GridModelBase::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : recordCount() + m_padding;
}

int GridModelBase::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant GridModelBase::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return isRecordRow(index.row()) ? cellText(index.row(), index.column()) : QString();
    case Qt::TextAlignmentRole:
        return int(m_headers[index.column()].alignment);
    case Qt::ForegroundRole: {
        if (!isRecordRow(index.row()))
            return QVariant();
        const QColor colour = cellColour(index.row(), index.column());
        return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant GridModelBase::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers[section].text;
    if (role == Qt::TextAlignmentRole)
        return int(m_headers[section].alignment);
    return QVariant();
}

bool GridModelBase::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count < 1 || row < 0 || row + count > recordCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    eraseRecords(row, count);
    endRemoveRows();
    padTo();
    return true;
}

void GridModelBase::beginRecordInsert(int row) {
    beginInsertRows(QModelIndex(), row, row);
}

void GridModelBase::endRecordInsert() {
    endInsertRows();
    padTo();
}

void GridModelBase::endRecordsReset() {
    m_padding = std::max(0, m_minimumRows - recordCount());
    endResetModel();
}

void GridModelBase::recordChanged(int row) {
    Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1));
}

} // namespace orvanex::model
