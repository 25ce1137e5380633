#include "viewer/byte_view.h"

#include "viewer/cp1252.h"
#include "viewer/row_painter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <climits>

namespace orvanex::viewer {
namespace {

constexpr int kMargin = 3;

} // namespace

ByteView::ByteView(QWidget* parent) : QAbstractScrollArea(parent), m_layout(m_doc) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &ByteView::onScrollAction);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ByteView::onScrollValue);
    m_indexTimer.setInterval(0);
    connect(&m_indexTimer, &QTimer::timeout, this, &ByteView::indexStep);
}

void ByteView::indexStep() {
    constexpr qint64 kSlice = 4 << 20;
    constexpr qint64 kWrapSlice = 1 << 20;
    const bool indexed = m_doc.indexSlice(kSlice);
    checkCut();
    if (!indexed)
        return;
    if (!m_layout.prepareRows(m_doc.lineCount() - 1, kWrapSlice))
        return;
    m_indexTimer.stop();
    m_maxTop = m_layout.stepRows(m_layout.rowAt(m_doc.size()), -(visibleRows() - 1));
    m_maxTopValid = true;
    setTop(m_top);
}

QString ByteView::loadFile(const QString& path) {
    const char* shown = m_doc.data();
    const QString error = m_doc.open(path);
    if (!error.isEmpty() && m_doc.data() == shown)
        return error; // refused before anything changed: the file shown stays
    showNewDocument();
    return error;
}

void ByteView::showNewDocument() {
    m_cutReported = false;
    m_anchor = m_cursor = 0;
    m_marks.clear();
    m_top = m_maxTop = {};
    m_maxTopValid = false;
    m_scale = std::max<qint64>(1, m_doc.size() / INT_MAX + 1);
    m_layout.reset();
    relayout();
}

void ByteView::checkCut() {
    if (m_cutReported || !m_doc.cut())
        return;
    m_cutReported = true;
    // Queued: the finding may happen inside a paint, where no dialog may open.
    QTimer::singleShot(0, this, [this] { Q_EMIT fileCut(); });
}

void ByteView::setBytes(QByteArray bytes) {
    m_doc.setBytes(std::move(bytes));
    showNewDocument();
}

int ByteView::visibleRows() const {
    return std::max(1, int(viewport()->height() / m_layout.lineHeight()));
}

void ByteView::relayout(bool force) {
    if (!force && !isVisible()) {
        m_layoutPending = true;
        return;
    }
    m_layoutPending = false;
    if (m_fontPending) {
        m_fontPending = false;
        m_layout.setFont(font(), viewport());
    }
    m_layout.setWrapWidth(std::max(1, viewport()->width() - 2 * kMargin));
    m_maxTopValid = false;
    if (m_painted) // the first screen comes first
        m_indexTimer.start();
    setTop(m_layout.rowAt(m_top.start));
}

void ByteView::setTop(const Row& row) {
    m_top = maxTopKnown() && row.start > m_maxTop.start ? m_maxTop : row;
    syncScrollBar();
    viewport()->update();
}

void ByteView::syncScrollBar() {
    m_syncing = true;
    QScrollBar* bar = verticalScrollBar();
    // Until the index is complete the range runs to the end of the file.
    bar->setRange(0, int((maxTopKnown() ? m_maxTop.start : m_doc.size()) / m_scale));
    const Row bottom = m_layout.stepRows(m_top, visibleRows());
    bar->setPageStep(std::max(1, int((bottom.start - m_top.start) / m_scale)));
    bar->setSingleStep(1);
    bar->setValue(int(m_top.start / m_scale));
    m_syncing = false;
}

void ByteView::onScrollAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    qint64 rows = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        rows = 1;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        rows = -1;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        rows = std::max(1, visibleRows() - 1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        rows = -std::max(1, visibleRows() - 1);
        break;
    default:
        return;
    }
    // Steps move by whole rows; only dragging maps the thumb onto byte positions.
    const Row target = m_layout.stepRows(m_top, rows);
    m_syncing = true;
    bar->setSliderPosition(
        int((maxTopKnown() ? std::min(target.start, m_maxTop.start) : target.start) / m_scale));
    m_syncing = false;
    setTop(target);
}

void ByteView::onScrollValue(int value) {
    if (m_syncing)
        return;
    m_top = m_layout.rowAt(qint64(value) * m_scale);
    if (maxTopKnown() && m_top.start > m_maxTop.start)
        m_top = m_maxTop;
    viewport()->update();
}

void ByteView::paintEvent(QPaintEvent*) {
    if (m_layoutPending)
        relayout(true);
    QPainter p(viewport());
    const QPalette& pal = palette();
    p.fillRect(viewport()->rect(), pal.color(QPalette::Base));
    p.setFont(m_layout.font());
    RowStyle style;
    style.selStart = selStart();
    style.selEnd = selStart() + selLength();
    style.marks = &m_marks;
    style.mark = m_markColour;
    style.text = pal.color(QPalette::Text);
    style.selectionBack = pal.color(QPalette::Highlight);
    style.selectionText = pal.color(QPalette::HighlightedText);
    const int height = viewport()->height();
    const Row cursorRow = m_layout.rowAt(m_cursor);
    std::optional<Row> row = m_top;
    for (qreal y = 0; row && y < height; y += m_layout.lineHeight()) {
        paintRow(p, m_layout, *row, QPointF(kMargin, y), row->start, m_doc.size() + 1, 0, style);
        if (hasFocus() && cursorRow == *row) {
            const qreal cx = kMargin + m_layout.xOf(*row, m_cursor);
            p.fillRect(QRectF(cx, y, 1, m_layout.lineHeight()), style.text);
        }
        row = m_layout.nextRow(*row);
    }
    if (!m_painted) {
        m_painted = true;
        Q_EMIT firstPaint();
    }
    checkCut();
    if (!m_maxTopValid && !m_indexTimer.isActive())
        m_indexTimer.start();
}

