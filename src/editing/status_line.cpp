#include "editing/status_line.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace orvanex::editing {
namespace {

constexpr qreal kLeastPointSize = 6.0;

class TextFitter : public QObject {
public:
    explicit TextFitter(QLabel* label) : QObject(label), m_label(label), m_own(label->font()) {
        setObjectName(QLatin1String(kName));
    }
    static constexpr char kName[] = "textFitter";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Measured just before painting, since a QLabel announces no change of its text. A font
        // set here repaints once more with the same text, which then fits.
        if (watched == m_label && event->type() == QEvent::Paint) {
            fit();
            if (m_elided) {
                paintElided();
                return true;
            }
        }
        return false;
    }

private:
    void fit() {
        const qreal room = m_label->contentsRect().width() - 2 * m_label->margin() -
                           std::max(0, m_label->indent());
        QFont font = m_own;
        const QString text = m_label->text();
        if (m_own.pointSizeF() > 0)
            while (QFontMetricsF(font).horizontalAdvance(text) > room &&
                   font.pointSizeF() - 0.5 >= kLeastPointSize)
                font.setPointSizeF(font.pointSizeF() - 0.5);
        if (font != m_label->font())
            m_label->setFont(font);
        // Too long even at the least size: drawn cut in the middle, the whole text a tool tip.
        m_elided = QFontMetricsF(font).horizontalAdvance(text) > room;
        const QString tip = m_elided ? text : m_ownTip;
        if (m_label->toolTip() != tip)
            m_label->setToolTip(tip);
    }

    void paintElided() {
        QPainter painter(m_label);
        QStyleOptionFrame frame;
        frame.initFrom(m_label);
        frame.rect = m_label->rect();
        frame.lineWidth = m_label->lineWidth();
        frame.midLineWidth = m_label->midLineWidth();
        frame.state |= QStyle::State_Sunken;
        frame.frameShape = QFrame::Shape(m_label->frameShape());
        m_label->style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, m_label);
        const QRect room =
            m_label->contentsRect().adjusted(m_label->margin(), 0, -m_label->margin(), 0);
        painter.setFont(m_label->font());
        painter.setPen(m_label->palette().color(QPalette::WindowText));
        painter.drawText(room, int(m_label->alignment()),
                         QFontMetrics(m_label->font())
                             .elidedText(m_label->text(), Qt::ElideMiddle, room.width()));
    }

    QLabel* m_label;
    QFont m_own;
    QString m_ownTip = m_label->toolTip();
    bool m_elided = false;
};

} // namespace

void keepTextWhole(QLabel* label) {
    if (!label ||
        label->findChild<QObject*>(QLatin1String(TextFitter::kName), Qt::FindDirectChildrenOnly))
        return;
    label->installEventFilter(new TextFitter(label));
}

} // namespace orvanex::editing
