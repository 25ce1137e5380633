#pragma once
// A grid's data: a table model over a list of row records. Cell texts are computed from the
// record when a view asks, so filling a grid costs one change notice however many rows it has,
// and a grid of a million rows costs only its records. The operations the windows use (add,
// remove, set a cell, sort as text or as a number, find) keep the views' selection on its rows.
// A filter hides records: rows are then the records shown, and every operation but records()
// and setRecords() works on them.

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
    // Every record, those a filter hides too: a sort orders them all, so that clearing the
    // filter shows a sorted list.
    virtual int storedCount() const = 0;
    virtual QString storedText(int index, int column) const = 0;
    virtual double storedNumber(int index, int column) const {
        return leadingNumber(storedText(index, column));
    }
    // Puts the stored records in order; returns, for each row shown before, its row after.
    virtual std::vector<int> reorder(const std::vector<qsizetype>& order) = 0;
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

    // The rows shown (every record unless a filter hides some).
    int recordCount() const override {
        return static_cast<int>(m_filtered ? m_shown.size() : size_t(m_rows.size()));
    }
    // Every record, hidden ones too, in the grid's order.
    const QList<Row>& records() const { return m_rows; }
    const Row& record(int row) const { return m_rows.at(stored(row)); }

    // Replaces every record with one change notice; a filter in force applies to the new ones.
    void setRecords(QList<Row> rows) {
        beginRecordsReset();
        m_rows = std::move(rows);
        if (m_filtered)
            m_shown = matching(false);
        endRecordsReset();
    }
    void clearRecords() { setRecords({}); }
    // Shows only the records keep() accepts, or all of them when keep is null. narrowing: the
    // new rule accepts no record the last one hid (the filter text grew), so only the rows shown
    // are tested.
    void setFilter(std::function<bool(const Row&)> keep, bool narrowing = false) {
        beginRecordsReset();
        const bool wasFiltered = m_filtered;
        m_keep = std::move(keep);
        m_filtered = bool(m_keep);
        m_shown = m_filtered ? matching(narrowing && wasFiltered) : std::vector<int>();
        endRecordsReset();
    }
    bool isFiltered() const { return m_filtered; }

    // Inserts before `row` (clamped to the rows); returns the record's row. A new record is
    // shown whatever the filter says, so that what was just added can be seen.
    int insertRecord(int row, Row record) {
        row = std::clamp(row, 0, recordCount());
        beginRecordInsert(row);
        if (!m_filtered) {
            m_rows.insert(row, std::move(record));
        } else {
            const int at = row < recordCount()
                               ? m_shown[size_t(row)]
                               : (m_shown.empty() ? int(m_rows.size()) : m_shown.back() + 1);
            m_rows.insert(at, std::move(record));
            for (int& s : m_shown)
                if (s >= at)
                    ++s;
            m_shown.insert(m_shown.begin() + row, at);
        }
        endRecordInsert();
        return row;
    }
    int addRecord(Row record) { return insertRecord(recordCount(), std::move(record)); }
    bool removeRecord(int row) { return removeRows(row, 1); }
    bool setRecord(int row, Row record) {
        if (!isRecordRow(row))
            return false;
        m_rows[stored(row)] = std::move(record);
        recordChanged(row);
        return true;
    }
    // Through the column's setter; false for blank rows and columns that have none.
    bool setCell(int row, int column, const QString& text) {
        if (!isRecordRow(row) || column < 0 || column >= m_columns.size() || !m_columns[column].set)
            return false;
        m_columns[column].set(m_rows[stored(row)], text);
        recordChanged(row);
        return true;
    }
    // The first row at or after `from` that matches; -1 when none.
    template <typename Pred> int findRecord(Pred matches, int from = 0) const {
        for (int r = std::max(from, 0); r < recordCount(); ++r)
            if (matches(m_rows[stored(r)]))
                return r;
        return -1;
    }

    SortAs sortAs(int column) const override {
        return column >= 0 && column < m_columns.size() ? m_columns[column].sortAs : SortAs::Text;
    }

protected:
    QString cellText(int row, int column) const override {
        return m_columns[column].text(m_rows[stored(row)]);
    }
    QColor cellColour(int row, int column) const override {
        const auto& colour = m_columns[column].colour;
        return colour ? colour(m_rows[stored(row)]) : QColor();
    }
    int storedCount() const override { return static_cast<int>(m_rows.size()); }
    QString storedText(int index, int column) const override {
        return m_columns[column].text(m_rows[index]);
    }
    std::vector<int> reorder(const std::vector<qsizetype>& order) override {
        std::vector<int> place(order.size()); // a stored record's index after the sort
        for (size_t k = 0; k < order.size(); ++k)
            place[size_t(order[k])] = int(k);
        applyOrder(m_rows, order);
        if (!m_filtered)
            return place;
        // The shown records keep being shown, in their new order.
        std::vector<int> rank(order.size(), -1);
        for (int s : m_shown)
            rank[size_t(place[size_t(s)])] = 0;
        std::vector<int> shown;
        shown.reserve(m_shown.size());
        for (size_t k = 0; k < rank.size(); ++k)
            if (rank[k] == 0) {
                rank[k] = int(shown.size());
                shown.push_back(int(k));
            }
        std::vector<int> newRow(m_shown.size());
        for (size_t r = 0; r < m_shown.size(); ++r)
            newRow[r] = rank[size_t(place[size_t(m_shown[r])])];
        m_shown = std::move(shown);
        return newRow;
    }
    void eraseRecords(int row, int count) override {
        if (!m_filtered) {
            m_rows.remove(row, count);
            return;
        }
        std::vector<bool> gone(size_t(m_rows.size()), false);
        for (int r = row; r < row + count; ++r)
            gone[size_t(m_shown[size_t(r)])] = true;
        m_shown.erase(m_shown.begin() + row, m_shown.begin() + row + count);
        std::vector<int> moved(gone.size()); // old stored index to new
        int to = 0;
        for (size_t i = 0; i < gone.size(); ++i) {
            moved[i] = to;
            if (!gone[i]) {
                if (to != int(i))
                    m_rows[to] = std::move(m_rows[qsizetype(i)]);
                ++to;
            }
        }
        m_rows.resize(to);
        for (int& s : m_shown)
            s = moved[size_t(s)];
    }

private:
    int stored(int row) const { return m_filtered ? m_shown[size_t(row)] : row; }
    std::vector<int> matching(bool amongShown) const {
        std::vector<int> shown;
        if (amongShown) {
            for (int s : m_shown)
                if (m_keep(m_rows[s]))
                    shown.push_back(s);
        } else {
            for (int i = 0; i < int(m_rows.size()); ++i)
                if (m_keep(m_rows[i]))
                    shown.push_back(i);
        }
        return shown;
    }

    QList<GridColumn<Row>> m_columns;
    QList<Row> m_rows;
    bool m_filtered = false;
    std::vector<int> m_shown; // stored indices of the rows shown, in order
    std::function<bool(const Row&)> m_keep;
};

} // namespace orvanex::model
