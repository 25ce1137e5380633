#include "platform/icon_draw.h"

#include "platform/icon_file.h"

#include <QPainter>

#include <cmath>

namespace orvanex::platform {

void drawIcon(QPaintDevice& picture, const QImage& icon) {
    if (icon.isNull())
        return;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = icon.devicePixelRatio();
    painter.drawImage(QRectF(0, 0, icon.width() / ratio, icon.height() / ratio), icon);
}

QPixmap iconPixmap(const QString& path, int index, qreal devicePixelRatio, int logicalSize) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int physical = int(std::lround(logicalSize * ratio));
    QImage image = extractIconSized(path, index, physical);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

bool drawIcon(QPaintDevice& picture, const QString& path, int index) {
    QImage image =
        extractIconSized(path, index, int(std::lround(32 * picture.devicePixelRatioF())));
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(picture.devicePixelRatioF());
    drawIcon(picture, image);
    return true;
}

} // namespace orvanex::platform
