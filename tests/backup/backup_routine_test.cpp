// The backup routine: numbers, records, the assembled file and the failure texts.

#include "backup/backup_file.h"
#include "backup/backup_fixture.h"
#include "backup/backup_records.h"
#include "settings/settings_store.h"

#include "support/test_env.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

QString setting(const QString& section, const QString& key) {
    return GetSetting(kMainAppName, section, key, "99");
}

// The blocks of an export without its "REGEDIT4" and blank header lines.
QByteArray body(const QByteArray& exported) {
    EXPECT_TRUE(exported.startsWith("REGEDIT4\r\n\r\n"));
    return exported.mid(12);
}

} // namespace

TEST(Backup, FirstBackupIsReg1000AndAdvancesTheCounter) {
    BackupFixture f("first");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    backup::BackupState state;
    const QString status = f.backupExtension("TXT", state);
    const QString path = QDir::toNativeSeparators(f.backupFolder() + "/Reg1000.reg");
    EXPECT_EQ(status, path + " Contains Text Document File Extension Registry Backup");
    EXPECT_EQ(state.BackupResult, "OK");
    EXPECT_EQ(state.BackupName, "Reg1000");
    EXPECT_EQ(state.BackupFile, path);
    EXPECT_EQ(setting("NextNumber", "NextNumber"), "1001");
    // The record's keys and their order.
    EXPECT_EQ(setting("Backup\\Reg1000", "File"), path);
    EXPECT_EQ(setting("Backup\\Reg1000", "Type"), "Backup");
    EXPECT_EQ(setting("Backup\\Reg1000", "FileType"), "Text Document");
    EXPECT_EQ(setting("Backup\\Reg1000", "FileExt"), "TXT");
    EXPECT_NE(setting("Backup\\Reg1000", "DateTime"), "99");
    EXPECT_EQ(setting("Backup\\Reg1000", "Merge"), "no");
    const QByteArray ini = readFile(settingsFilePath(kMainAppName));
    qsizetype at = ini.indexOf("[Backup\\\\Reg1000]");
    if (at < 0)
        at = ini.indexOf("Reg1000]");
    ASSERT_GE(at, 0) << ini.toStdString();
    qsizetype last = at;
    for (const char* key : {"File=", "Type=", "FileType=", "FileExt=", "DateTime=", "Merge="}) {
        const qsizetype k = ini.indexOf(QByteArray("\n") + key, at);
        EXPECT_GT(k, last) << key;
        last = k;
    }
    // One header, the extension's blocks, then the type's.
    EXPECT_EQ(readFile(path), f.exportOf(".txt") + body(f.exportOf("txtfile")));
    // Nothing left behind but the backup and the lock.
    EXPECT_EQ(QDir(f.backupFolder()).entryList(QDir::Files), QStringList{"Reg1000.reg"});
}

TEST(Backup, QuietBackupLeavesTheStatusToTheCaller) {
    BackupFixture f("quiet");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    backup::BackupState state;
    state.QuietBackup = 1;
    EXPECT_EQ(f.backupExtension("TXT", state), "");
    EXPECT_EQ(state.BackupResult, "OK");
    // Failures are still told.
    EXPECT_EQ(f.backupExtension("NOPE", state),
              "Find Registry Entry Error For File Extension NOPE");
    EXPECT_EQ(state.BackupResult, "XX");
    EXPECT_EQ(state.BackupName, "XXXX");
}

TEST(Backup, FreedNumberIsReusedAndTheCounterKept) {
    BackupFixture f("reuse");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    backup::BackupState state;
    for (int n = 1000; n <= 1004; ++n) {
        f.backupExtension("TXT", state);
        ASSERT_EQ(state.BackupName, backup::backupName(n));
    }
    // The backup files window deletes file and record together.
    DeleteSetting(kMainAppName, "Backup\\Reg1002");
    QFile::remove(f.backupFolder() + "/Reg1002.reg");
    EXPECT_EQ(backup::peekBackupNumber(f.backupFolder()), 1002);
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1002");
    EXPECT_EQ(setting("NextNumber", "NextNumber"), "1005");
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1005");
    EXPECT_EQ(setting("NextNumber", "NextNumber"), "1006");
    QStringList names;
    for (const backup::BackupRecord& r : backup::listBackupRecords())
        names << r.Name;
    EXPECT_EQ(names,
              QStringList({"Reg1000", "Reg1001", "Reg1002", "Reg1003", "Reg1004", "Reg1005"}));
}

