// The action panel and the delete panels driven by object name: Apply, Cancel, "&Find" with
// frmAction, the delete requests with OK and with Cancel, and what the lists show afterwards.

#include "../backup/backup_fixture.h"
#include "editing/frm_action.h"
#include "settings/app_folder.h"
#include "support/test_env.h"
#include "ui_main_window.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

class EditPanels : public MainWindowTest {
protected:
    EditPanels() : MainWindowTest(QStringLiteral("edit-panels")) {}
    void clickAction(int tableRow) {
        const QRect rect = ui->flex3->visualRect(ui->flex3->model()->index(tableRow, 0));
        QTest::mouseClick(ui->flex3->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickActionHeader() {
        QHeaderView* header = ui->flex3->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionSize(0) / 2, header->height() / 2));
    }
    QString backupFile(int n) {
        return world.ctx().AppFolder + "/Backup/Reg" + QString::number(n) + ".reg";
    }
};

} // namespace

TEST_F(EditPanels, ApplyChangesTheCommandAndClosesThePanel) {
    showType("Text Document");
    clickAction(0);
    ASSERT_TRUE(ui->fraAction->isVisible());
    ui->txtAppl->setText("C:\\WINDOWS\\WRITE.EXE %1");
    ASSERT_TRUE(ui->cmdOKAction->isEnabled());
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "open Updated!    Backup=Reg1000");
    EXPECT_FALSE(ui->fraAction->isVisible());
    EXPECT_FALSE(ui->cmdOKAction->isEnabled());
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::None);
    EXPECT_EQ(read("txtfile\\Shell\\open\\command"), "C:\\WINDOWS\\WRITE.EXE %1");
    EXPECT_EQ(cell(ui->flex3, 0, 1), "C:\\WINDOWS\\WRITE.EXE %1");
    EXPECT_TRUE(QFile::exists(backupFile(1000)));
    EXPECT_EQ(ui->mnuUpdate01->text(), "Text Document");
    EXPECT_TRUE(ui->mnuUpdate01->isEnabled());

    // Nothing changed: said so, nothing backed up.
    clickAction(0);
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton); // disabled: no click reaches it
    EXPECT_TRUE(ui->fraAction->isVisible());
    ui->cmdOKAction->setEnabled(true);
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Nothing To Update!");
    EXPECT_FALSE(QFile::exists(backupFile(1001)));
}

TEST_F(EditPanels, AddingNeedsANameThenAddsARow) {
    showType("Text Document");
    clickActionHeader();
    ASSERT_TRUE(ui->fraAction->isVisible());
    ui->txtAppl->setText("C:\\WORD\\WORD.EXE %1");
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Please Enter The New Action Name!");
    EXPECT_TRUE(ui->fraAction->isVisible());
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::Action);
    EXPECT_EQ(world.window().focusWidget(), ui->txtActionName);
    QTest::keyClicks(ui->txtActionName, "Open with Word");
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Open with Word Updated!");
    EXPECT_EQ(read("txtfile\\Shell\\Open_with_Word"), "Open with Word");
    EXPECT_EQ(tableRowOf(ui->flex3, 0, "Open with Word"), 1);
}

