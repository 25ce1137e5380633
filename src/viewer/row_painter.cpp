#include "viewer/row_painter.h"

#include "viewer/byte_search.h"

#include <QPainter>

#include <algorithm>

namespace orvanex::viewer {
namespace {

struct RunState {
    QString text;
    qreal x = 0;
    qreal width = 0;
    bool selected = false;
    bool marked = false;
};

} // namespace

void paintRow(QPainter& p, const TextLayout& layout, const Row& row, QPointF origin, qint64 from,
              qint64 to, qreal xShift, const RowStyle& style) {
    const ByteDocument& doc = layout.document();
    const qint64 first = std::max(row.start, from);
    const qint64 last = std::min(row.end, to);
    const qreal top = origin.y();
    const qreal lh = layout.lineHeight();
    const qreal baseline = top + layout.ascent();
    static const std::vector<ByteRange> kNoMarks;
    const std::vector<ByteRange>& marks = style.marks ? style.marks->ranges() : kNoMarks;
    size_t markIdx = style.marks ? style.marks->firstEndingAfter(first) : 0;

    auto colourOf = [&](bool selected, bool marked) {
        return selected ? style.selectionText : marked ? style.mark : style.text;
    };
    RunState run;
    auto flush = [&] {
        if (run.text.isEmpty())
            return;
        if (run.selected)
            p.fillRect(QRectF(run.x, top, run.width, lh), style.selectionBack);
        p.setPen(colourOf(run.selected, run.marked));
        p.drawText(QPointF(run.x, baseline), run.text);
        run.text.clear();
    };

    qreal x = layout.xOf(row, first);
    for (qint64 i = first; i < last; ++i) {
        const unsigned char b = doc.at(i);
        const qreal w = layout.advance(b, x);
        while (markIdx < marks.size() && marks[markIdx].end() <= i)
            ++markIdx;
        const bool marked = markIdx < marks.size() && marks[markIdx].start <= i;
        const bool selected = i >= style.selStart && i < style.selEnd;
        const qreal dx = origin.x() + x - xShift;
        if (b == '\t' || layout.isPlaceholder(b)) {
            flush();
            if (selected)
                p.fillRect(QRectF(dx, top, w, lh), style.selectionBack);
            if (b != '\t') {
                p.setPen(colourOf(selected, marked));
                const qreal boxTop = top + lh * 0.25;
                p.drawRect(QRectF(dx + 1.5, boxTop, std::max<qreal>(1.0, w - 3.0),
                                  std::max<qreal>(1.0, baseline - boxTop - 0.5)));
            }
        } else {
            if (!run.text.isEmpty() && (run.selected != selected || run.marked != marked))
                flush();
            if (run.text.isEmpty()) {
                run.x = dx;
                run.width = 0;
                run.selected = selected;
                run.marked = marked;
            }
            run.text.append(layout.glyph(b));
            run.width += w;
        }
        x += w;
    }
    flush();

    // A selected line break shows as a selected blank after the row's text.
    const qint64 le = doc.lineEnd(row.line);
    if (row.end == le && le < doc.lineNext(row.line) && le >= from && le < to &&
        le >= style.selStart && le < style.selEnd)
        p.fillRect(QRectF(origin.x() + x - xShift, top, layout.advance(' ', x), lh),
                   style.selectionBack);
}

} // namespace orvanex::viewer
