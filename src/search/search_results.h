#pragma once
// The results grid's model: one record per found file, cell texts computed on demand, so a million
// rows cost memory for their paths only and the view asks for the rows it shows.

#include "platform/drives.h"
#include "search/file_operations.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>

namespace orvanex::search {

inline const QString SortSentinel = QStringLiteral("9999999999");

struct ResultRow {
    QByteArray native; // the file's native path (empty for an emptied row)
    int root = -1;     // index into the model's roots; -1: text is the path
    QString text;      // the path when root is -1 (a copy's or a move's new name)
    qint64 size = 0;
    qint64 sequence = 0; // SequenceNumber; 0 shows as empty, -1 as SortSentinel
    bool empty() const { return native.isEmpty() && text.isEmpty(); }
};

} // namespace orvanex::search

// Rows move by memcpy when a million of them grow the list.
Q_DECLARE_TYPEINFO(orvanex::search::ResultRow, Q_RELOCATABLE_TYPE);

namespace orvanex::search {

class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRoots(QList<platform::DriveRoot> roots) { m_roots = std::move(roots); }
    const QList<platform::DriveRoot>& roots() const { return m_roots; }
    // Appends found rows with one change notice for the batch.
    void appendRows(QList<ResultRow> rows);
    void clear();

    // Column texts as the grid shows them (0 path, 1 size "###,##0", 2 empty, 3 sequence).
    QString cellText(int row, int column) const;
    QString path(int row) const { return cellText(row, 0); }
    const ResultRow& row(int r) const { return m_rows[r]; }
    ResultRow& rowRef(int r) { return m_rows[r]; }
    void rowChanged(int r);

    // Column 3 numerically ascending (sentinel rows last); 0 and 1 as text.
    void sortRows(int column, Qt::SortOrder order);
    // Column 3 of every row that holds nothing becomes the sentinel.
    void MarkEmptySequenceCells();
    // Rows other than the one with keepSequence that list newPath are emptied.
    void ClearReplacedRow(const QString& newPath, qint64 keepSequence);

private:
    QList<platform::DriveRoot> m_roots;
    QList<ResultRow> m_rows;
};

} // namespace orvanex::search
