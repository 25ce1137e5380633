#pragma once
// frmORVANEX, the main window: it owns its controls (the Designer form) and the shared state
// (MainContext); here live only its lifecycle handlers. The handlers of the panels, lists and
// editing operations are classes of their own working on context().

#include "editing/main_context.h"
#include "editing/main_handlers.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QTimer;

namespace orvanex {

class SplashWindow;
class StartupLoader;

// The main window's fixed outer size.
inline constexpr int kMainWidthTwips = 8000;
inline constexpr int kMainHeightTwips = 7500;
inline constexpr char kMainWindowTag[] = "frmORVANEX";

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(reg::Registry* registry, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainContext& context() { return m_ctx; }
    Ui::frmORVANEX* form() const { return m_ui.get(); }
    editing::MainHandlers& handlers() { return *m_handlers; }

    void setStartupLoader(std::unique_ptr<StartupLoader> loader);
    // Takes the first splash window; the timer handler closes and releases it.
    void adoptFirstSplash(SplashWindow* splash);
    SplashWindow* firstSplash() const;
    SplashWindow* secondSplash() const;

    QTimer* timer1() const { return m_timer1; }
    int timer1Runs() const { return m_timer1Runs; }

    // The load handler; the start-up procedure calls it while painting is held back.
    void Form_Load();
    void Timer1_Timer();
    void cmdExit_Click();
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void Form_Resize();
    void Form_Unload(int& cancel);
    void unloadAndRelease();
    QSize fixedOuterSize() const;

    std::unique_ptr<Ui::frmORVANEX> m_ui;
    MainContext m_ctx;
    // After the context they work on, so that they go first.
    std::unique_ptr<editing::MainHandlers> m_handlers;
    std::unique_ptr<StartupLoader> m_loader;
    QTimer* m_timer1 = nullptr;
    int m_timer1Runs = 0;
    QPointer<SplashWindow> m_frmLoad;
    QPointer<SplashWindow> m_frmLoad2;
    bool m_inResize = false;
    bool m_unloaded = false;
};

} // namespace orvanex
