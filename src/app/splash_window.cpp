#include "app/splash_window.h"

#include "settings/twips_layout.h"
#include "ui_splash_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvanex {

SplashWindow::SplashWindow(Kind kind, QWidget* owner)
    : QWidget(owner, kind == Kind::First ? Qt::SplashScreen | Qt::WindowStaysOnTopHint
                                         : Qt::Dialog | Qt::FramelessWindowHint),
      ui(std::make_unique<Ui::frmLoad>()) {
    ui->setupUi(this);
    scaleDesignGeometry(this);
    setFixedSize(size().width() * logicalDpiX() / kDesignDpi,
                 size().height() * logicalDpiY() / kDesignDpi);
    ui->lblVersion->setText(QStringLiteral("Version ") + QStringLiteral(ORVANEX_VERSION));
    if (kind == Kind::Second) {
        setObjectName(QStringLiteral("frmLoad2"));
        ui->lblMessage->setText(QStringLiteral("Building Icon And Action File Names.......... "));
    }
}

SplashWindow::~SplashWindow() = default;

QString SplashWindow::message() const {
    return ui->lblMessage->text();
}

void SplashWindow::showEvent(QShowEvent* event) {
    Form_Load();
    QWidget::showEvent(event);
}

// Centred on the screen, whole pixels.
void SplashWindow::Form_Load() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->geometry();
    move(area.x() + (area.width() / 2 - width() / 2),
         area.y() + (area.height() / 2 - height() / 2));
}

} // namespace orvanex
