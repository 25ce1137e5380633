// The start-up sequence and the main window's lifecycle, on the offscreen platform.

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "editing/list_loader.h"
#include "editing/startup_loader.h"
#include "model/default_registry.h"
#include "registry/registry.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"
#include "settings/window_position.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QResizeEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

QWidget* visibleTopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

// Records what the window looks like at each point where the loading plugs in.
struct ProbeLoader : StartupLoader {
    struct Seen {
        int calls = 0;
        bool paintingHeld = false;
        bool windowShown = false;
        bool firstSplashShown = false;
        bool secondSplashOwned = false;
        bool hourglass = false;
    };
    Seen* locate;
    Seen* enumerate;
    Seen* build;

    ProbeLoader(Seen* l, Seen* e, Seen* b) : locate(l), enumerate(e), build(b) {}

    static void record(Seen* s, MainContext& ctx) {
        ++s->calls;
        s->paintingHeld = !ctx.window->updatesEnabled();
        s->windowShown = ctx.window->isVisible();
        s->firstSplashShown = visibleTopLevel("frmLoad") != nullptr;
        const QWidget* second = visibleTopLevel("frmLoad2");
        s->secondSplashOwned = second && second->parentWidget() == ctx.window;
        s->hourglass = QApplication::overrideCursor() &&
                       QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
    void fillExtensionLocateList(MainContext& ctx) override { record(locate, ctx); }
    void enumerateExtensions(MainContext& ctx) override { record(enumerate, ctx); }
    void buildLists(MainContext& ctx) override { record(build, ctx); }
};

QSize outerTwips(const QWidget& w) {
    const QRect g = w.frameGeometry();
    return {pixelsToTwipsX(g.width(), &w), pixelsToTwipsY(g.height(), &w)};
}

// The sizes a window's resize events carried.
class ResizesSeen : public QObject {
public:
    explicit ResizesSeen(QWidget* w) { w->installEventFilter(this); }
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            sizes.append(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
};

// One pixel of rounding either way.
void expectFixedOuterSize(const QWidget& w) {
    const QSize t = outerTwips(w);
    EXPECT_NEAR(t.width(), kMainWidthTwips, pixelsToTwipsX(1, &w)) << t.width();
    EXPECT_NEAR(t.height(), kMainHeightTwips, pixelsToTwipsY(1, &w)) << t.height();
}

std::optional<QRect> storedPosition() {
    return parseWindowPosition(GetSetting(QLatin1String(kMainAppName),
                                          QStringLiteral("FormPosition"),
                                          QLatin1String(kMainWindowTag)));
}

std::unique_ptr<MainWindow> startedWindow() {
    auto w = runStartup(nullptr, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->timer1Runs() == 1; }, 60000));
    return w;
}

} // namespace

TEST(Startup, SplashesComeAndGoAroundTheLoadingSteps) {
    ProbeLoader::Seen locate, enumerate, build;
    auto w = runStartup(nullptr, std::make_unique<ProbeLoader>(&locate, &enumerate, &build));

    // The load handler ran while the first splash was up and the window was neither shown nor
    // painting.
    EXPECT_EQ(locate.calls, 1);
    EXPECT_EQ(enumerate.calls, 1);
    EXPECT_TRUE(enumerate.paintingHeld);
    EXPECT_FALSE(enumerate.windowShown);
    EXPECT_TRUE(enumerate.firstSplashShown);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->updatesEnabled());

    ASSERT_TRUE(QTest::qWaitFor([&] { return w->timer1Runs() == 1; }, 60000));
    // The timer's loading ran under the hourglass with the second splash over the main window and
    // the first one gone.
    EXPECT_EQ(build.calls, 1);
    EXPECT_TRUE(build.hourglass);
    EXPECT_TRUE(build.secondSplashOwned);
    EXPECT_FALSE(build.firstSplashShown);
    EXPECT_TRUE(build.windowShown);

    // A stopped timer cannot fire again, whatever events are still pending.
    EXPECT_FALSE(w->timer1()->isActive()) << "the timer is one-shot";
    QCoreApplication::processEvents();
    EXPECT_EQ(w->timer1Runs(), 1);
    EXPECT_EQ(build.calls, 1);
    EXPECT_EQ(w->firstSplash(), nullptr);
    EXPECT_EQ(w->secondSplash(), nullptr);
    EXPECT_EQ(visibleTopLevel("frmLoad"), nullptr);
    EXPECT_EQ(visibleTopLevel("frmLoad2"), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal pointer is back";
}

