#include "backup/backup_table_model.h"

#include <algorithm>

namespace orvanex::backup {

namespace {

// The widths of the headings' blanks, as the grid's format string gives them.
const char* const kHeadings[kBackupColumns] = {
    "Backup File", "Type", "Date / Time", "File Type", "File Extension(s)", ""};

QString cellOf(const BackupRow& row, int column) {
    switch (column) {
    case 0:
        return row.file;
    case 1:
        return row.type;
    case 2:
        return row.dateTime;
    case 3:
        return row.fileType;
    case 4:
        return row.fileExt;
    default:
        return row.number;
    }
}

} // namespace

int BackupTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BackupTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBackupColumns;
}

QVariant BackupTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return cellOf(m_rows[index.row()], index.column());
    if (role == Qt::TextAlignmentRole)
        return int((index.column() <= 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

QVariant BackupTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kBackupColumns)
        return QString::fromLatin1(kHeadings[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void BackupTableModel::setRows(QList<BackupRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void BackupTableModel::sortByColumn(int column, bool ascending) {
    Q_EMIT layoutAboutToBeChanged();
    std::stable_sort(
        m_rows.begin(), m_rows.end(), [column, ascending](const BackupRow& a, const BackupRow& b) {
            const int c = QString::compare(cellOf(a, column), cellOf(b, column), Qt::CaseSensitive);
            return ascending ? c < 0 : c > 0;
        });
    Q_EMIT layoutChanged();
}

void BackupTableModel::emptyRow(int r) {
    if (r < 0 || r >= m_rows.size())
        return;
    BackupRow& row = m_rows[r];
    row = BackupRow{};
    row.number = kEmptyRowKey;
    Q_EMIT layoutAboutToBeChanged();
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const BackupRow& a, const BackupRow& b) {
        return a.number.toLongLong() < b.number.toLongLong();
    });
    Q_EMIT layoutChanged();
}

void BackupTableModel::setType(int r, const QString& type) {
    if (r < 0 || r >= m_rows.size())
        return;
    m_rows[r].type = type;
    Q_EMIT dataChanged(index(r, 1), index(r, 1));
}

int BackupTableModel::findFile(const QString& file) const {
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].file == file)
            return r;
    return -1;
}

} // namespace orvanex::backup
