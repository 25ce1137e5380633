// Apply, a new file type, the add-extensions panel and the restore menu in the main window.

#include "../backup/backup_fixture.h"
#include "settings/app_folder.h"
#include "support/test_env.h"
#include "ui_main_window.h"
#include "window_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

class ChangeWindow : public MainWindowTest {
protected:
    ChangeWindow() : MainWindowTest(QStringLiteral("change-window")) {}
};

} // namespace

TEST_F(ChangeWindow, ApplyBacksUpWritesAndFillsARestoreSlot) {
    showType("Text Document");
    EXPECT_TRUE(ui->chkQuickView->isChecked());
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    ui->txtIcon->setText("C:\\ICONS\\pic.ico");
    ASSERT_TRUE(ui->cmdApply->isEnabled());
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1000");
    screenshot("apply-status.png");
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    EXPECT_TRUE(QFile::exists(world.ctx().AppFolder + "/Backup/Reg1000.reg"));
    EXPECT_EQ(ui->mnuUpdate01->text(), "Text Document");
    EXPECT_TRUE(ui->mnuUpdate01->isEnabled());

    // Another entry shown: the slot's item is off; back to the type: on again.
    pressRowText(ui->flex2, "Big Index");
    EXPECT_FALSE(ui->mnuUpdate01->isEnabled());
    pressRowText(ui->flex2, "Text Document");
    EXPECT_TRUE(ui->mnuUpdate01->isEnabled());
    EXPECT_EQ(ui->txtIcon->text(), "C:\\ICONS\\pic.ico");
    if (!qEnvironmentVariableIsEmpty("ORVANEX_SCREENSHOT_DIR")) {
        ui->mnuAction->popup(world.window().mapToGlobal(QPoint(60, 20)));
        ui->mnuRestore->popup(ui->mnuAction->geometry().topRight());
        screenshot("restore-menu.png");
        ui->mnuRestore->close();
        ui->mnuAction->close();
    }
    ui->chkQuickView->setChecked(false);
    ui->txtIcon->setText("other.dll");
    ui->mnuUpdate01->trigger();
    EXPECT_EQ(ui->lblScan->text(), "Restore Request!");
    EXPECT_TRUE(ui->chkQuickView->isChecked());
    EXPECT_TRUE(ui->chkAlwaysShow->isChecked());
    EXPECT_EQ(ui->txtIcon->text(), "C:\\ICONS\\pic.ico");
    EXPECT_TRUE(ui->cmdApply->isEnabled());

    // Nothing changed: nothing written.
    pressRowText(ui->flex2, "Big Index");
    ui->chkQuickView->setChecked(true);
    ui->chkQuickView->setChecked(false);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Nothing To Update!");
}

TEST_F(ChangeWindow, NewFileTypeEntersBothLists) {
    ui->cmdExtNew->trigger();
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    EXPECT_EQ(ui->lblScan->text(), "Please Enter The New Extension(s) Information!");
    EXPECT_FALSE(ui->txtDesc->isReadOnly());
    EXPECT_FALSE(ui->mnuBackup->isEnabled());
    EXPECT_FALSE(ui->cmdApply->isEnabled()); // until something is typed
    QTest::keyClicks(ui->txtRel, "qqb .qqa");
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Please Enter Registered File Type!");
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    QTest::keyClicks(ui->txtDesc, "My Data");
    ui->chkQuickView->setChecked(true);
    screenshot("new-file-type.png");
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "My Data Added!");
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::Nothing);
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    EXPECT_GE(tableRowOf(ui->flex1, 0, "QQA"), 0);
    EXPECT_GE(tableRowOf(ui->flex1, 0, "QQB"), 0);
    const int row = tableRowOf(ui->flex2, 0, "My Data");
    ASSERT_GE(row, 0);
    EXPECT_EQ(column(ui->flex2, 3)[row], "QQA QQB");
    QStringList sorted = column(ui->flex2, 0);
    QStringList check = sorted;
    std::stable_sort(check.begin(), check.end());
    EXPECT_EQ(sorted, check);
}

TEST_F(ChangeWindow, AddExtensionsPanelAddsAndCancels) {
    showType("Text Document");
    ui->mnuAddExtType->trigger();
    ASSERT_TRUE(ui->fraAddExtType->isVisibleTo(world.ctx().window));
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::AddExtensions);
    EXPECT_EQ(ui->lblExtsTypes->text(), "LOG TXT");
    QTest::mouseClick(ui->cmdOKExtType, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Please Enter New File Extension(s)!");
    QTest::keyClicks(ui->txtNewExtTypes, "ini");
    QTest::mouseClick(ui->cmdOKExtType, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "File Extension(s) Added!   ini");
    EXPECT_FALSE(ui->fraAddExtType->isVisibleTo(world.ctx().window));
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::None);
    EXPECT_EQ(column(ui->flex2, 3)[tableRowOf(ui->flex2, 0, "Text Document")], "INI LOG TXT");
    EXPECT_GE(tableRowOf(ui->flex1, 0, "INI"), 0);

    pressRowText(ui->flex2, "Text Document");
    ui->mnuAddExtType->trigger();
    QTest::mouseClick(ui->cmdCancelExtType, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "File Extension Add Request Cancelled!");
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::None);
}