void ByteView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void ByteView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (m_layoutPending)
        relayout(true);
}

void ByteView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_fontPending = true;
        relayout();
    }
}

void ByteView::setSelection(qint64 start, qint64 length) {
    m_anchor = std::clamp<qint64>(start, 0, m_doc.size());
    m_cursor = std::clamp<qint64>(start + length, m_anchor, m_doc.size());
    m_goalX = -1;
    viewport()->update();
}

QByteArray ByteView::selectedBytes() const {
    return QByteArray(m_doc.data() + selStart(), selLength());
}

void ByteView::selectAll() {
    setSelection(0, m_doc.size());
}

void ByteView::copy() const {
    if (selLength() == 0)
        return;
    QApplication::clipboard()->setText(
        cp1252ToClipboardText(m_doc.data() + selStart(), selLength()));
}

void ByteView::addMarks(const std::vector<ByteRange>& sorted) {
    m_marks.add(sorted);
    viewport()->update();
}

void ByteView::ensureVisible(qint64 pos) {
    const Row target = m_layout.rowAt(pos);
    if (target.start < m_top.start) {
        setTop(target);
        return;
    }
    Row row = m_top;
    for (int i = 1; i < visibleRows(); ++i) {
        if (row == target)
            return;
        const auto next = m_layout.nextRow(row);
        if (!next)
            return;
        row = *next;
    }
    if (row == target)
        return;
    setTop(m_layout.stepRows(target, -(visibleRows() - 1)));
}

void ByteView::scrollToSelection() {
    ensureVisible(selStart() + selLength());
    ensureVisible(selStart());
}

qint64 ByteView::posAtPoint(QPoint pt) const {
    const int rowIndex = pt.y() < 0 ? -1 : int(pt.y() / m_layout.lineHeight());
    const Row row = m_layout.stepRows(m_top, rowIndex);
    if (pt.y() < 0 && row == m_top && row.start == 0)
        return 0;
    return m_layout.posAt(row, pt.x() - kMargin);
}

qint64 ByteView::stepChar(qint64 pos, int dir) const {
    const qint64 line = m_doc.lineOf(pos);
    if (dir > 0) {
        if (pos >= m_doc.lineEnd(line))
            return m_doc.lineNext(line);
        return pos + 1;
    }
    if (pos == m_doc.lineStart(line))
        return line > 0 ? m_doc.lineEnd(line - 1) : 0;
    return std::min(pos - 1, m_doc.lineEnd(line));
}

void ByteView::moveCursor(qint64 pos, bool extend) {
    m_cursor = std::clamp<qint64>(pos, 0, m_doc.size());
    if (!extend)
        m_anchor = m_cursor;
    ensureVisible(m_cursor);
    viewport()->update();
}

void ByteView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const Row row = m_layout.rowAt(m_cursor);
    auto vertical = [&](qint64 rows) {
        if (m_goalX < 0)
            m_goalX = m_layout.xOf(row, m_cursor);
        const qreal goal = m_goalX;
        const Row target = m_layout.stepRows(row, rows);
        moveCursor(target == row ? (rows < 0 ? row.start : target.end)
                                 : m_layout.posAt(target, goal),
                   extend);
        m_goalX = goal;
    };
    switch (event->key()) {
    case Qt::Key_Left:
        m_goalX = -1;
        moveCursor(stepChar(m_cursor, -1), extend);
        return;
    case Qt::Key_Right:
        m_goalX = -1;
        moveCursor(stepChar(m_cursor, 1), extend);
        return;
    case Qt::Key_Up:
        vertical(-1);
        return;
    case Qt::Key_Down:
        vertical(1);
        return;
    case Qt::Key_PageUp:
        vertical(-std::max(1, visibleRows() - 1));
        return;
    case Qt::Key_PageDown:
        vertical(std::max(1, visibleRows() - 1));
        return;
    case Qt::Key_Home:
        m_goalX = -1;
        moveCursor(ctrl ? 0 : row.start, extend);
        return;
    case Qt::Key_End:
        m_goalX = -1;
        moveCursor(ctrl ? m_doc.size() : row.end, extend);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void ByteView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_goalX = -1;
    const qint64 pos = posAtPoint(event->position().toPoint());
    m_cursor = pos;
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = pos;
    viewport()->update();
}

void ByteView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pt = event->position().toPoint();
    // Dragging past an edge scrolls one row per move.
    if (pt.y() < 0)
        setTop(m_layout.stepRows(m_top, -1));
    else if (pt.y() >= viewport()->height())
        setTop(m_layout.stepRows(m_top, 1));
    m_cursor = posAtPoint(QPoint(pt.x(), std::clamp(pt.y(), 0, viewport()->height() - 1)));
    viewport()->update();
}

void ByteView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const qint64 pos = posAtPoint(event->position().toPoint());
    const qint64 line = m_doc.lineOf(pos);
    const qint64 ls = m_doc.lineStart(line);
    const qint64 le = m_doc.lineEnd(line);
    qint64 s = pos;
    qint64 e = pos;
    while (s > ls && cp1252IsWordChar(m_doc.at(s - 1)))
        --s;
    while (e < le && cp1252IsWordChar(m_doc.at(e)))
        ++e;
    setSelection(s, e - s);
}

void ByteView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 40; // three rows per notch
    if (steps != 0)
        setTop(m_layout.stepRows(m_top, -steps));
    event->accept();
}

void ByteView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ByteView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace orvanex::viewer
