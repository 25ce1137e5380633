#pragma once
// The text box of the viewer: shows a byte document, laying out and painting only the rows on
// screen. Read-only, with selection, copy, select-all and red marks.

#include "viewer/byte_document.h"
#include "viewer/byte_search.h"
#include "viewer/text_layout.h"

#include <QAbstractScrollArea>
#include <QTimer>

namespace orvanex::viewer {

class ByteView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ByteView(QWidget* parent = nullptr);

    // Opens a file; on failure returns the reason (a file refused before reading keeps the one
    // shown).
    QString loadFile(const QString& path);
    void setBytes(QByteArray bytes);
    const ByteDocument& document() const { return m_doc; }
    const TextLayout& layout() const { return m_layout; }

    qint64 selStart() const { return std::min(m_anchor, m_cursor); }
    qint64 selLength() const { return std::abs(m_cursor - m_anchor); }
    // Selects and leaves the caret at the end of the range.
    void setSelection(qint64 start, qint64 length);
    QByteArray selectedBytes() const;
    void selectAll();
    void copy() const;
    void scrollToSelection();

    void addMarks(const std::vector<ByteRange>& sorted);
    const RangeSet& marks() const { return m_marks; }
    void setMarkColour(const QColor& colour) { m_markColour = colour; }
    QColor markColour() const { return m_markColour; }

    // The first byte shown at the top of the view.
    qint64 topPosition() const { return m_top.start; }
    int visibleRows() const;
    bool hasPainted() const { return m_painted; }
    // True once the idle-time work after loading (line index, scroll range) is done.
    bool isSettled() const { return m_maxTopValid; }

    // Says once, after the event that found it, that the file was shortened while shown.
    void checkCut();

Q_SIGNALS:
    void firstPaint();
    void fileCut();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // A document just put in place starts unmarked at its top, with its layout still to make.
    void showNewDocument();
    // While hidden the layout waits for the first show or paint: the window's real width is not
    // known before, and wrapping a long last line at a guessed width would be wasted.
    void relayout(bool force = false);
    // In idle time: completes the line index, then finds the top row of the last screen, which
    // bounds scrolling. Until then the scroll range runs to the end of the file.
    void indexStep();
    bool maxTopKnown() const { return m_maxTopValid; }
    void setTop(const Row& row);
    void syncScrollBar();
    void onScrollAction(int action);
    void onScrollValue(int value);
    qint64 posAtPoint(QPoint pt) const;
    void moveCursor(qint64 pos, bool extend);
    void ensureVisible(qint64 pos);
    qint64 stepChar(qint64 pos, int dir) const;

    ByteDocument m_doc;
    TextLayout m_layout;
    RangeSet m_marks;
    QColor m_markColour = QColor(255, 0, 0);
    Row m_top;
    Row m_maxTop;
    qint64 m_anchor = 0;
    qint64 m_cursor = 0;
    qreal m_goalX = -1; // kept while moving up and down
    qint64 m_scale = 1; // bytes per scroll-bar unit
    bool m_syncing = false;
    bool m_layoutPending = true;
    bool m_maxTopValid = false;
    bool m_fontPending = true; // fonts are measured when first laid out, not at every change
    QTimer m_indexTimer;
    bool m_painted = false;
    bool m_cutReported = false;
};

} // namespace orvanex::viewer
