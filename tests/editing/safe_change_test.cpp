// What a change in the main window backs up and writes: always the entry the detail area shows
// (however the keyboard moved the grid's row), never without its backup, and the description and
// content type as well as the icon and marks.

#include "../backup/backup_fixture.h"
#include "backup/backup_records.h"
#include "backup/update_slots.h"
#include "editing/grid_view.h"
#include "settings/app_folder.h"
#include "support/test_env.h"
#include "ui_main_window.h"
#include "window_fixture.h"

#include "registry/reg_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

class SafeChange : public MainWindowTest {
protected:
    SafeChange() : MainWindowTest(QStringLiteral("safe-change")) {}
    bool hasValue(const QString& key, const QString& value) {
        reg::RegState st;
        st.registry = &world.registry();
        reg::RegValue v;
        return reg::ReadValue(st, key, value, v) == reg::status::Success;
    }
    QString backupFolder() { return world.ctx().AppFolder + "/Backup"; }
    // A Backup folder that cannot be written, whoever runs the test: a file in its place.
    void blockBackups() {
        ASSERT_TRUE(QDir(backupFolder()).removeRecursively());
        QFile blocker(backupFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    void key(QTableView* grid, Qt::Key k) {
        grid->setFocus();
        QTest::keyClick(grid, k);
    }
    QByteArray classes() {
        return reg::exportRegFile(world.registry(), "HKEY_CLASSES_ROOT", reg::RegFormat::Regedit4)
            .bytes;
    }
    // Undo, answering its merge preview with Merge (or Cancel); the preview's summary back.
    QString undo(bool merge, const QString& shot = QString()) {
        QString summary;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            if (auto* label = dialog->findChild<QLabel*>("lblSummary"))
                summary = label->text();
            if (!shot.isEmpty())
                screenshot(shot);
            dialog->findChild<QPushButton*>(merge ? "cmdMerge" : "cmdCancel")->click();
        });
        ui->mnuUndo->trigger();
        return summary;
    }
};

} // namespace

TEST_F(SafeChange, TheKeyboardShowsTheRowItMovesToAndApplyBacksUpThatOne) {
    showType("Big Index");
    ASSERT_EQ(ui->txtDesc->text(), "Big Index");
    const int big = tableRowOf(ui->flex2, 0, "Big Index");
    const QString next = cell(ui->flex2, big + 1, 0);
    ASSERT_EQ(next, "Document Placeholder");

    key(ui->flex2, Qt::Key_Down);
    EXPECT_EQ(editing::currentRow(ui->flex2), big + 1);
    EXPECT_EQ(ui->txtDesc->text(), next); // what is highlighted is what is shown
    EXPECT_EQ(ui->txtRel->text(), "DOC DOT");
    ui->chkAlwaysShow->setChecked(true);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Document Placeholder Updated!   Backup=Reg1000");
    EXPECT_EQ(read("docfile", "AlwaysShowExt"), "*");
    EXPECT_FALSE(hasValue("bigfile", "AlwaysShowExt"));
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.FileType, "Document Placeholder");
    EXPECT_EQ(record.FileExt, "DOC DOT");
    const QByteArray bytes = readFile(record.File);
    EXPECT_TRUE(bytes.contains("[HKEY_CLASSES_ROOT\\docfile]")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains("bigfile"));
    EXPECT_EQ(backup::UpdateSlots::load(1).Handle, "docfile");

    // Up goes back, and the menu backup takes the row shown.
    key(ui->flex2, Qt::Key_Up);
    EXPECT_EQ(ui->txtDesc->text(), "Big Index");
    ui->mnuBackup->trigger();
    ASSERT_TRUE(backup::readBackupRecord("Reg1001", &record));
    EXPECT_EQ(record.FileType, "Big Index");
}

TEST_F(SafeChange, ARowMadeCurrentWithoutShowingItIsNotWhatApplyBacksUp) {
    showExtension("TXT");
    // Locate makes its row current (the arrows go on from there) without showing it.
    ui->Combo1->setCurrentIndex(2); // B
    Q_EMIT ui->Combo1->activated(2);
    const int located = editing::currentRow(ui->flex1);
    ASSERT_GE(located, 0);
    EXPECT_EQ(cell(ui->flex1, located, 0), "BIG");
    EXPECT_EQ(ui->txtExt->text(), "TXT");
    ui->chkQuickView->setChecked(false);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1000");
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.FileExt, "TXT");
    EXPECT_TRUE(readFile(record.File).contains("[HKEY_CLASSES_ROOT\\txtfile\\QuickView]"));

    // The arrows continue from the located row, and show the row they reach.
    key(ui->flex1, Qt::Key_Down);
    EXPECT_EQ(editing::currentRow(ui->flex1), located + 1);
    EXPECT_EQ(ui->txtExt->text(), cell(ui->flex1, located + 1, 0));
}

