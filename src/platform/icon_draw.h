#pragma once
// Drawing icons into pictures: at the top-left corner as DrawIcon does, and sharp on HiDPI screens.

#include <QImage>
#include <QPixmap>
#include <QString>

class QPaintDevice;

namespace orvanex::platform {

// Draws `icon` at (0, 0) of `picture` in logical pixels, over what is there (transparency kept).
void drawIcon(QPaintDevice& picture, const QImage& icon);

// Draws icon `index` of the file at (0, 0) of `picture`, taking the image made for the picture's
// device pixel ratio; false (and nothing drawn) when the file has no such icon.
bool drawIcon(QPaintDevice& picture, const QString& path, int index);

// Icon `index` of the file as a pixmap of `logicalSize` logical pixels for a screen with
// `devicePixelRatio`: the image closest to the physical size, scaled only when the file has no
// such size. Null when there is no such icon.
QPixmap iconPixmap(const QString& path, int index, qreal devicePixelRatio, int logicalSize = 32);

} // namespace orvanex::platform