TEST(Backup, NeverOverwritesAFileThatExists) {
    BackupFixture f("exists");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    // A second copy of the program left Reg1000 and Reg1001 without records here; Reg1003 is a
    // freed number whose file is still there.
    for (const char* name : {"Reg1000.reg", "Reg1001.reg"}) {
        QFile other(f.backupFolder() + "/" + name);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("theirs");
    }
    backup::BackupState state;
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1002");
    EXPECT_EQ(setting("NextNumber", "NextNumber"), "1003");
    EXPECT_EQ(readFile(f.backupFolder() + "/Reg1000.reg"), "theirs");
    EXPECT_EQ(readFile(f.backupFolder() + "/Reg1001.reg"), "theirs");
    // A freed number (no record) whose file exists is skipped for the next free one.
    SaveSetting(kMainAppName, "NextNumber", "NextNumber", "1005");
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1003");
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1004");
    f.backupExtension("TXT", state);
    EXPECT_EQ(state.BackupName, "Reg1005");
    EXPECT_EQ(readFile(f.backupFolder() + "/Reg1000.reg"), "theirs");
}

TEST(Backup, TypeNameEqualToKeyNameExportsTheExtensionAlone) {
    BackupFixture f("samekey");
    f.write(".xyz", "Content Type", "text/xyz"); // no type named: TypeName is ".xyz"
    f.load();
    backup::BackupState state;
    f.backupExtension("XYZ", state);
    ASSERT_EQ(state.BackupResult, "OK");
    EXPECT_EQ(readFile(state.BackupFile), f.exportOf(".xyz"));
}

TEST(Backup, MissingExtensionKeyKeepsTheTypeExportWhole) {
    BackupFixture f("missingext");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    ASSERT_EQ(reg::DeleteKeyTree(f.state(), ".txt"), 0);
    backup::BackupState state;
    f.backupExtension("TXT", state);
    ASSERT_EQ(state.BackupResult, "OK");
    EXPECT_EQ(readFile(state.BackupFile), f.exportOf("txtfile"));
    // Neither key: no file, no record.
    ASSERT_EQ(reg::DeleteKeyTree(f.state(), "txtfile"), 0);
    EXPECT_EQ(f.backupExtension("TXT", state), "Find Registry Entry Error For File Extension TXT");
    EXPECT_EQ(state.BackupResult, "XX");
    EXPECT_EQ(state.BackupName, "XXXX");
    EXPECT_EQ(setting("NextNumber", "NextNumber"), "1001");
}

TEST(Backup, TypeModeTakesEveryExtensionInListOrder) {
    BackupFixture f("typemode");
    f.addType("docfile", "Document", {".doc", ".dot", ".rtf"});
    f.write(".doc\\ShellNew", "FileName", "winword.doc");
    f.load();
    backup::BackupState state;
    const QString status = f.backupType("docfile", state);
    ASSERT_EQ(state.BackupResult, "OK");
    EXPECT_EQ(status, state.BackupFile + " Contains Document File Type Registry Backup");
    EXPECT_EQ(setting("Backup\\Reg1000", "FileExt"), "DOC DOT RTF");
    EXPECT_EQ(readFile(state.BackupFile), f.exportOf(".doc") + body(f.exportOf("docfile")) +
                                              body(f.exportOf(".dot")) + body(f.exportOf(".rtf")));
}

TEST(Backup, TypeModeKeepsEveryWordOfALongList) {
    BackupFixture f("sixty");
    QStringList exts;
    for (int i = 0; i < 60; ++i)
        exts << QStringLiteral(".e%1").arg(i, 2, 10, QLatin1Char('0'));
    f.addType("manyfile", "Many", exts);
    f.load();
    backup::BackupState state;
    f.backupType("manyfile", state);
    ASSERT_EQ(state.BackupResult, "OK");
    QByteArray expected = f.exportOf(".e00") + body(f.exportOf("manyfile"));
    for (int i = 1; i < 60; ++i)
        expected += body(f.exportOf(exts[i]));
    EXPECT_EQ(readFile(state.BackupFile), expected);
}