TEST_F(EditPanels, CancelLeavesNoDeadEnd) {
    showType("Text Document");
    clickAction(1);
    ui->txtAppl->setText("changed %1");
    QTest::mouseClick(ui->cmdCancelAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Update Request Cancelled!");
    EXPECT_FALSE(ui->fraAction->isVisible());
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::None);
    EXPECT_EQ(read("txtfile\\Shell\\print\\command"), "C:\\WINDOWS\\NOTEPAD.EXE /p %1");
    pressRowText(ui->flex2, "Big Index");
    EXPECT_EQ(ui->txtDesc->text(), "Big Index");

    showType("Text Document");
    clickActionHeader();
    QTest::mouseClick(ui->cmdCancelAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Add Request Cancelled!");
}

TEST_F(EditPanels, FindPicksAListedApplicationOrABrowsedFile) {
    showType("Text Document");
    clickAction(0);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<editing::FrmAction*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "ORVANEX Select A New Action Application File");
        auto* list = dialog->findChild<QListWidget*>("List1");
        auto* text = dialog->findChild<QLineEdit*>("Text1");
        auto* select = dialog->findChild<QPushButton*>("cmdOK");
        EXPECT_EQ(text->text(), QString::number(list->count()) + QString(23, u' ') +
                                    " Action Applications listed - Please make the desired "
                                    "selection!");
        EXPECT_FALSE(select->isEnabled());
        const QList<QListWidgetItem*> found =
            list->findItems("C:\\WINDOWS\\NOTEPAD.EXE /p %1", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.first());
        EXPECT_TRUE(select->isEnabled());
        QTest::mouseClick(select, Qt::LeftButton);
    });
    QTest::mouseClick(ui->cmdBrowseApplX, Qt::LeftButton);
    EXPECT_EQ(ui->txtAppl->text(), "C:\\WINDOWS\\NOTEPAD.EXE /p %1");
    EXPECT_TRUE(ui->cmdOKAction->isEnabled());

    // Browsing: the file comes back with its drive letter and " %1"; Exit sets nothing.
    const QString native = world.driveC() + "/WINDOWS/SYSTEM/icons.dll";
    QTimer::singleShot(0, [native] {
        auto* dialog = qobject_cast<editing::FrmAction*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->chooseFile = [native](QWidget*) { return native; };
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdBrowseAppl"), Qt::LeftButton);
        EXPECT_EQ(dialog->findChild<QLineEdit*>("Text1")->text(),
                  "C:\\WINDOWS\\SYSTEM\\icons.dll %1");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    QTest::mouseClick(ui->cmdBrowseApplX, Qt::LeftButton);
    EXPECT_EQ(ui->txtAppl->text(), "C:\\WINDOWS\\SYSTEM\\icons.dll %1");
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
    });
    QTest::mouseClick(ui->cmdBrowseApplX, Qt::LeftButton);
    EXPECT_EQ(ui->txtAppl->text(), "C:\\WINDOWS\\SYSTEM\\icons.dll %1");
    EXPECT_EQ(editing::applicationFileFilter(),
              "Applications (*.exe *.dll);;Applications (*.dll);;Applications (*.exe);;"
              "All Files (*)");
}

