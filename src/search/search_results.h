#pragma once
// The results grid's model: one record per found file, cell texts computed on demand, so a million
// rows cost memory for their paths only and the view asks for the rows it shows.

#include "platform/drives.h"
#include "search/file_operations.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace orvanex::search {

inline const QString SortSentinel = QStringLiteral("9999999999");

struct ResultRow {
    QByteArray native;   // the file's native path (empty for an emptied row)
    int root = -1;       // index into the model's roots; -1: text is the path
    bool marked = false; // holds the embedded text: name and size shown red
    QString text;        // the path when root is -1 (a copy's or a move's new name)
    qint64 size = 0;
    qint64 sequence = 0; // SequenceNumber; 0 shows as empty, -1 as SortSentinel
    bool empty() const { return native.isEmpty() && text.isEmpty(); }
};

// The rows in grid order: kept in the order they were found and shown through a list of their
// places, so that a sort of a million rows moves numbers, not rows.
struct RowView {
    QList<ResultRow> rows;
    std::vector<int> order; // grid row -> index in rows

    static RowView of(QList<ResultRow> rows);
    qsizetype size() const { return qsizetype(order.size()); }
    const ResultRow& operator[](qsizetype r) const { return rows[order[size_t(r)]]; }
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

    // Column texts as the grid shows them (0 path, 1 size "###,##0", 2 "found" for a row marked
    // by the embedded-text search, 3 sequence).
    QString cellText(int row, int column) const;
    QString path(int row) const { return cellText(row, 0); }
    const ResultRow& row(int r) const { return m_view[r]; }
    ResultRow& rowRef(int r) { return m_view.rows[m_view.order[size_t(r)]]; }
    void rowChanged(int r);

    // Column 3 numerically ascending (sentinel rows last); 0 as text, 1 by the size's number.
    void sortRows(int column, Qt::SortOrder order);
    // Puts the rows in the order computed for them (entry i: the old grid row of new row i); the
    // view's current cell and selection follow their rows. False when the order does not fit.
    bool applyOrder(const std::vector<int>& order);
    // The rows as they stand, for a sort on another thread (the rows shared, not copied).
    RowView snapshot() const { return m_view; }
    void markRow(int r);
    // The files the rows list and their bytes, as the counters show them.
    struct Totals {
        qint64 files = 0;
        double bytes = 0;
    };
    Totals totals() const;
    // Column 3 of every row that holds nothing becomes the sentinel.
    void MarkEmptySequenceCells();
    // Rows other than the one with keepSequence that list newPath are emptied.
    void ClearReplacedRow(const QString& newPath, qint64 keepSequence);

private:
    QList<platform::DriveRoot> m_roots;
    RowView m_view;
};

} // namespace orvanex::search
