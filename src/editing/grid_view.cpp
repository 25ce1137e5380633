#include "editing/grid_view.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace orvanex::editing {

namespace {

// The grid's string sort compares the texts as they are, case significant.
class GridItem final : public QTableWidgetItem {
public:
    explicit GridItem(const QString& text) : QTableWidgetItem(text, QTableWidgetItem::UserType) {}
    bool operator<(const QTableWidgetItem& other) const override { return text() < other.text(); }
    QTableWidgetItem* clone() const override { return new GridItem(text()); }
};

Qt::Alignment alignmentOf(QChar c) {
    if (c == u'^')
        return Qt::AlignHCenter | Qt::AlignVCenter;
    if (c == u'>')
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The alignment of each column, kept on the grid for the rows filled later.
QList<Qt::Alignment> columnAlignments(const QTableWidget* grid) {
    QList<Qt::Alignment> out;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* h = grid->horizontalHeaderItem(c);
        out.append(h ? Qt::Alignment(h->textAlignment()) : Qt::AlignLeft | Qt::AlignVCenter);
    }
    return out;
}

} // namespace

void applyFormatString(QTableWidget* grid, const QString& format) {
    const QStringList headers = format.split(u'|');
    grid->setColumnCount(static_cast<int>(headers.size()));
    const QFontMetrics metrics(grid->horizontalHeader()->font());
    for (int c = 0; c < headers.size(); ++c) {
        QString text = headers[c];
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
        if (!text.isEmpty() && (text[0] == u'<' || text[0] == u'^' || text[0] == u'>')) {
            align = alignmentOf(text[0]);
            text.remove(0, 1);
        }
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(align);
        grid->setHorizontalHeaderItem(c, item);
        if (!text.isEmpty())
            grid->setColumnWidth(c, metrics.horizontalAdvance(text) + 12);
    }
}

void fillGrid(QTableWidget* grid, const QList<model::GridRow>& rows,
              const QList<int>& specialColumns) {
    // Only the grid's own switch is restored: while the start-up holds back the whole window's
    // painting, updatesEnabled() is false here without the grid having been switched off.
    const bool wasUpdating = !grid->testAttribute(Qt::WA_ForceUpdatesDisabled);
    const bool wasSorting = grid->isSortingEnabled();
    grid->setUpdatesEnabled(false);
    grid->setSortingEnabled(false);
    grid->clearContents();
    grid->setRowCount(static_cast<int>(rows.size()));
    const QList<Qt::Alignment> align = columnAlignments(grid);
    const QBrush red(QColor(255, 0, 0)); // the grid's colour value 255
    // One change notice per cell would cost more than the cells; the view reads them on paint.
    QAbstractItemModel* model = grid->model();
    const bool wasBlocked = model->blockSignals(true);
    for (int r = 0; r < rows.size(); ++r) {
        const model::GridRow& row = rows[r];
        const int cells = std::min(static_cast<int>(row.cells.size()), grid->columnCount());
        for (int c = 0; c < cells; ++c) {
            auto* item = new GridItem(row.cells[c]);
            item->setTextAlignment(align.value(c, Qt::AlignLeft | Qt::AlignVCenter));
            if (row.special && specialColumns.contains(c))
                item->setForeground(red);
            grid->setItem(r, c, item);
        }
    }
    model->blockSignals(wasBlocked);
    if (!rows.isEmpty())
        Q_EMIT model->dataChanged(model->index(0, 0),
                                  model->index(grid->rowCount() - 1, grid->columnCount() - 1));
    grid->setSortingEnabled(wasSorting);
    grid->setUpdatesEnabled(wasUpdating);
}

void blankGrid(QTableWidget* grid, int rowCount) {
    grid->clearContents();
    grid->setRowCount(rowCount);
}

void sortGrid(QTableWidget* grid, int column, int sortCode) {
    if (column < 0 || column >= grid->columnCount())
        return;
    if (sortCode == model::kSortStringAscending)
        grid->sortItems(column, Qt::AscendingOrder);
    else if (sortCode == model::kSortStringDescending)
        grid->sortItems(column, Qt::DescendingOrder);
}

QString cellText(const QTableWidget* grid, int tableRow, int column) {
    const QTableWidgetItem* item = grid->item(tableRow, column);
    return item ? item->text() : QString();
}

QStringList columnTexts(const QTableWidget* grid, int column) {
    QStringList texts;
    texts.reserve(grid->rowCount());
    for (int r = 0; r < grid->rowCount(); ++r)
        texts.append(cellText(grid, r, column));
    return texts;
}

void setTopRow(QTableWidget* grid, int tableRow) {
    if (tableRow < 0 || tableRow >= grid->rowCount())
        return;
    // With the default per-item scrolling the scroll bar's value is the top row.
    if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        grid->verticalScrollBar()->setValue(tableRow);
    else
        grid->scrollToItem(grid->item(tableRow, 0), QAbstractItemView::PositionAtTop);
}

int topRow(const QTableWidget* grid) {
    if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        return grid->verticalScrollBar()->value();
    return grid->rowAt(0);
}

} // namespace orvanex::editing
