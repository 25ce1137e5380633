#include "app/main_window.h"

#include "about/frm_about.h"
#include "app/splash_window.h"
#include "editing/count_handlers.h"
#include "editing/editing_session.h"
#include "editing/frm_host_entries.h"
#include "editing/main_handlers.h"
#include "editing/startup_loader.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"
#include "settings/twips_layout.h"
#include "settings/window_position.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

namespace orvanex {

namespace {

// Restores the normal pointer however the timer handler ends.
class HourglassPointer {
public:
    HourglassPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassPointer() { QApplication::restoreOverrideCursor(); }
    HourglassPointer(const HourglassPointer&) = delete;
    HourglassPointer& operator=(const HourglassPointer&) = delete;
};

void releaseSplash(QPointer<SplashWindow>& splash) {
    if (splash) {
        splash->close();
        delete splash.data();
    }
    splash = nullptr;
}

} // namespace

MainWindow::MainWindow(reg::Registry* registry, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::frmORVANEX>()),
      m_loader(std::make_unique<StartupLoader>()) {
    m_ui->setupUi(this);
    setWindowTitle(QStringLiteral("ORVANEX - Manage File Types - Version ") +
                   QStringLiteral(ORVANEX_VERSION));
    scaleDesignGeometry(m_ui->centralwidget);
    // The right-click help menu pops up by itself; it has no place in the menu bar.
    m_ui->mnuWhatsThis->menuAction()->setVisible(false);

    m_ctx.window = this;
    m_ctx.ui = m_ui.get();
    m_ctx.registry = registry;
    m_ctx.regState.registry = registry;
    m_ctx.UpdateSlotUsed.fill(false);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1);
    connect(m_timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    connect(m_ui->cmdExit, &QPushButton::clicked, this, &MainWindow::cmdExit_Click);
    connect(m_ui->mnuExit, &QAction::triggered, this, &MainWindow::mnuExit_Click);
    m_handlers = std::make_unique<editing::MainHandlers>(m_ctx);
    editing::installHostEntriesWindow(m_ctx, this);
    connect(m_ui->mnuAbout, &QAction::triggered, this, [this] {
        about::mnuAbout_Click(m_ctx.editing ? m_ctx.editing->drives : platform::DriveMap(), this,
                              m_ctx.registry);
    });

    resize(fixedOuterSize());
}

MainWindow::~MainWindow() {
    releaseSplash(m_frmLoad);
    releaseSplash(m_frmLoad2);
}

void MainWindow::setStartupLoader(std::unique_ptr<StartupLoader> loader) {
    m_loader = loader ? std::move(loader) : std::make_unique<StartupLoader>();
}

void MainWindow::adoptFirstSplash(SplashWindow* splash) {
    m_frmLoad = splash;
}

SplashWindow* MainWindow::firstSplash() const {
    return m_frmLoad;
}

SplashWindow* MainWindow::secondSplash() const {
    return m_frmLoad2;
}

QSize MainWindow::fixedOuterSize() const {
    return {twipsToPixelsX(kMainWidthTwips, this), twipsToPixelsY(kMainHeightTwips, this)};
}

void MainWindow::Form_Load() {
    m_ctx.FirstApplicationPending = true;
    m_ctx.FirstIconFilePending = true;
    m_loader->fillExtensionLocateList(m_ctx);
    m_ctx.UpdateSlotUsed.fill(false);
    m_ui->mnuAddExtType->setEnabled(false);
    m_ui->cmdDeleteExt->setEnabled(false);
    m_ui->mnuBackup->setEnabled(false);

    m_ctx.AppFolder = currentAppFolder();
    createBackupFolder(m_ctx.AppFolder); // an existing folder is fine; other errors show later

    RestoreWindowPosition(this, QLatin1String(kMainAppName), QLatin1String(kMainWindowTag));
    Form_Resize();

    m_ui->cmdExit->setToolTip(QStringLiteral("Exit ORVANEX!"));
    m_ctx.HelpFile = helpFilePath(m_ctx.AppFolder);

    m_ui->txtDesc->setReadOnly(true);
    m_ui->txtExt->setReadOnly(true);
    m_ui->txtRel->setReadOnly(true);
    m_ui->txtIcon->setReadOnly(true);

    m_loader->enumerateExtensions(m_ctx);
    m_timer1->start();
}

void MainWindow::Timer1_Timer() {
    m_timer1->stop();
    ++m_timer1Runs;
    HourglassPointer hourglass;
    releaseSplash(m_frmLoad);
    repaint();
    repaint();
    QCoreApplication::processEvents();
    if (m_unloaded) // closed before the timer's first run: nothing left to load for
        return;
    m_frmLoad2 = new SplashWindow(SplashWindow::Kind::Second, this);
    m_frmLoad2->show();
    repaint();
    repaint();
    QCoreApplication::processEvents();

    m_loader->buildLists(m_ctx);

    releaseSplash(m_frmLoad2);
}

// The outer size stays 8000 by 7500 twips; only minimising is allowed.
void MainWindow::Form_Resize() {
    if (isMinimized() || m_inResize)
        return;
    m_inResize = true;
    const Qt::WindowStates enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & enlarged)
        setWindowState(windowState() & ~enlarged);
    const QSize frame = frameGeometry().size() - size();
    const QSize client = fixedOuterSize() - frame;
    if (minimumSize() != client || maximumSize() != client)
        setFixedSize(client);
    // setFixedSize does nothing when the limits are already set, and a window system that ignores
    // them (none running, or one that disregards size hints) may have resized the window anyway.
    if (size() != client)
        resize(client);
    m_inResize = false;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!m_inResize)
        QTimer::singleShot(0, this, &MainWindow::Form_Resize);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !m_inResize)
        QTimer::singleShot(0, this, &MainWindow::Form_Resize);
}

// The window system adds its frame after the window is shown, and may report it with a move.
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    QTimer::singleShot(0, this, &MainWindow::Form_Resize);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!m_inResize)
        QTimer::singleShot(0, this, &MainWindow::Form_Resize);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        QMainWindow::closeEvent(event);
}

void MainWindow::Form_Unload(int& /*cancel*/) {
    SaveWindowPosition(this, QLatin1String(kMainAppName), QLatin1String(kMainWindowTag));
    // A closed window must not go on walking the drives or loading behind the user's back: the
    // walk ends now, not at its next progress tick.
    m_ctx.Counting = false;
    m_handlers->count->stopWalk();
    m_timer1->stop();
    m_unloaded = true;
    releaseSplash(m_frmLoad);
}

void MainWindow::cmdExit_Click() {
    // A visible click feedback.
    m_ui->cmdExit->setEnabled(false);
    m_ui->cmdExit->repaint();
    m_ui->cmdExit->setEnabled(true);
    m_ui->cmdExit->repaint();
    if (m_ui->cmdExit->text() == QLatin1String("&Stop") && m_ctx.Counting) {
        m_ctx.Counting = false;
        return;
    }
    unloadAndRelease();
}

void MainWindow::mnuExit_Click() {
    unloadAndRelease();
}

// The window is released by its owner (the start-up procedure) once the event loop ends; deleting
// it here could pull it from under a loop that is still polling the counting flag.
void MainWindow::unloadAndRelease() {
    close();
}

} // namespace orvanex
