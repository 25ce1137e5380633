// orvx report, diff, merge and delete-backup as scripts call them.

#include "pdf_text.h"
#include "settings/settings_store.h"
#include "support/test_env.h"
#include "tools/orvx_run.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace orvanex;

using orvanex::test::OrvxRun;
using orvanex::test::runOrvx;
using orvanex::test::writeFile;

namespace {

void record(const QString& name, const QString& file) {
    const QString app = kMainAppName, section = "Backup\\" + name;
    SaveSetting(app, section, "File", file);
    SaveSetting(app, section, "Type", "Change");
    SaveSetting(app, section, "DateTime", "04/03/2026 13:05:09");
    SaveSetting(app, section, "FileType", "Text Document");
    SaveSetting(app, section, "FileExt", "TXT");
}

QString setting(const QString& section, const QString& key) {
    return GetSetting(kMainAppName, section, key, "99");
}

} // namespace

TEST(OrvxReport, ListsAndDetailsOfTheRegistryIntoPdf) {
    const QString dir = test::freshDir("orvxreport");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/start.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n"
                                  "[HKEY_CLASSES_ROOT\\.log]\r\n@=\"txtfile\"\r\n"
                                  "[HKEY_CLASSES_ROOT\\txtfile]\r\n@=\"Text Document\"\r\n"
                                  "[HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]\r\n"
                                  "@=\"notepad.exe %1\"\r\n");
    ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/start.reg"}).code, 0);
    OrvxRun r = runOrvx({"--hive", hive, "report", "extensions", dir + "/ext.pdf"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression("ext.pdf: \\d+ pages?\\n")));
    const QString ext = test::pdfText(dir + "/ext.pdf", 1, 1);
    EXPECT_TRUE(ext.contains(QRegularExpression("Registered File Extensions .* Page 1")));
    EXPECT_TRUE(ext.contains(QRegularExpression("\\n +TXT +Text Document\\n")));

    ASSERT_EQ(runOrvx({"--hive", hive, "report", "types", dir + "/types.pdf"}).code, 0);
    EXPECT_TRUE(
        test::pdfText(dir + "/types.pdf").contains(QRegularExpression("Text Document +LOG TXT")));

    ASSERT_EQ(runOrvx({"--hive", hive, "report", "detail", ".txt", dir + "/txt.pdf"}).code, 0);
    const QString detail = test::pdfText(dir + "/txt.pdf");
    EXPECT_TRUE(detail.contains(QRegularExpression("File Extension: +TXT")));
    EXPECT_TRUE(detail.contains(QRegularExpression("Action: +open")));
    ASSERT_EQ(
        runOrvx({"--hive", hive, "report", "detail", "Text Document", dir + "/type.pdf"}).code, 0);
    EXPECT_TRUE(test::pdfText(dir + "/type.pdf").contains("File Extensions:"));

    r = runOrvx({"--hive", hive, "report", "detail", ".nosuchext", dir + "/none.pdf"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("no extension .nosuchext"));
    EXPECT_FALSE(QFile::exists(dir + "/none.pdf"));
    EXPECT_EQ(runOrvx({"--hive", hive, "report", "everything", dir + "/x.pdf"}).code, 1);
    EXPECT_EQ(runOrvx({"--hive", hive, "report", "extensions"}).code, 1);
}

