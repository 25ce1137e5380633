// The about box: its texts and the statistics of the chosen drive.

#include "about/frm_about.h"
#include "support/test_env.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;

TEST(FrmAbout, ShowsTheStatisticsOfTheSecondDriveAndOfTheOneChosen) {
    const QString c = test::freshDir("drive_c");
    const QString d = test::freshDir("drive_d");
    platform::DriveMap drives;
    drives.setDrive(u'C', c);
    drives.setDrive(u'D', d);
    about::frmAbout window(drives);
    EXPECT_EQ(window.windowTitle(), "ORVANEX About");
    ASSERT_GE(window.Combo1->count(), 2);
    EXPECT_EQ(window.Combo1->currentIndex(), 1);
    ASSERT_EQ(window.List1->count(), 8);
    EXPECT_EQ(window.List1->item(0)->text(),
              "  Drive Statistics  :  " + window.Combo1->itemText(1).toUpper());
    EXPECT_TRUE(window.List1->item(7)->text().endsWith(" bytes"));

    window.Combo1->setCurrentIndex(0);
    window.cmdVolumeInfo->click();
    EXPECT_EQ(window.List1->item(0)->text(),
              "  Drive Statistics  :  " + window.Combo1->itemText(0).toUpper());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    test::screenshot("about-box.png");
    EXPECT_EQ(window.cmdVolumeInfo->text(), "&Free ");
    EXPECT_EQ(window.cmdOK->text(), "E&xit");
    EXPECT_TRUE(about::FirstInstalled({{"no-such-program-xyz"}}).isEmpty());
    EXPECT_EQ(about::FirstInstalled({{"no-such-program-xyz"}, {"sh", "-c"}}).mid(1),
              QStringList{"-c"});
}
