#pragma once
// The main window's grids as views over their models: the three models made and attached, column
// widths from the format strings, the string sort (codes 7 and 8) and scrolling. Grid row r
// (1 = first data row) is the view's row r - 1.

#include "model/grid_rows.h"

class QAbstractItemModel;
class QLabel;
class QString;
class QTableView;
class QWidget;

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

// The models of flex1, flex2 and flex3, owned by the window.
struct GridModels {
    model::IndexGridModel* extensions = nullptr; // flex1
    model::IndexGridModel* fileTypes = nullptr;  // flex2
    model::ActionGridModel* actions = nullptr;   // flex3
};
// Makes the three models, sets them on the grids with their widths and hides the size key column.
GridModels attachGridModels(MainContext& ctx);

// The grid model a view shows (null when it shows another kind).
model::GridModelBase* gridModel(const QTableView* grid);

// Headers and alignments from "|"-separated headers (see model::parseGridFormat); the header
// text with its blanks sets the column's width.
void applyFormatString(QTableView* grid, const QString& format);

// Sorts the data rows by column: code 7 ascending, 8 descending, in the column's own order (plain
// case-sensitive text, or numbers for the count columns; equal keys keep their order). Other
// codes do nothing.
void sortGrid(QTableView* grid, int column, int sortCode);

// A read-only list of whole rows over model, one selected at a time, for the tool windows.
QTableView* makeRowList(QAbstractItemModel* model, const QString& objectName, QWidget* parent);
// The sunken status panel under such a list.
QLabel* makeStatusPanel(const QString& objectName, QWidget* parent);

// Grid-style cell access: "" for a missing cell.
QString cellText(const QTableView* grid, int tableRow, int column);
QStringList columnTexts(const QTableView* grid, int column);

// Makes a row current, with the given column, and selects it.
void setCurrentRow(QTableView* grid, int tableRow, int column = 0);
// The current row, -1 when none.
int currentRow(const QTableView* grid);

// Scrolls so that table row becomes the top row (as far as the grid can scroll).
void setTopRow(QTableView* grid, int tableRow);
int topRow(const QTableView* grid);

} // namespace orvanex::editing
