#pragma once
// Draws one laid-out row: runs of text, the placeholder boxes of control bytes, the selection and
// the red marks. Shared by the view and the printout.

#include "viewer/text_layout.h"

#include <QColor>

class QPainter;

namespace orvanex::viewer {

class RangeSet;

struct RowStyle {
    qint64 selStart = 0;
    qint64 selEnd = 0;
    const RangeSet* marks = nullptr;
    QColor text = Qt::black;
    QColor mark = QColor(255, 0, 0);
    QColor selectionBack = Qt::darkBlue;
    QColor selectionText = Qt::white;
};

// Paints the bytes of `row` that lie in [from, to) with the row's top-left corner at `origin`;
// `xShift` is subtracted from every x (a printout of a selection starts at the margin).
void paintRow(QPainter& p, const TextLayout& layout, const Row& row, QPointF origin, qint64 from,
              qint64 to, qreal xShift, const RowStyle& style);

} // namespace orvanex::viewer
