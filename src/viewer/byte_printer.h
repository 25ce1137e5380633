#pragma once
// Prints a range of a byte document page by page, wrapped at the page's width.

#include <QColor>
#include <QFont>

class QPrinter;

namespace orvanex::viewer {

class ByteDocument;
class RangeSet;

// Returns false when the printer could not be started.
bool printBytes(QPrinter& printer, const ByteDocument& doc, qint64 from, qint64 to,
                const QFont& font, const RangeSet* marks, const QColor& markColour);

} // namespace orvanex::viewer