TEST_F(SafeChange, TabLeavesTheGridsAndAnOpenPanelKeepsTheRow) {
    showType("Text Document");
    world.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&world.window()));
    ui->flex2->setFocus();
    ASSERT_TRUE(ui->flex2->hasFocus());
    const int row = editing::currentRow(ui->flex2);
    QTest::keyClick(ui->flex2, Qt::Key_Tab);
    EXPECT_FALSE(ui->flex2->hasFocus());
    EXPECT_EQ(editing::currentRow(ui->flex2), row);
    EXPECT_FALSE(ui->flex1->tabKeyNavigation());
    EXPECT_FALSE(ui->flex3->tabKeyNavigation());

    // With a panel open the row does not move away from the entry the panel works on.
    world.ctx().state.setPanel(editing::PanelOpen::Delete);
    key(ui->flex2, Qt::Key_Down);
    EXPECT_EQ(editing::currentRow(ui->flex2), row);
    EXPECT_EQ(ui->lblScan->text(), "Please Select Option!");
    world.ctx().state.setPanel(editing::PanelOpen::None);
}

TEST_F(SafeChange, AFailedBackupStopsApplyAndTheActionPanel) {
    showType("Text Document");
    blockBackups();
    ui->chkQuickView->setChecked(false);
    ui->txtIcon->setText("C:\\ICONS\\pic.ico");
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    const QString status = ui->lblScan->text();
    EXPECT_TRUE(status.startsWith("Error!   Text Document Not Updated!   Backup Failed!    "))
        << status.toStdString();
    EXPECT_TRUE(status.contains(QDir::toNativeSeparators(backupFolder()))) << status.toStdString();
    EXPECT_TRUE(exists("txtfile\\QuickView"));
    EXPECT_EQ(read("txtfile\\DefaultIcon"), "icons.dll,1");
    EXPECT_FALSE(ui->mnuUpdate01->isEnabled());
    EXPECT_EQ(backup::UpdateSlots::load(1).Handle.trimmed(), ""); // no slot saved

    // The action panel's OK as well.
    const QRect rect = ui->flex3->visualRect(ui->flex3->model()->index(0, 0));
    QTest::mouseClick(ui->flex3->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_TRUE(ui->fraAction->isVisible());
    ui->txtAppl->setText("C:\\WINDOWS\\WRITE.EXE %1");
    QTest::mouseClick(ui->cmdOKAction, Qt::LeftButton);
    EXPECT_TRUE(ui->lblScan->text().startsWith("Error!   open Not Updated!   Backup Failed!    "))
        << ui->lblScan->text().toStdString();
    EXPECT_EQ(read("txtfile\\Shell\\open\\command"), "C:\\WINDOWS\\NOTEPAD.EXE %1");
    EXPECT_TRUE(backup::listBackupRecords().isEmpty());
}

TEST_F(SafeChange, ApplyWritesTheContentTypeOfTheExtensionShown) {
    showExtension("TXT");
    EXPECT_EQ(ui->txtMIME->text(), "text/plain");
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    ui->txtMIME->selectAll();
    QTest::keyClicks(ui->txtMIME, "text/x-first");
    ASSERT_TRUE(ui->cmdApply->isEnabled());
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1000");
    EXPECT_EQ(read(".txt", "Content Type"), "text/x-first");
    EXPECT_TRUE(readFile(backupFolder() + "/Reg1000.reg").contains("text/plain"));
    EXPECT_EQ(ui->mnuUpdate01->text(), "Text Document");

    // Unchanged: nothing to do; emptied: the value goes.
    ui->chkQuickView->setChecked(false);
    ui->chkQuickView->setChecked(true);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Nothing To Update!");
    ui->txtMIME->clear();
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1001");
    EXPECT_FALSE(hasValue(".txt", "Content Type"));
    EXPECT_EQ(read(".txt"), "txtfile"); // the extension still names its type
    pressRowText(ui->flex1, "LOG");
    pressRowText(ui->flex1, "TXT");
    EXPECT_EQ(ui->txtMIME->text().trimmed(), "");
}

TEST_F(SafeChange, ApplyWritesANewDescriptionAndBothListsShowIt) {
    showType("Text Document");
    ASSERT_FALSE(ui->txtDesc->isReadOnly());
    ui->txtDesc->setText("Plain Text");
    ASSERT_TRUE(ui->cmdApply->isEnabled());
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Plain Text Updated!   Backup=Reg1000");
    EXPECT_EQ(read("txtfile"), "Plain Text");
    EXPECT_GE(tableRowOf(ui->flex2, 0, "Plain Text"), 0);
    EXPECT_LT(tableRowOf(ui->flex2, 0, "Text Document"), 0);
    const int txt = tableRowOf(ui->flex1, 0, "TXT");
    EXPECT_EQ(cell(ui->flex1, txt, 3), "Plain Text");
    EXPECT_EQ(cell(ui->flex1, tableRowOf(ui->flex1, 0, "LOG"), 3), "Plain Text");
    EXPECT_EQ(ui->mnuUpdate01->text(), "Plain Text");
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.FileType, "Text Document"); // what the backup holds
    EXPECT_TRUE(readFile(record.File).contains("@=\"Text Document\""));

    // The next backup names the type by its new description.
    ui->mnuBackup->trigger();
    ASSERT_TRUE(backup::readBackupRecord("Reg1001", &record));
    EXPECT_EQ(record.FileType, "Plain Text");
    EXPECT_EQ(record.FileExt, "LOG TXT");

    // An empty description is refused; a type standing for its own extension keeps its text.
    ui->txtDesc->clear();
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Please Enter Registered File Type!");
    EXPECT_EQ(read("txtfile"), "Plain Text");
    pressRowText(ui->flex2, "Used for all file extensions");
    EXPECT_TRUE(ui->txtDesc->isReadOnly());
}