TEST_F(EditPanels, DeletingATypeWithOkAndWithCancel) {
    showType("Document Placeholder");
    ui->cmdDeleteExt->trigger();
    ASSERT_TRUE(ui->fraDelete->isVisible());
    EXPECT_FALSE(ui->fraDeleteAction->isVisible());
    EXPECT_EQ(ui->lblFTDelete->text(), "Document Placeholder");
    EXPECT_EQ(ui->lblExtDelete->text(), "DOC DOT");
    EXPECT_TRUE(ui->lblScan->text().endsWith("Registry Backup File: " +
                                             QDir::toNativeSeparators(backupFile(1000))));
    screenshot("delete-panel.png");
    QTest::mouseClick(ui->cmdCancelDelete, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Delete Request Cancelled!");
    EXPECT_FALSE(ui->fraDelete->isVisible());
    EXPECT_TRUE(exists(".doc"));
    EXPECT_FALSE(QFile::exists(backupFile(1000)));

    ui->cmdDeleteExt->trigger();
    QTest::mouseClick(ui->cmdDeleteOKX, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Document Placeholder Deleted!     Backup=Reg1000");
    EXPECT_FALSE(exists(".doc"));
    EXPECT_FALSE(exists("docfile"));
    EXPECT_EQ(tableRowOf(ui->flex1, 0, "DOC"), -1);
    EXPECT_EQ(tableRowOf(ui->flex1, 0, "DOT"), -1);
    EXPECT_EQ(tableRowOf(ui->flex2, 0, "Document Placeholder"), -1);
    EXPECT_GE(tableRowOf(ui->flex1, 0, "TXT"), 0);
    EXPECT_TRUE(ui->txtDesc->text().isEmpty());
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::Nothing);
}

TEST_F(EditPanels, DeletingOneExtensionShortensTheTypesRow) {
    pressRowText(ui->flex1, "LOG");
    ui->cmdDeleteExt->trigger();
    EXPECT_EQ(ui->lblExtDelete->text(), "LOG");
    QTest::mouseClick(ui->cmdDeleteOKX, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "LOG Deleted!     Backup=Reg1000");
    EXPECT_FALSE(exists(".log"));
    EXPECT_TRUE(exists("txtfile"));
    const int row = tableRowOf(ui->flex2, 0, "Text Document");
    ASSERT_GE(row, 0);
    EXPECT_EQ(cell(ui->flex2, row, 3), "TXT");
    EXPECT_EQ(tableRowOf(ui->flex1, 0, "LOG"), -1);
}

TEST_F(EditPanels, DeletingAnActionWithOkAndWithCancel) {
    showType("Text Document");
    clickAction(1);
    QTest::mouseClick(ui->cmdDeleteAction, Qt::LeftButton);
    EXPECT_TRUE(ui->fraDeleteAction->isVisible());
    EXPECT_EQ(ui->lblActionToDelete->text(), "&Print");
    // Cancelling the action panel cancels the deletion and closes both.
    QTest::mouseClick(ui->cmdCancelAction, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Delete Request Cancelled!");
    EXPECT_FALSE(ui->fraAction->isVisible());
    EXPECT_FALSE(ui->fraDelete->isVisible());

    clickAction(1);
    QTest::mouseClick(ui->cmdDeleteAction, Qt::LeftButton);
    QTest::mouseClick(ui->cmdCancelDeleteQ, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Delete Request Cancelled!");
    EXPECT_FALSE(ui->fraAction->isVisible());
    EXPECT_TRUE(exists("txtfile\\Shell\\print"));

    clickAction(1);
    QTest::mouseClick(ui->cmdDeleteAction, Qt::LeftButton);
    QTest::mouseClick(ui->cmdDeleteOKXQ, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "&Print Deleted!    Backup=Reg1000");
    EXPECT_FALSE(exists("txtfile\\Shell\\print"));
    EXPECT_FALSE(ui->fraAction->isVisible());
    EXPECT_FALSE(ui->fraDelete->isVisible());
    EXPECT_EQ(tableRowOf(ui->flex3, 0, "&Print"), -1);
    EXPECT_EQ(world.ctx().state.panel(), editing::PanelOpen::None);
}

TEST_F(EditPanels, TheActionPanelWithDde) {
    showType("Text Document");
    clickAction(1);
    screenshot("action-panel-dde.png");
    EXPECT_TRUE(ui->txtDDEMsg->isEnabled());
}

TEST_F(EditPanels, LinuxTemplateHandsTheActionOverWithoutDde) {
    showType("Text Document");
    clickAction(1); // "&Print", with DDE
    ASSERT_TRUE(ui->chkDDE->isChecked());
    QTest::mouseClick(ui->cmdLinuxAction, Qt::LeftButton);
    EXPECT_EQ(ui->txtActionName->text(), "&Print");
    EXPECT_EQ(ui->txtAppl->text(), "winebrowser \"%1\"");
    EXPECT_FALSE(ui->chkDDE->isChecked());
    EXPECT_TRUE(ui->txtDDEMsg->text().isEmpty());
    EXPECT_FALSE(ui->txtDDETopic->isEnabled());
    ASSERT_TRUE(ui->cmdOKAction->isEnabled());
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    // The DDE step has the last word, as for any change that drops DDE; the backup is made.
    EXPECT_EQ(ui->lblScan->text(), "&Print Updated!");
    EXPECT_EQ(read("txtfile\\Shell\\print\\command"), "winebrowser \"%1\"");
    EXPECT_FALSE(exists("txtfile\\Shell\\print\\ddeexec"));
    QFile backup(backupFile(1000));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_TRUE(backup.readAll().contains("NOTEPAD.EXE /p %1"));

    // Adding: an empty name becomes the template's verb.
    clickActionHeader();
    ASSERT_TRUE(ui->fraAction->isVisible());
    QTest::mouseClick(ui->cmdLinuxAction, Qt::LeftButton);
    EXPECT_EQ(ui->txtActionName->text(), "open");
    ui->txtActionName->setText("linux");
    QTest::mouseClick(ui->cmdLinuxAction, Qt::LeftButton);
    EXPECT_EQ(ui->txtActionName->text(), "linux");
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_EQ(read("txtfile\\Shell\\linux\\command"), "winebrowser \"%1\"");
}