TEST(Backup, TypeModeFailures) {
    BackupFixture f("typefail");
    f.addType("docfile", "Document", {".doc"});
    f.load();
    backup::BackupState state;
    backup::BackupRoutine routine(f.registry(), f.extensions, f.appFolder);
    // Unknown words are skipped; none known at all is the error with the list.
    EXPECT_EQ(routine.run({backup::BackupRequest::Mode::FileType, "ABC DEF", "X"}, state),
              "Find Registry Entry Error For File Extensions ABC DEF");
    EXPECT_EQ(routine.run({backup::BackupRequest::Mode::FileType, "", "X"}, state),
              "Find Registry Entry Error For File Extensions ");
    EXPECT_EQ(state.BackupResult, "XX");
    routine.run({backup::BackupRequest::Mode::FileType, "ABC  DOC ", "Document"}, state);
    EXPECT_EQ(state.BackupResult, "OK");
    EXPECT_EQ(readFile(state.BackupFile), f.exportOf(".doc") + body(f.exportOf("docfile")));
}

TEST(Backup, UnwritableFolderWritesNoRecord) {
    BackupFixture f("unwritable");
    f.addType("txtfile", "Text Document", {".txt"});
    f.load();
    // The backup folder is a file: nothing can be written there.
    QDir(f.backupFolder()).removeRecursively();
    QFile blocker(f.backupFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    backup::BackupState state;
    EXPECT_EQ(f.backupExtension("TXT", state), "");
    EXPECT_EQ(state.BackupResult, "XX");
    EXPECT_TRUE(backup::listBackupRecords().isEmpty());
}

TEST(BackupNumber, FindBackupNumberBounds) {
    resetSettings();
    EXPECT_EQ(backup::FindBackupNumber(1000), 1000);
    EXPECT_EQ(backup::FindBackupNumber(1003), 1000);
    SaveSetting(kMainAppName, "Backup\\Reg1000", "File", "x");
    SaveSetting(kMainAppName, "Backup\\Reg1001", "File", "x");
    EXPECT_EQ(backup::FindBackupNumber(1003), 1002);
    EXPECT_EQ(backup::FindBackupNumber(1002), 1002);
    EXPECT_EQ(backup::FindBackupNumber(1001), 1001);
    EXPECT_EQ(backup::FindBackupNumber(1003, [](int n) { return n == 1002; }), 1003);
    // The search gives up after 9000 numbers.
    EXPECT_EQ(backup::FindBackupNumber(20000, [](int) { return true; }), 10000);
    // A record whose "File" is the missing mark counts as absent.
    SaveSetting(kMainAppName, "Backup\\Reg1000", "File", "99");
    EXPECT_EQ(backup::FindBackupNumber(1003), 1000);
    // Past four digits the numbers still compare as numbers.
    SaveSetting(kMainAppName, "Backup\\Reg1000", "File", "x");
    EXPECT_EQ(backup::FindBackupNumber(10000, [](int n) { return n < 9999; }), 9999);
    resetSettings();
    SaveSetting(kMainAppName, "NextNumber", "NextNumber", " 1234 ");
    EXPECT_EQ(backup::nextNumber(), 1234);
    SaveSetting(kMainAppName, "NextNumber", "NextNumber", "junk");
    EXPECT_EQ(backup::nextNumber(), 1000);
}

TEST(BackupFile, NewFileNeverReplacesOneAndLeavesNothingBeside) {
    const QString dir = freshDir("newfile");
    const QString path = dir + "/Reg1000.reg";
    ASSERT_TRUE(backup::writeNewFile(path, "first"));
    EXPECT_EQ(readFile(path), "first");
    EXPECT_FALSE(backup::writeNewFile(path, "second"));
    EXPECT_EQ(readFile(path), "first");
    EXPECT_FALSE(backup::writeNewFile(dir + "/missing/Reg1001.reg", "x"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"Reg1000.reg"});
    EXPECT_TRUE(backup::writeNewFile(dir + "/empty.reg", QByteArray()));
    EXPECT_TRUE(QFile::exists(dir + "/empty.reg"));
}
