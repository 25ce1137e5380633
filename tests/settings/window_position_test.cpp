#include "settings/settings_store.h"
#include "settings/window_position.h"

#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace orvanex;

TEST(WindowPosition, ParsesFourFieldsInOrder) {
    EXPECT_EQ(parseWindowPosition(QStringLiteral("1200,900,8000,7500")),
              QRect(1200, 900, 8000, 7500));
    EXPECT_EQ(parseWindowPosition(QStringLiteral("-300,0,8000,7500")), QRect(-300, 0, 8000, 7500));
}

TEST(WindowPosition, BadTextIsRejected) {
    for (const char* bad : {"", "1,2,3", "a,b,c,d", "1,2,3,4,5", "1.5,2,3,4", "40000,0,8000,7500",
                            "0,-40000,8000,7500", "0,0,0,7500", "0,0,8000,-1", "1,2,3,"})
        EXPECT_FALSE(parseWindowPosition(QString::fromLatin1(bad))) << bad;
}

TEST(WindowPosition, SaveThenRestoreKeepsThePlace) {
    QWidget w;
    w.resize(300, 200);
    w.move(40, 50);
    w.show();
    SaveWindowPosition(&w, QStringLiteral("T_Pos"), QStringLiteral("frmTest"));
    const auto stored = parseWindowPosition(GetSetting(
        QStringLiteral("T_Pos"), QStringLiteral("FormPosition"), QStringLiteral("frmTest")));
    ASSERT_TRUE(stored);
    QWidget v;
    v.resize(10, 10);
    RestoreWindowPosition(&v, QStringLiteral("T_Pos"), QStringLiteral("frmTest"));
    EXPECT_EQ(pixelsToTwipsX(v.frameGeometry().x(), &v), stored->x());
    EXPECT_EQ(pixelsToTwipsX(v.frameGeometry().width(), &v), stored->width());
}

TEST(WindowPosition, MinimisedWindowSavesNothing) {
    SaveSetting(QStringLiteral("T_Min"), QStringLiteral("FormPosition"), QStringLiteral("frmTest"),
                QStringLiteral("1,2,3000,4000"));
    QWidget w;
    w.show();
    w.showMinimized();
    SaveWindowPosition(&w, QStringLiteral("T_Min"), QStringLiteral("frmTest"));
    EXPECT_EQ(GetSetting(QStringLiteral("T_Min"), QStringLiteral("FormPosition"),
                         QStringLiteral("frmTest")),
              QStringLiteral("1,2,3000,4000"));
}

TEST(WindowPosition, OffScreenOrBadPositionCentres) {
    for (const char* text : {"30000,30000,3000,3000", "garbage", ""}) {
        SaveSetting(QStringLiteral("T_Off"), QStringLiteral("FormPosition"),
                    QStringLiteral("frmTest"), QString::fromLatin1(text));
        QWidget w;
        w.resize(200, 100);
        RestoreWindowPosition(&w, QStringLiteral("T_Off"), QStringLiteral("frmTest"));
        const QRect screen = w.screen()->availableGeometry();
        EXPECT_EQ(w.frameGeometry().center().x() / 2, screen.center().x() / 2) << text;
        EXPECT_EQ(w.size(), QSize(200, 100)) << text;
    }
}
