#include "viewer/byte_printer.h"

#include "viewer/row_painter.h"

#include <QPainter>
#include <QPrinter>

namespace orvanex::viewer {

bool printBytes(QPrinter& printer, const ByteDocument& doc, qint64 from, qint64 to,
                const QFont& font, const RangeSet* marks, const QColor& markColour) {
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    TextLayout layout(doc);
    layout.setFont(font, &printer);
    layout.setWrapWidth(page.width());
    p.setFont(layout.font());
    RowStyle style;
    style.marks = marks;
    style.mark = markColour;

    Row row = layout.rowAt(from);
    // The first row of a selection starts at the margin.
    const qreal firstShift = layout.xOf(row, from);
    bool first = true;
    qreal y = 0;
    while (true) {
        if (y > 0 && y + layout.lineHeight() > page.height()) {
            printer.newPage();
            y = 0;
        }
        paintRow(p, layout, row, QPointF(0, y), from, to, first ? firstShift : 0, style);
        first = false;
        y += layout.lineHeight();
        const auto next = layout.nextRow(row);
        if (!next || next->start >= to)
            break;
        row = *next;
    }
    return p.end();
}

} // namespace orvanex::viewer
