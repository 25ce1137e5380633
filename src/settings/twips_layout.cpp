#include "settings/twips_layout.h"

#include "settings/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace orvanex {

namespace {

// Only the form's own controls are scaled: the inner parts of a grid or a list box follow their
// owner by themselves.
void scaleChildren(QWidget* parent, double fx, double fy) {
    const auto scale = [](int v, double f) { return int(std::lround(v * f)); };
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QRect g = w->geometry();
        w->setGeometry(scale(g.x(), fx), scale(g.y(), fy), scale(g.width(), fx),
                       scale(g.height(), fy));
        const QByteArray kind = w->metaObject()->className();
        if (kind == "QFrame" || kind == "QGroupBox" || kind == "QWidget")
            scaleChildren(w, fx, fy);
    }
}

} // namespace

void scaleDesignGeometry(QWidget* root) {
    const QScreen* s = root->screen() ? root->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const double fx = s->logicalDotsPerInchX() / kDesignDpi;
    const double fy = s->logicalDotsPerInchY() / kDesignDpi;
    if (std::abs(fx - 1.0) < 0.01 && std::abs(fy - 1.0) < 0.01)
        return;
    scaleChildren(root, fx, fy);
}

void setTwipsLeft(QWidget* w, int left) {
    w->move(twipsToPixelsX(left, w), w->y());
}

void setTwipsWidth(QWidget* w, int width) {
    w->resize(twipsToPixelsX(width, w), w->height());
}

} // namespace orvanex
