#pragma once
// The stored text of a window position: "left,top,width,height" in twips.

#include <QRect>
#include <QString>
#include <optional>

namespace orvanex {

// The four fields of a stored position, or nothing when the text is not four whole numbers within
// the 16-bit range with a width and height above zero.
std::optional<QRect> parseWindowPosition(const QString& text);
// The text for a position in twips, numbers without blanks.
QString formatWindowPosition(const QRect& twips);

} // namespace orvanex
