#pragma once
// The index grids as the window keeps them: a fixed header row set from a format string, data
// rows filled in one go, the string sort (codes 7 and 8) and the red special rows. Grid row r
// (1 = first data row) is the table's row r - 1.

#include "model/grid_rows.h"

#include <QList>
#include <QStringList>

class QTableWidget;

namespace orvanex::editing {

// Headers, alignments and widths from "|"-separated headers: a leading "<" aligns left, "^"
// centres, ">" aligns right; the text with its blanks sets the width.
void applyFormatString(QTableWidget* grid, const QString& format);

// Replaces the data rows by rows (each kGridColumns texts, or fewer for flex3); special rows get
// the special colour in the given columns.
void fillGrid(QTableWidget* grid, const QList<model::GridRow>& rows,
              const QList<int>& specialColumns);
// Empties every cell and leaves rowCount empty rows.
void blankGrid(QTableWidget* grid, int rowCount);

// Sorts the data rows by column: code 7 string ascending, 8 string descending (plain
// case-sensitive text order, equal keys keep their order). Other codes do nothing.
void sortGrid(QTableWidget* grid, int column, int sortCode);

// Grid-style cell access: "" for a missing cell.
QString cellText(const QTableWidget* grid, int tableRow, int column);
QStringList columnTexts(const QTableWidget* grid, int column);

// Scrolls so that table row becomes the top row (as far as the grid can scroll).
void setTopRow(QTableWidget* grid, int tableRow);
int topRow(const QTableWidget* grid);

} // namespace orvanex::editing
