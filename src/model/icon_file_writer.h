#pragma once
// Writing icons in the formats Windows reads them from: ICO files and the icon resources of a
// 32-bit PE program or library.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace orvanex::model {

// One image as a 32-bit DIB with its AND mask, as ICO files and RT_ICON resources hold it.
QByteArray iconDib(const QImage& image);
// An ICO file holding one icon made of the given images (sizes up to 256).
QByteArray icoFileBytes(const QList<QImage>& images);
// A PE32 image whose resources hold one icon group per image, in order (icon index = list index).
QByteArray peIconLibraryBytes(const QList<QImage>& icons, bool isDll);

} // namespace orvanex::model
