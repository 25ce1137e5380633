#include "search/frm_image.h"

#include "search/picture_file.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace orvanex::search {

frmImage::frmImage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmImage"));
    setWindowTitle(QStringLiteral("ORVANEX File Image"));
    imgOne = new QLabel(this);
    imgOne->setObjectName(QStringLiteral("imgOne"));
    imgOne->move(0, 0);
}

bool frmImage::Display(const QString& nativePath, const QString& shownPath, QString* reason) {
    const QImage image = ReadPicture(nativePath, reason);
    if (image.isNull())
        return false;
    setWindowTitle(shownPath);
    // No larger than the screen: a huge picture is scaled down rather than cut off.
    QSize size = image.size();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    const QPixmap pixmap = QPixmap::fromImage(
        size == image.size() ? image
                             : image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgOne->setPixmap(pixmap);
    imgOne->resize(pixmap.size());
    setFixedSize(pixmap.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return true;
}

} // namespace orvanex::search