TEST(Startup, FirstSplashIsTopMostAndCentred) {
    SplashWindow splash(SplashWindow::Kind::First);
    splash.show();
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    const QRect screen = splash.screen()->geometry();
    EXPECT_LE(std::abs(splash.geometry().center().x() - screen.center().x()), 3);
    EXPECT_LE(std::abs(splash.geometry().center().y() - screen.center().y()), 3);
    EXPECT_EQ(splash.message(), QStringLiteral("Loading Registered File Types - Please Wait!"));

    QWidget owner;
    SplashWindow second(SplashWindow::Kind::Second, &owner);
    EXPECT_EQ(second.objectName(), QStringLiteral("frmLoad2"));
    EXPECT_TRUE(second.isWindow());
    EXPECT_EQ(second.message(), QStringLiteral("Building Icon And Action File Names.......... "));
}

TEST(Startup, LoadHandlerSetsTheAppFolderAndTheStartState) {
    const QString previous = QDir::currentPath();
    const QString elsewhere = test::freshDir(QStringLiteral("started here"));
    ASSERT_TRUE(QDir::setCurrent(elsewhere));
    auto w = startedWindow();
    QDir::setCurrent(previous);

    const MainContext& ctx = w->context();
    EXPECT_EQ(ctx.AppFolder, elsewhere);
    EXPECT_TRUE(QFileInfo(elsewhere + QStringLiteral("/Backup")).isDir());
    EXPECT_EQ(ctx.HelpFile, elsewhere + QStringLiteral("/orvanex.hlp"));
    EXPECT_EQ(helpFilePath(ctx.AppFolder), ctx.HelpFile);

    EXPECT_EQ(ctx.state.editState(), editing::EditState::Nothing);
    EXPECT_EQ(ctx.state.panel(), editing::PanelOpen::None);
    EXPECT_EQ(ctx.state.actionEditState(), editing::ActionEditState::Closed);
    EXPECT_EQ(ctx.state.selectBy(), editing::SelectBy::FileExtension);
    EXPECT_TRUE(ctx.FirstApplicationPending);
    for (const bool used : ctx.UpdateSlotUsed)
        EXPECT_FALSE(used);

    Ui::frmORVANEX* ui = w->form();
    EXPECT_FALSE(ui->mnuAddExtType->isEnabled());
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_FALSE(ui->mnuBackup->isEnabled());
    for (QLineEdit* field : {ui->txtDesc, ui->txtExt, ui->txtRel, ui->txtIcon})
        EXPECT_TRUE(field->isReadOnly()) << field->objectName().toStdString();
    EXPECT_EQ(ui->cmdExit->toolTip(), QStringLiteral("Exit ORVANEX!"));
    EXPECT_TRUE(w->windowTitle().contains(QLatin1String("ORVANEX")));
    EXPECT_TRUE(w->windowTitle().contains(QLatin1String("1.2.0")));
    EXPECT_EQ(ui->flex1->model()->rowCount(), 0) << "nothing is loaded yet";
}

TEST(Startup, ExistingBackupFolderIsNoError) {
    const QString previous = QDir::currentPath();
    const QString dir = test::freshDir(QStringLiteral("again"));
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("Backup")));
    QFile marker(dir + QStringLiteral("/Backup/Reg1000.reg"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    ASSERT_TRUE(QDir::setCurrent(dir));
    auto w = startedWindow();
    QDir::setCurrent(previous);
    EXPECT_EQ(w->context().AppFolder, dir);
    EXPECT_TRUE(marker.exists()) << "the backups already there are kept";
}

TEST(MainWindowSize, ResizeAndMaximiseSnapBack) {
    auto w = startedWindow();
    expectFixedOuterSize(*w);

    const auto fixed = [&] {
        const QSize t = outerTwips(*w);
        return std::abs(t.width() - kMainWidthTwips) <= pixelsToTwipsX(1, w.get()) &&
               std::abs(t.height() - kMainHeightTwips) <= pixelsToTwipsY(1, w.get());
    };
    // A fixed-size window refuses a larger size outright.
    w->resize(w->width() + 200, w->height() + 150);
    EXPECT_TRUE(fixed());

    // With its limits lifted the asked size arrives, and the window snaps back from a posted
    // event: wait for both.
    ResizesSeen seen(w.get());
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w->resize(300, 200);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return seen.sizes.contains(QSize(300, 200)) && fixed(); }, 60000));
    expectFixedOuterSize(*w);

    w->showMaximized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isMaximized() && fixed(); }, 60000));
    expectFixedOuterSize(*w);

    w->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->isMinimized(); }, 60000))
        << "minimising is allowed";
}

