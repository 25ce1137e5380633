#pragma once
// The backup files grid as a model of row records: sorts, emptied rows and lookups are model
// operations; cell texts come from the records.

#include "backup/backup_list.h"

#include <QAbstractTableModel>

namespace orvanex::backup {

class BackupTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRows(QList<BackupRow> rows);
    const QList<BackupRow>& rows() const { return m_rows; }
    const BackupRow& row(int r) const { return m_rows[r]; }
    // Text order of one column (case significant); equal keys keep their order.
    void sortByColumn(int column, bool ascending);
    // Columns 0 to 4 emptied, the number set to the empty-row key, then numeric order of the
    // number column, which moves the row to the end.
    void emptyRow(int r);
    void setType(int r, const QString& type);
    int findFile(const QString& file) const; // -1 when absent

private:
    QList<BackupRow> m_rows;
};

} // namespace orvanex::backup
