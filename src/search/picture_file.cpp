#include "search/picture_file.h"

#include <QImageReader>

namespace orvanex::search {

QImage ReadPicture(const QString& nativePath, QString* reason) {
    QImageReader reader(nativePath);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull() && reason)
        *reason = reader.errorString();
    return image;
}

QString CannotShowText(const QString& shownPath, const QString& reason) {
    return QStringLiteral("Cannot show ") + shownPath + QStringLiteral(" as a picture: ") + reason;
}

} // namespace orvanex::search
