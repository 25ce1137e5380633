#include "settings/window_position.h"

#include "settings/settings_store.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace orvanex {
namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

double dpiX(const QWidget* w) {
    const QScreen* s = screenOf(w);
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget* w) {
    const QScreen* s = screenOf(w);
    return s ? s->logicalDotsPerInchY() : 96.0;
}

void centre(QWidget* window) {
    const QScreen* s = screenOf(window);
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

} // namespace

int twipsToPixelsX(int twips, const QWidget* w) {
    return int(std::lround(twips * dpiX(w) / kTwipsPerInch));
}
int twipsToPixelsY(int twips, const QWidget* w) {
    return int(std::lround(twips * dpiY(w) / kTwipsPerInch));
}
int pixelsToTwipsX(int pixels, const QWidget* w) {
    return int(std::lround(pixels * kTwipsPerInch / dpiX(w)));
}
int pixelsToTwipsY(int pixels, const QWidget* w) {
    return int(std::lround(pixels * kTwipsPerInch / dpiY(w)));
}

void SaveWindowPosition(QWidget* window, const QString& appName, const QString& tag) {
    if (!window || window->isMinimized())
        return;
    const QRect g = window->frameGeometry();
    const QString text = formatWindowPosition(
        QRect(pixelsToTwipsX(g.x(), window), pixelsToTwipsY(g.y(), window),
              pixelsToTwipsX(g.width(), window), pixelsToTwipsY(g.height(), window)));
    SaveSetting(appName, QStringLiteral("FormPosition"), tag, text);
}

void RestoreWindowPosition(QWidget* window, const QString& appName, const QString& tag) {
    if (!window)
        return;
    const auto twips =
        parseWindowPosition(GetSetting(appName, QStringLiteral("FormPosition"), tag, QString()));
    if (!twips) {
        centre(window);
        return;
    }
    const QRect px(twipsToPixelsX(twips->x(), window), twipsToPixelsY(twips->y(), window),
                   twipsToPixelsX(twips->width(), window), twipsToPixelsY(twips->height(), window));
    bool visible = false;
    for (const QScreen* s : QGuiApplication::screens())
        visible = visible || s->availableGeometry().intersects(px);
    if (!visible) {
        centre(window);
        return;
    }
    // The stored size is the outer size; the frame is added back by the window system.
    const QSize frameExtra = window->frameGeometry().size() - window->size();
    window->move(px.topLeft());
    window->resize((px.size() - frameExtra).expandedTo(QSize(1, 1)));
}

} // namespace orvanex
