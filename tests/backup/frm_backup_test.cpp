// The backup files window over real backups: listing, sorts, trash, merge after its preview, and
// the main window's lists after a merge.

#include "backup/backup_fixture.h"
#include "backup/backup_records.h"
#include "backup/frm_backup.h"
#include "editing/backup_window_handlers.h"
#include "editing/editing_world.h"
#include "platform/text_editor.h"
#include "settings/settings_store.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::backup;

namespace {

QString setting(const QString& name, const QString& key) {
    return GetSetting(kMainAppName, backupSection(name), key, "99");
}

QString label(FrmBackup& w, const char* name) {
    return w.findChild<QLabel*>(name)->text();
}

QString button(FrmBackup& w) {
    return w.findChild<QPushButton*>("cmdPrint")->text();
}

QStringList column(FrmBackup& w, int c) {
    QStringList out;
    for (const BackupRow& r : w.model()->rows())
        out << r.cells()[c];
    return out;
}

void choose(FrmBackup& w, const QString& file) {
    const int row = w.model()->findFile(file);
    ASSERT_GE(row, 0) << file.toStdString();
    w.MSFlexGrid1_Click(w.model()->index(row, 2)); // any cell of the row chooses it
}

// Three type backups 1000 to 1002; the fixture's types are "afile" (.aaa) and "bfile" (.bbb).
struct Backups {
    test::BackupFixture fx;
    QList<BackupState> states;
    MergePreview seen;
    bool confirm = true;
    explicit Backups(const QString& name) : fx(name) {
        fx.addType("afile", "A File", {".aaa"});
        fx.addType("bfile", "B File", {".bbb"});
        fx.addType("cfile", "C File", {".ccc"});
        fx.load();
        for (const char* type : {"afile", "bfile", "cfile"}) {
            BackupState s;
            fx.backupType(type, s);
            states << s;
        }
    }
    FrmBackup::Services services() {
        FrmBackup::Services s;
        s.openEditor = [](const QString&) { return true; };
        s.confirmMerge = [this](const QString&, const MergePreview& p, QWidget*) {
            seen = p;
            return confirm;
        };
        return s;
    }
};

} // namespace

TEST(FrmBackup, ListsRecordsInNumberOrderAroundAGap) {
    {
        test::BackupFixture empty("frmempty");
        FrmBackup w(&empty.registry(), empty.appFolder, {});
        EXPECT_EQ(w.model()->rowCount(), 0);
        EXPECT_EQ(label(w, "lblCount"), "0");
        EXPECT_EQ(w.windowTitle(), "ORVANEX  Registry Backup Files");
        EXPECT_EQ(label(w, "lblScan"), "File Type / Extension(s) - Registry Backup Files!");
    }
    Backups b("frmlist");
    DeleteSetting(kMainAppName, backupSection("Reg1001"));
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    EXPECT_EQ(column(w, 0), (QStringList{"Reg1000.reg", "Reg1002.reg"}));
    EXPECT_EQ(column(w, 5), (QStringList{"1", "2"}));
    EXPECT_EQ(column(w, 3), (QStringList{"A File", "C File"}));
    EXPECT_EQ(label(w, "lblCount"), "2");
}

TEST(FrmBackup, AHeadingSortsDescendingThenAscending) {
    Backups b("frmsort");
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    w.HeadingClick(3);
    EXPECT_EQ(column(w, 3), (QStringList{"C File", "B File", "A File"}));
    w.HeadingClick(3);
    EXPECT_EQ(column(w, 3), (QStringList{"A File", "B File", "C File"}));
    w.HeadingClick(0);
    EXPECT_EQ(column(w, 0), (QStringList{"Reg1002.reg", "Reg1001.reg", "Reg1000.reg"}));
}

// The data folder whose Trash a file manager restores from (made, as it is in any home).
QString dataHome() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(path);
    return path;
}

TEST(FrmBackup, DeleteSendsTheFileToTheTrashAndFreesItsNumber) {
    dataHome();
    Backups b("frmdelete");
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    const QString path = b.states[1].BackupFile;
    ASSERT_TRUE(QFile::exists(path));
    choose(w, "Reg1001.reg");
    EXPECT_EQ(w.SelectedPath, path);
    EXPECT_EQ(label(w, "lblScan"), "Select Option For " + path);
    w.mnuFile_Click();
    EXPECT_EQ(button(w), "&Delete");
    EXPECT_EQ(label(w, "lblScan"), "                                       Delete Request for "
                                   "Reg1001.reg                                           To "
                                   "Confirm:  Press The Delete Button");
    w.cmdPrint_Click();
    EXPECT_EQ(button(w), "&Print");
    EXPECT_EQ(label(w, "lblScan"), path + " *** Deleted ***");
    EXPECT_FALSE(QFile::exists(path));
    const QString trash = dataHome() + "/Trash";
    EXPECT_TRUE(QFile::exists(trash + "/files/Reg1001.reg"));
    EXPECT_TRUE(QFile::exists(trash + "/info/Reg1001.reg.trashinfo"));
    EXPECT_EQ(setting("Reg1001", "File"), "99");
    EXPECT_EQ(column(w, 0), (QStringList{"Reg1000.reg", "Reg1002.reg", ""}));
    EXPECT_EQ(column(w, 5), (QStringList{"1", "3", "9999999999"}));
    EXPECT_EQ(FindBackupNumber(nextNumber()), 1001);
}

