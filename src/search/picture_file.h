#pragma once
// A found file read as a picture: what the search window's Image shows and `orvx image` saves.

#include <QImage>
#include <QString>

namespace orvanex::search {

// The picture, turned as the file says; null, with the reader's reason, when it cannot be read.
QImage ReadPicture(const QString& nativePath, QString* reason);
// "Cannot show PATH as a picture: REASON"
QString CannotShowText(const QString& shownPath, const QString& reason);

} // namespace orvanex::search
