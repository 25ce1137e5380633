#include "editing/status_line.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>

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
        if (watched == m_label && event->type() == QEvent::Paint)
            fit();
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
    }

    QLabel* m_label;
    QFont m_own;
};

} // namespace

void keepTextWhole(QLabel* label) {
    if (!label ||
        label->findChild<QObject*>(QLatin1String(TextFitter::kName), Qt::FindDirectChildrenOnly))
        return;
    label->installEventFilter(new TextFitter(label));
}

} // namespace orvanex::editing