TEST(FrmBackup, AClickElsewhereDropsAPendingRequest) {
    Backups b("frmdrop");
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    choose(w, "Reg1000.reg");
    w.mnuRestore_Click();
    EXPECT_EQ(button(w), "&Merge");
    EXPECT_EQ(w.findChild<QPushButton*>("cmdPrint")->toolTip(),
              "Merge the Backup File with the Windows Registry!");
    w.HeadingClick(1);
    EXPECT_EQ(button(w), "&Print");
    w.mnuNotepad_Click();
    EXPECT_EQ(label(w, "lblScan"), "Edit for " + w.SelectedPath);
}

TEST(FrmBackup, MergeShowsExactlyTheChangeAndWritesOnlyWhenConfirmed) {
    Backups b("frmmerge");
    b.fx.write("bfile", QString(), "Changed File");
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    choose(w, "Reg1001.reg");
    w.mnuRestore_Click();
    b.confirm = false;
    w.cmdPrint_Click();
    ASSERT_TRUE(b.seen.readable);
    ASSERT_EQ(b.seen.diff.changes.size(), 1u);
    EXPECT_EQ(reg::describeRegChange(b.seen.diff.changes[0]),
              "change value [HKEY_CLASSES_ROOT\\bfile] @: \"Changed File\" -> \"B File\"");
    EXPECT_EQ(setting("Reg1001", "Type"), "Backup");
    EXPECT_EQ(previewMerge(b.fx.registry(), w.SelectedPath).diff.changes.size(), 1u);

    choose(w, "Reg1001.reg");
    w.mnuRestore_Click();
    b.confirm = true;
    w.cmdPrint_Click();
    EXPECT_TRUE(previewMerge(b.fx.registry(), w.SelectedPath).diff.changes.empty());
    EXPECT_EQ(setting("Reg1001", "Type"), "Merged");
    EXPECT_EQ(setting("Reg1001", "Merge"), "yes");
    EXPECT_EQ(column(w, 1)[1], "Merged");
    EXPECT_EQ(setting("Reg1000", "Type"), "Backup");
}

TEST(FrmBackup, AnUnreadableBackupIsNotMergedNorMarked) {
    Backups b("frmunreadable");
    QFile::remove(b.states[0].BackupFile);
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, b.services());
    choose(w, "Reg1000.reg");
    w.mnuRestore_Click();
    w.cmdPrint_Click();
    EXPECT_TRUE(label(w, "lblScan").contains("nothing was merged"));
    EXPECT_EQ(setting("Reg1000", "Type"), "Backup");
    EXPECT_EQ(column(w, 1)[0], "Backup");
}

TEST(BackupHandlers, AMergedBackupBringsItsExtensionBackIntoTheLists) {
    test::EditingWorld world("frmreload");
    world.addStandardTypes();
    world.start();
    const QString dir = test::freshDir("frmreloadfiles");
    QFile file(dir + "/Reg1000.reg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.qqq]\r\n@=\"qqqfile\"\r\n\r\n"
               "[HKEY_CLASSES_ROOT\\qqqfile]\r\n@=\"Qqq Document\"\r\n");
    file.close();
    SaveSetting(kMainAppName, "NextNumber", "NextNumber", "1001");
    writeBackupRecord({"Reg1000", file.fileName(), "Delete", "Qqq Document", "QQQ", "x", "no", ""});
    const MergeOutcome outcome = mergeBackupFile(world.registry(), file.fileName());
    ASSERT_TRUE(outcome.complete) << outcome.message.toStdString();
    ASSERT_TRUE(markRecordMerged("Reg1000"));

    RefreshMergedBackups(world.ctx());
    EXPECT_EQ(setting("Reg1000", "Merge"), "no");
    EXPECT_EQ(setting("Reg1000", "Type"), "Merged");
    EXPECT_GE(test::tableRowOf(world.ctx().ui->flex1, 0, "QQQ"), 0);
    EXPECT_GE(test::tableRowOf(world.ctx().ui->flex2, 0, "Qqq Document"), 0);
    // The list stays sorted.
    const QStringList exts = test::column(world.ctx().ui->flex1, 0);
    QStringList sorted = exts;
    std::stable_sort(sorted.begin(), sorted.end());
    EXPECT_EQ(exts, sorted);
}

TEST(TextEditor, ExecLinesBecomeArgumentLists) {
    using platform::desktopExecCommand;
    EXPECT_EQ(desktopExecCommand("gedit %U", "/a b/x;rm.reg"),
              (QStringList{"gedit", "/a b/x;rm.reg"}));
    EXPECT_EQ(desktopExecCommand("\"/opt/my editor/ed\" --new %f %i", "f"),
              (QStringList{"/opt/my editor/ed", "--new", "f"}));
    EXPECT_EQ(desktopExecCommand("mousepad", "f"), (QStringList{"mousepad", "f"}));
    EXPECT_TRUE(desktopExecCommand("\"unclosed %f", "f").isEmpty());
    EXPECT_EQ(platform::textEditorCommand("f", "/nonexistent/pelusa").last(), "f");
}

TEST(FrmBackup, PrintShowsTheListWithTheListLayout) {
    Backups b("frmprint");
    FrmBackup::Services services = b.services();
    services.previewPrint = true;
    FrmBackup w(&b.fx.registry(), b.fx.appFolder, services);
    int previews = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            ++previews;
            d->reject();
        }
    });
    closer.start(10);
    w.cmdPrint_Click();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(label(w, "lblScan"), "Finished Printing Registry Backup Files!");
}
