#include "editing/grid_view.h"

#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>

namespace orvanex::editing {

GridModels attachGridModels(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    GridModels models;
    models.extensions = model::makeExtensionGridModel(ui->flex1);
    models.fileTypes = model::makeFileTypeGridModel(ui->flex2);
    models.actions = model::makeActionGridModel(ui->flex3);
    ui->flex1->setModel(models.extensions);
    ui->flex2->setModel(models.fileTypes);
    ui->flex3->setModel(models.actions);
    applyFormatString(ui->flex1, model::extensionGridFormat());
    applyFormatString(ui->flex2, model::fileTypeGridFormat());
    applyFormatString(ui->flex3, model::actionGridFormat());
    // The fifth column holds the sort key of the size column; the user never sees it.
    ui->flex1->setColumnHidden(model::kHiddenColumn, true);
    ui->flex2->setColumnHidden(model::kHiddenColumn, true);
    return models;
}

model::GridModelBase* gridModel(const QTableView* grid) {
    return qobject_cast<model::GridModelBase*>(grid->model());
}

void applyFormatString(QTableView* grid, const QString& format) {
    model::GridModelBase* m = gridModel(grid);
    if (!m)
        return;
    m->setFormat(format);
    const QFontMetrics metrics(grid->horizontalHeader()->font());
    const QList<model::GridHeader>& headers = m->headers();
    for (int c = 0; c < headers.size(); ++c)
        if (!headers[c].text.isEmpty())
            grid->setColumnWidth(c, metrics.horizontalAdvance(headers[c].text) + 12);
}

void sortGrid(QTableView* grid, int column, int sortCode) {
    model::GridModelBase* m = gridModel(grid);
    if (!m)
        return;
    // Count and size columns compare as numbers: as text, "10" would sort before "9".
    if (sortCode == model::kSortStringAscending)
        m->sortBy(column, m->sortAs(column), Qt::AscendingOrder);
    else if (sortCode == model::kSortStringDescending)
        m->sortBy(column, m->sortAs(column), Qt::DescendingOrder);
}

QString cellText(const QTableView* grid, int tableRow, int column) {
    const model::GridModelBase* m = gridModel(grid);
    return m ? m->text(tableRow, column) : QString();
}

QStringList columnTexts(const QTableView* grid, int column) {
    const model::GridModelBase* m = gridModel(grid);
    return m ? m->columnTexts(column) : QStringList();
}

void setCurrentRow(QTableView* grid, int tableRow, int column) {
    QAbstractItemModel* m = grid->model();
    if (!m || tableRow < 0 || tableRow >= m->rowCount())
        return;
    grid->selectionModel()->setCurrentIndex(m->index(tableRow, column),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
}

int currentRow(const QTableView* grid) {
    return grid->selectionModel() ? grid->selectionModel()->currentIndex().row() : -1;
}

void setTopRow(QTableView* grid, int tableRow) {
    QAbstractItemModel* m = grid->model();
    if (!m || tableRow < 0 || tableRow >= m->rowCount())
        return;
    // With the default per-item scrolling the scroll bar's value is the top row.
    if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        grid->verticalScrollBar()->setValue(tableRow);
    else
        grid->scrollTo(m->index(tableRow, 0), QAbstractItemView::PositionAtTop);
}

int topRow(const QTableView* grid) {
    if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        return grid->verticalScrollBar()->value();
    return grid->rowAt(0);
}

QTableView* makeRowList(QAbstractItemModel* model, const QString& objectName, QWidget* parent) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QLabel* makeStatusPanel(const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

} // namespace orvanex::editing