TEST_F(SafeChange, UndoMergesBackTheLastChangesOneAfterTheOther) {
    const QByteArray before = classes();
    EXPECT_EQ(ui->mnuUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(ui->mnuUndo->text(), "&Undo Last Change");
    ui->mnuUndo->trigger();
    EXPECT_EQ(ui->lblScan->text(), "Nothing To Undo!");

    showType("Text Document");
    ui->chkQuickView->setChecked(false);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    ASSERT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1000");
    ui->txtIcon->setText("C:\\ICONS\\pic.ico");
    ui->chkAlwaysShow->setChecked(false);
    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    ASSERT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1001");

    // Cancel in the preview leaves everything as it is.
    EXPECT_FALSE(undo(false).isEmpty());
    EXPECT_EQ(ui->lblScan->text(), "Undo cancelled: Reg1001");
    EXPECT_EQ(read("txtfile\\DefaultIcon"), "C:\\ICONS\\pic.ico");

    // The last change first: the icon and the mark come back, Quick View stays off.
    const QString summary = undo(true, "undo-merge-preview.png");
    EXPECT_TRUE(summary.contains("would make 2 change(s)")) << summary.toStdString();
    EXPECT_TRUE(ui->lblScan->text().startsWith("Undone: Reg1001 (Text Document)   Merged "))
        << ui->lblScan->text().toStdString();
    EXPECT_TRUE(ui->lblScan->text().contains("made 2 change(s) to the registry"))
        << ui->lblScan->text().toStdString();
    EXPECT_EQ(read("txtfile\\DefaultIcon"), "icons.dll,1");
    EXPECT_EQ(read("txtfile", "AlwaysShowExt"), "*");
    EXPECT_FALSE(exists("txtfile\\QuickView"));
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1001", &record));
    EXPECT_EQ(record.Type, "Undone");
    ASSERT_TRUE(backup::readBackupRecord("Reg1002", &record)); // what the undo replaced
    EXPECT_EQ(record.Type, "Undo");
    EXPECT_TRUE(readFile(record.File).contains("pic.ico"));
    EXPECT_TRUE(ui->txtDesc->text().isEmpty()); // the lists were read again, nothing shown

    // Then the change before it; after both the registry is as it was, byte for byte.
    undo(true);
    EXPECT_TRUE(ui->lblScan->text().startsWith("Undone: Reg1000 (Text Document)"))
        << ui->lblScan->text().toStdString();
    EXPECT_TRUE(exists("txtfile\\QuickView"));
    EXPECT_EQ(classes(), before);
    ui->mnuUndo->trigger();
    EXPECT_EQ(ui->lblScan->text(), "Nothing To Undo!");
    pressRowText(ui->flex2, "Text Document");
    EXPECT_TRUE(ui->chkQuickView->isChecked());
}

TEST_F(SafeChange, TheFileMenuOpensTheBackupFilesAndUndoes) {
    QList<QAction*> items = ui->mnuFile->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_TRUE(items.contains(ui->mnuUndo));
    EXPECT_TRUE(items.contains(ui->mnuBackupFiles));
    EXPECT_EQ(ui->mnuBackupFiles->text(), QString::fromUtf8("Backup &Files\u2026"));
    // Open with no row chosen, where the Backup button is off.
    EXPECT_FALSE(ui->cmdBackSystem->isEnabled());
    EXPECT_TRUE(ui->mnuBackupFiles->isEnabled());
    if (!qEnvironmentVariableIsEmpty("ORVANEX_SCREENSHOT_DIR")) {
        ui->mnuFile->popup(world.window().mapToGlobal(QPoint(10, 20)));
        screenshot("file-menu.png");
        ui->mnuFile->close();
    }
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        title = dialog->objectName();
        QTest::keyClick(dialog, Qt::Key_Escape); // Escape closes it
    });
    ui->mnuBackupFiles->trigger();
    EXPECT_EQ(title, "frmBackup");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SafeChange, AStatusTooLongForTheLineIsCutWithTheWholeTextAsItsToolTip) {
    const QString tip = ui->lblScan->toolTip();
    QString text = "Error!   ";
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("C:\\Some\\Long\\Folder%1 ").arg(i);
    ui->lblScan->setText(text);
    ui->lblScan->repaint();
    EXPECT_EQ(ui->lblScan->toolTip(), text);
    EXPECT_EQ(ui->lblScan->text(), text); // the text itself is kept whole
    ui->lblScan->setText("Short");
    ui->lblScan->repaint();
    EXPECT_EQ(ui->lblScan->toolTip(), tip);
}

