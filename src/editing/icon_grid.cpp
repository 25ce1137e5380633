#include "editing/icon_grid.h"

#include "platform/icon_draw.h"
#include "settings/window_position.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

#include <cmath>

namespace orvanex::editing {

namespace {
constexpr int kIconSide = 32;
}

int iconCellPixels(int twips, const QWidget* widget) {
    return twipsToPixelsX(twips, widget);
}

int iconReadSize(const QWidget* widget) {
    return int(std::lround(kIconSide * widget->devicePixelRatioF()));
}

QPixmap iconPixmap(const QImage& image) {
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(qreal(image.width()) / kIconSide);
    return pixmap;
}

void fillIconGrid(QTableWidget* grid, const IconSheet& sheet, int columns, int cellPixels) {
    grid->setUpdatesEnabled(false);
    grid->clearContents();
    grid->setColumnCount(columns);
    grid->setRowCount(sheet.count <= 0 ? 1 : (sheet.count + columns - 1) / columns);
    grid->horizontalHeader()->setDefaultSectionSize(cellPixels);
    grid->verticalHeader()->setDefaultSectionSize(cellPixels);
    grid->setIconSize(QSize(kIconSide, kIconSide));
    for (int i = 0; i < sheet.icons.size(); ++i) {
        auto* item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        const QPixmap picture = iconPixmap(sheet.icons[i]);
        if (!picture.isNull())
            item->setData(Qt::DecorationRole, picture);
        grid->setItem(i / columns, i % columns, item);
    }
    grid->scrollToTop();
    grid->horizontalScrollBar()->setValue(0);
    grid->setUpdatesEnabled(true);
}

QPixmap iconGridPicture(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->data(Qt::DecorationRole).value<QPixmap>() : QPixmap();
}

void showIconPicture(QLabel* picture, const QPixmap& icon) {
    picture->clear();
    if (icon.isNull())
        return;
    const qreal ratio = picture->devicePixelRatioF();
    QPixmap canvas(QSize(kIconSide, kIconSide) * ratio);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    platform::drawIcon(canvas, icon.toImage());
    picture->setPixmap(canvas);
}

bool showIconPicture(QLabel* picture, const platform::DriveMap& drives, const QString& file,
                     int index) {
    picture->clear();
    const QString native = nativeIconPath(drives, file);
    if (native.isEmpty())
        return false;
    const qreal ratio = picture->devicePixelRatioF();
    QPixmap canvas(QSize(kIconSide, kIconSide) * ratio);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    if (!platform::drawIcon(canvas, native, index))
        return false;
    picture->setPixmap(canvas);
    return true;
}

} // namespace orvanex::editing
