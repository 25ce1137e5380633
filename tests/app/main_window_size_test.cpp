// The main window's size is the form's, whatever resizes it from outside: a window system
// without a window manager, or one that ignores the size hints, resizes the native window itself.

#include "app/main_window.h"
#include "app/startup.h"
#include "editing/startup_loader.h"
#include "settings/settings_store.h"
#include "settings/window_position.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace orvanex;

TEST(MainWindowSize, AnOutsideResizeIsSetBackAndNeverSaved) {
    auto w = runStartup(nullptr, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->timer1Runs() == 1; }, 60000));
    const QSize fixed = w->size();
    const QSize frame = w->frameGeometry().size() - fixed;
    EXPECT_NEAR(pixelsToTwipsX(fixed.width() + frame.width(), w.get()), kMainWidthTwips,
                pixelsToTwipsX(1, w.get()));
    ASSERT_NE(w->windowHandle(), nullptr);

    for (const QSize outside : {QSize(800, 700), QSize(300, 200), fixed + QSize(1, 0)}) {
        // The native window changes first; the widget hears of it as the window system's news.
        w->windowHandle()->resize(outside);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->windowHandle()->size() == fixed; }, 60000))
            << outside.width() << "x" << outside.height();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->size() == fixed; }, 60000));
    }

    w->close();
    const auto stored =
        parseWindowPosition(GetSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"),
                                       QLatin1String(kMainWindowTag)));
    ASSERT_TRUE(stored);
    EXPECT_NEAR(stored->width(), kMainWidthTwips, pixelsToTwipsX(1, w.get()));
    EXPECT_NEAR(stored->height(), kMainHeightTwips, pixelsToTwipsY(1, w.get()));
    DeleteSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"));
}