TEST_F(SafeChange, AddedExtensionsGoToTheRowOfTheTypeShownNotTheLocatedOne) {
    showType("Text Document");
    const int located = 2; // B
    ui->Combo2->setCurrentIndex(located);
    Q_EMIT ui->Combo2->activated(located);
    ASSERT_EQ(cell(ui->flex2, editing::currentRow(ui->flex2), 0), "Big Index");
    ui->mnuAddExtType->trigger();
    ASSERT_EQ(ui->lblExtsTypes->text(), "LOG TXT");
    QTest::keyClicks(ui->txtNewExtTypes, "ini");
    QTest::mouseClick(ui->cmdOKExtType, Qt::LeftButton);
    ASSERT_EQ(ui->lblScan->text(), "File Extension(s) Added!   ini");
    EXPECT_EQ(cell(ui->flex2, tableRowOf(ui->flex2, 0, "Text Document"), 3), "INI LOG TXT");
    EXPECT_EQ(cell(ui->flex2, tableRowOf(ui->flex2, 0, "Big Index"), 3), "BIG");
}

TEST_F(SafeChange, CtrlTAndCtrlFReachTheSecondCaptionOfTheirLetter) {
    world.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&world.window()));
    QWindow* window = world.window().windowHandle();
    showExtension("TXT");
    ASSERT_EQ(world.ctx().state.selectBy(), editing::SelectBy::FileExtension);
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(world.ctx().state.selectBy(), editing::SelectBy::FileType);

    // Find: the icons' button, or the action panel's when that is up. Only the routing is
    // watched here; what each button does is tested with its panel.
    pressRowText(ui->flex2, "Text Document");
    ASSERT_TRUE(ui->cmdIcons->isEnabled());
    QObject::disconnect(ui->cmdIcons, &QPushButton::clicked, nullptr, nullptr);
    QObject::disconnect(ui->cmdBrowseApplX, &QPushButton::clicked, nullptr, nullptr);
    QSignalSpy icons(ui->cmdIcons, &QPushButton::clicked);
    QSignalSpy application(ui->cmdBrowseApplX, &QPushButton::clicked);
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(icons.count(), 1);
    EXPECT_EQ(application.count(), 0);
    const QRect rect = ui->flex3->visualRect(ui->flex3->model()->index(0, 0));
    QTest::mouseClick(ui->flex3->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_TRUE(ui->fraAction->isVisible());
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(icons.count(), 1);
    EXPECT_EQ(application.count(), 1);
}
