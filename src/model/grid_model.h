#pragma once
// A grid's data: a table model over a list of row records. Cell texts are computed from the
// record when a view asks, so filling a grid costs one change notice however many rows it has,
// and a grid of a million rows costs only its records. The operations the windows use (add,
// remove, set a cell, sort as text or as a number, find) keep the views' selection on its rows.

#include "model/grid_sort.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QStringList>

#include <functional>

namespace orvanex::model {

enum class SortAs { Text, Number };

struct GridHeader {
    QString text; // without its alignment mark, blanks kept (they set the column's width)
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
// "|"-separated headers, one column each (a trailing "|" adds a column with no header): a
// leading "<" aligns left, "^" centres, ">" aligns right.
QList<GridHeader> parseGridFormat(const QString& format);

// What every grid model shares, whatever its record: headers, padding rows, text access, the
// sort and the change notices.
class GridModelBase : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModelBase(int columns, QObject* parent);

    // Header texts and alignments from a format string; a column's cells take its alignment.
    void setFormat(const QString& format);
    const QList<GridHeader>& headers() const { return m_headers; }

    // Blank rows kept below the records until the grid has at least `rows` rows, so that a
    // click below the last record finds an empty row rather than nothing.
    void setMinimumRows(int rows);
    virtual int recordCount() const = 0;
    bool isRecordRow(int row) const { return row >= 0 && row < recordCount(); }

    // A cell's text; "" for blank rows and cells outside the grid.
    QString text(int row, int column) const;
    QStringList columnTexts(int column) const; // the records' cells, in grid order
    // The first record row at or after `from` whose cell text equals text; -1 when none.
    int findText(int column, const QString& text, int from = 0) const;

    // Stable sort of the records (blank rows stay below them) by a column's texts: as text, case
    // significant, or by their leading numbers. Selected and current rows move with their
    // records.
    void sortBy(int column, SortAs as, Qt::SortOrder order);
    // The column's own way (set by its description).
    void sort(int column, Qt::SortOrder order) override;
    virtual SortAs sortAs(int column) const = 0;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

protected:
    virtual QString cellText(int row, int column) const = 0;
    virtual QColor cellColour(int row, int column) const = 0; // invalid: the view's own
    virtual double cellNumber(int row, int column) const {
        return leadingNumber(cellText(row, column));
    }
    virtual void reorder(const std::vector<qsizetype>& order) = 0;
    virtual void eraseRecords(int row, int count) = 0;

    // Change notices around the subclasses' edits of their records; they keep the padding.
    void beginRecordInsert(int row);
    void endRecordInsert();
    void beginRecordsReset() { beginResetModel(); }
    void endRecordsReset();
    void recordChanged(int row);

private:
    void padTo();

    int m_columns;
    int m_minimumRows = 0;
    int m_padding = 0; // blank rows shown now
    QList<GridHeader> m_headers;
};

// How one column shows a record.
template <typename Row> struct GridColumn {
    using Text = std::function<QString(const Row&)>;
    using Colour = std::function<QColor(const Row&)>;         // none: the view's text colour
    using Setter = std::function<void(Row&, const QString&)>; // none: setCell refuses it
    GridColumn(Text t, SortAs s = SortAs::Text, Colour c = nullptr, Setter w = nullptr)
        : text(std::move(t)), sortAs(s), colour(std::move(c)), set(std::move(w)) {}
    Text text;
    SortAs sortAs;
    Colour colour;
    Setter set;
};

template <typename Row> class GridModel : public GridModelBase {
public:
    explicit GridModel(QList<GridColumn<Row>> columns, QObject* parent = nullptr)
        : GridModelBase(static_cast<int>(columns.size()), parent), m_columns(std::move(columns)) {}

    int recordCount() const override { return static_cast<int>(m_rows.size()); }
    const QList<Row>& records() const { return m_rows; }
    const Row& record(int row) const { return m_rows.at(row); }

    // Replaces every record with one change notice.
    void setRecords(QList<Row> rows) {
        beginRecordsReset();
        m_rows = std::move(rows);
        endRecordsReset();
    }
    void clearRecords() { setRecords({}); }
    // Inserts before `row` (clamped to the records); returns the record's row.
    int insertRecord(int row, Row record) {
        row = std::clamp(row, 0, recordCount());
        beginRecordInsert(row);
        m_rows.insert(row, std::move(record));
        endRecordInsert();
        return row;
    }
    int addRecord(Row record) { return insertRecord(recordCount(), std::move(record)); }
    bool removeRecord(int row) { return removeRows(row, 1); }
    bool setRecord(int row, Row record) {
        if (!isRecordRow(row))
            return false;
        m_rows[row] = std::move(record);
        recordChanged(row);
        return true;
    }
    // Through the column's setter; false for blank rows and columns that have none.
    bool setCell(int row, int column, const QString& text) {
        if (!isRecordRow(row) || column < 0 || column >= m_columns.size() || !m_columns[column].set)
            return false;
        m_columns[column].set(m_rows[row], text);
        recordChanged(row);
        return true;
    }
    // The first record row at or after `from` that matches; -1 when none.
    template <typename Pred> int findRecord(Pred matches, int from = 0) const {
        for (int r = std::max(from, 0); r < recordCount(); ++r)
            if (matches(m_rows[r]))
                return r;
        return -1;
    }

    SortAs sortAs(int column) const override {
        return column >= 0 && column < m_columns.size() ? m_columns[column].sortAs : SortAs::Text;
    }

protected:
    QString cellText(int row, int column) const override {
        return m_columns[column].text(m_rows[row]);
    }
    QColor cellColour(int row, int column) const override {
        const auto& colour = m_columns[column].colour;
        return colour ? colour(m_rows[row]) : QColor();
    }
    void reorder(const std::vector<qsizetype>& order) override { applyOrder(m_rows, order); }
    void eraseRecords(int row, int count) override { m_rows.remove(row, count); }

private:
    QList<GridColumn<Row>> m_columns;
    QList<Row> m_rows;
};

} // namespace orvanex::model
