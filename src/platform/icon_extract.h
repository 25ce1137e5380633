#pragma once
// Icons inside Windows programs, libraries and icon files, read as ExtractIcon reads them.

#include <QImage>
#include <QString>

namespace orvanex::platform {

// Number of icons (icon groups) in a PE, NE or ICO file, told by content; 0 when none or
// unreadable.
int extractIconCount(const QString& path);

// Icon `index` (from 0) as Windows would draw it at 32 x 32, with transparency (ARGB32
// premultiplied); a null image when there is no such icon.
QImage extractIcon(const QString& path, int index);

} // namespace orvanex::platform