TEST(OrvxReport, DiffAndMergeOfARecordedBackup) {
    const QString dir = test::freshDir("orvxmerge");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/start.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                                  "@=\"Text Document\"\r\n\"EditFlags\"=dword:00000000\r\n");
    ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/start.reg"}).code, 0);
    ASSERT_EQ(runOrvx({"--hive", hive, "export", "HKCR\\txtfile", dir + "/Reg1000.reg"}).code, 0);
    record("Reg1000", dir + "/Reg1000.reg");

    // A backup that matches the registry changes nothing.
    OrvxRun r = runOrvx({"--hive", hive, "diff", dir + "/Reg1000.reg"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "");

    writeFile(dir + "/change.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                                   "@=\"Changed\"\r\n");
    ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/change.reg"}).code, 0);
    r = runOrvx({"--hive", hive, "diff", dir + "/Reg1000.reg"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "change value [HKEY_CLASSES_ROOT\\txtfile] @: \"Changed\" -> \"Text "
                     "Document\"\n");

    r = runOrvx({"--hive", hive, "merge", "Reg1000"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Counted as the diff counts: one change, not the keys and values the file names.
    EXPECT_EQ(r.out, "Merged " + dir + "/Reg1000.reg: made 1 change(s) to the registry\n");
    EXPECT_EQ(setting("Backup\\Reg1000", "Type"), "Merged");
    EXPECT_EQ(setting("Backup\\Reg1000", "Merge"), "yes");
    EXPECT_EQ(runOrvx({"--hive", hive, "diff", dir + "/Reg1000.reg"}).code, 0);
}

TEST(OrvxReport, AMergeThatCannotReadOrWriteAllIsNotMarked) {
    const QString dir = test::freshDir("orvxpartial");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/Reg1001.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.abc]\r\n"
                                    "@=\"abcfile\"\r\n\"Bad\"=dword:nothex\r\n");
    record("Reg1001", dir + "/Reg1001.reg");
    OrvxRun r = runOrvx({"--hive", hive, "diff", dir + "/Reg1001.reg"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains("line 5 would be skipped")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("\"Bad\"=dword:nothex"));

    r = runOrvx({"--hive", hive, "merge", "Reg1001"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains("in part")) << r.err.toStdString();
    EXPECT_EQ(setting("Backup\\Reg1001", "Type"), "Change");
    EXPECT_EQ(setting("Backup\\Reg1001", "Merge"), "99");

    record("Reg1002", dir + "/gone.reg");
    r = runOrvx({"--hive", hive, "merge", "Reg1002"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("nothing was merged")) << r.err.toStdString();
    EXPECT_EQ(setting("Backup\\Reg1002", "Type"), "Change");
    writeFile(dir + "/foreign.reg", "hello\r\n");
    record("Reg1003", dir + "/foreign.reg");
    EXPECT_EQ(runOrvx({"--hive", hive, "merge", "Reg1003"}).code, 1);
    EXPECT_EQ(setting("Backup\\Reg1003", "Type"), "Change");
    EXPECT_EQ(runOrvx({"--hive", hive, "diff", dir + "/foreign.reg"}).code, 1);
}

TEST(OrvxReport, DeleteBackupTrashesTheFileBeforeDroppingItsRecord) {
    const QString dir = test::freshDir("orvxdelbackup");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/Reg1010.reg",
              "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.abc]\r\n@=\"abcfile\"\r\n");
    record("Reg1010", dir + "/Reg1010.reg");

    OrvxRun r = runOrvx({"--hive", hive, "delete-backup", "Reg1010"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, dir + "/Reg1010.reg *** Deleted ***\n");
    EXPECT_FALSE(QFile::exists(dir + "/Reg1010.reg"));
    const QString trashed = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/Reg1010.reg";
    EXPECT_TRUE(QFile::exists(trashed)) << trashed.toStdString();
    EXPECT_EQ(setting("Backup\\Reg1010", "File"), "99");

    // A file that cannot go to the trash (no trash can be made below a file) keeps its record.
    writeFile(dir + "/Reg1011.reg", "REGEDIT4\r\n");
    record("Reg1011", dir + "/Reg1011.reg");
    test::OrvxSetup noTrash;
    noTrash.env.insert("XDG_DATA_HOME", dir + "/Reg1011.reg/data");
    r = runOrvx({"--hive", hive, "delete-backup", "Reg1011"}, noTrash);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("could not be moved to the trash")) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir + "/Reg1011.reg"));
    EXPECT_EQ(setting("Backup\\Reg1011", "File"), dir + "/Reg1011.reg");

    // A record whose file is already gone is dropped; no record and no file is refused.
    record("Reg1012", dir + "/gone.reg");
    EXPECT_EQ(runOrvx({"--hive", hive, "delete-backup", "Reg1012"}).code, 0);
    EXPECT_EQ(setting("Backup\\Reg1012", "File"), "99");
    r = runOrvx({"--hive", hive, "delete-backup", "Reg1012"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("no backup Reg1012")) << r.err.toStdString();
    EXPECT_EQ(runOrvx({"--hive", hive, "delete-backup", "backup"}).code, 1); // a usage error
}

TEST(OrvxReport, TheBackupsReportHasColumnTitlesAndEveryExtension) {
    const QString dir = test::freshDir("orvxbackups");
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QStringLiteral("W%1").arg(i, 2, 10, QChar('0'));
    const QString app = kMainAppName, section = "Backup\\Reg1020";
    SaveSetting(app, "NextNumber", "NextNumber", "1021");
    SaveSetting(app, section, "File", dir + "/Reg1020.reg");
    SaveSetting(app, section, "Type", "Change");
    SaveSetting(app, section, "DateTime", "04/03/2026 13:05:09");
    SaveSetting(app, section, "FileType", "Many Extensions");
    SaveSetting(app, section, "FileExt", many.join(' '));
    const OrvxRun r = runOrvx({"--hive", dir + "/r.hive", "report", "backups", dir + "/b.pdf"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString text = test::pdfText(dir + "/b.pdf");
    EXPECT_TRUE(text.contains(QRegularExpression("Backup File +Type +Date/Time +File Type +File "
                                                 "Extension\\(s\\)")))
        << text.toStdString();
    for (const QString& ext : many)
        EXPECT_TRUE(text.contains(QRegularExpression("\\b" + ext + "\\b"))) << ext.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2026))) << "nothing cut";
}
