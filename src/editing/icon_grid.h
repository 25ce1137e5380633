#pragma once
// Icon pictures in widgets: a grid of a file's icons (the icon panel and the picker's preview)
// and one icon in a picture label, drawn for the screen's pixel ratio so they stay sharp.

#include "editing/icon_choice.h"

#include <QPixmap>

class QLabel;
class QTableWidget;
class QWidget;

namespace orvanex::editing {

// Pixels of a twips measure on the widget's screen.
int iconCellPixels(int twips, const QWidget* widget);

// The picture size to read icons at for a widget: 32 logical pixels on its screen.
int iconReadSize(const QWidget* widget);

// A 32 x 32 (logical) pixmap of an icon image read at iconReadSize.
QPixmap iconPixmap(const QImage& image);

// Empties the grid and fills it with the sheet's icons, columns a row, in square cells of
// cellPixels, icon i in row i / columns, column i % columns. Redrawing is held back meanwhile.
void fillIconGrid(QTableWidget* grid, const IconSheet& sheet, int columns, int cellPixels);

// The picture of grid cell (row, column); null when the cell has none.
QPixmap iconGridPicture(const QTableWidget* grid, int row, int column);

// The label cleared, then icon index of the file drawn at its top-left corner; false when the
// file has no such icon (the label stays empty).
bool showIconPicture(QLabel* picture, const platform::DriveMap& drives, const QString& file,
                     int index);
void showIconPicture(QLabel* picture, const QPixmap& icon);

} // namespace orvanex::editing