TEST(MainWindowExit, StopButtonEndsTheCountAndKeepsTheWindow) {
    auto w = startedWindow();
    Ui::frmORVANEX* ui = w->form();
    ui->cmdExit->setText(QStringLiteral("&Stop"));
    w->context().Counting = true;

    QTest::mouseClick(ui->cmdExit, Qt::LeftButton);
    EXPECT_FALSE(w->context().Counting);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(ui->cmdExit->isEnabled());
    EXPECT_FALSE(storedPosition()) << "nothing is saved while the window stays";

    // The flag is already clear: the next click closes, whatever the caption says.
    QTest::mouseClick(ui->cmdExit, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(storedPosition());
}

TEST(MainWindowExit, ExitButtonAndMenuCloseAndSaveThePosition) {
    for (int viaMenu = 0; viaMenu < 2; ++viaMenu) {
        DeleteSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"));
        auto w = startedWindow();
        const QPoint target(w->x() + 30 + viaMenu, w->y() + 20);
        w->move(target);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->pos() == target; }, 60000));
        const QRect g = w->frameGeometry();
        if (viaMenu)
            w->form()->mnuExit->trigger();
        else
            QTest::mouseClick(w->form()->cmdExit, Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
        const auto saved = storedPosition();
        ASSERT_TRUE(saved) << viaMenu;
        EXPECT_EQ(saved->x(), pixelsToTwipsX(g.x(), w.get()));
        EXPECT_EQ(saved->y(), pixelsToTwipsY(g.y(), w.get()));
        EXPECT_NEAR(saved->width(), kMainWidthTwips, pixelsToTwipsX(1, w.get()));
        EXPECT_NEAR(saved->height(), kMainHeightTwips, pixelsToTwipsY(1, w.get()));
    }
}

TEST(MainWindowExit, ClosingRestoresWhereItWasAndMinimisedSavesNothing) {
    auto first = startedWindow();
    first->move(120, 90);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->pos() == QPoint(120, 90); }, 60000));
    const QPoint where = first->frameGeometry().topLeft();
    first->close();
    const QString saved = GetSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"),
                                     QLatin1String(kMainWindowTag));

    auto second = startedWindow();
    EXPECT_EQ(second->frameGeometry().topLeft(), where);
    expectFixedOuterSize(*second);
    second->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->isMinimized(); }, 60000));
    second->close();
    EXPECT_EQ(GetSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"),
                         QLatin1String(kMainWindowTag)),
              saved);
}

TEST(MainWindowExit, ClosingBeforeTheTimerRunsLoadsNothingMore) {
    ProbeLoader::Seen locate, enumerate, build;
    auto w = std::make_unique<MainWindow>(nullptr);
    w->setStartupLoader(std::make_unique<ProbeLoader>(&locate, &enumerate, &build));
    w->Form_Load();
    w->show();
    w->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->timer1()->isActive());
    EXPECT_EQ(build.calls, 0);
    EXPECT_EQ(visibleTopLevel("frmLoad2"), nullptr);
}

TEST(Startup, RealLoaderLeavesEveryControlPainting) {
    auto registry = reg::Registry::inMemory();
    ASSERT_EQ(model::writeDefaultClasses(*registry), reg::status::Success);
    auto w = runStartup(registry.get(), editing::makeFileTypeLoader());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->timer1Runs() == 1; }, 60000));
    EXPECT_GT(w->form()->flex1->model()->rowCount(), 0);
    // Painting was held back for the whole window while the load handler filled it; nothing may
    // stay switched off once it is shown.
    for (QWidget* child : w->findChildren<QWidget*>())
        if (child->isVisible()) {
            EXPECT_TRUE(child->updatesEnabled()) << child->objectName().toStdString();
        }
}
