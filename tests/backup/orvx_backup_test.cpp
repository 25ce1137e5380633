// orvx backup and the edits as scripts use them: a backup merged back restores the registry byte
// for byte, and processes taking backups at once never share a number or overwrite a file.

#include "backup/backup_fixture.h"
#include "backup/backup_records.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace orvanex;
using namespace orvanex::test;

namespace {

struct OrvxRun {
    int code = -1;
    QString out;
    QString err;
};

class OrvxWorld {
public:
    explicit OrvxWorld(const QString& name) : dir(freshDir(name)), hive(dir + "/r.hive") {
        resetSettings();
    }
    OrvxRun run(const QStringList& args) const {
        QProcess p;
        p.setWorkingDirectory(dir);
        p.start(QStringLiteral(ORVX_PROGRAM), QStringList{"--hive", hive} + args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    void importText(const QByteArray& text) const {
        QFile f(dir + "/in.reg");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        const OrvxRun r = run({"import", dir + "/in.reg"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    // A command that must succeed with `out` as all it prints.
    void expectDone(const QStringList& args, const QString& out) const {
        const OrvxRun r = run(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, out);
    }
    // What a command prints holds each of `parts`.
    void expectShown(const QStringList& args, const QStringList& parts) const {
        const OrvxRun r = run(args);
        for (const QString& part : parts)
            EXPECT_TRUE(r.out.contains(part))
                << part.toStdString() << " in " << r.out.toStdString();
    }
    QByteArray exportClasses(const QString& name) const {
        const OrvxRun r = run({"export", "HKEY_CLASSES_ROOT", dir + "/" + name, "--regedit4"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return readFile(dir + "/" + name);
    }
    QString dir;
    QString hive;
};

const QByteArray kClasses =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.doc]\r\n@=\"docfile\"\r\n"
    "\"Content Type\"=\"application/msword\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.doc\\ShellNew]\r\n\"FileName\"=\"winword.doc\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.dot]\r\n@=\"docfile\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.rtf]\r\n@=\"docfile\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile]\r\n@=\"Word Document\"\r\n"
    "\"EditFlags\"=hex:00,00,01,00\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile\\DefaultIcon]\r\n@=\"winword.exe,1\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile\\Shell]\r\n@=\"open\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile\\Shell\\open\\command]\r\n"
    "@=\"winword.exe \\\"%1\\\"\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile\\Shell\\print\\ddeexec]\r\n"
    "@=\"[FilePrint]\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\docfile\\Shell\\print\\ddeexec\\application]\r\n"
    "@=\"WinWord\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\txtfile]\r\n@=\"Text Document\"\r\n\r\n";

} // namespace

TEST(OrvxBackup, MergingABackupRestoresTheRegistryByteForByte) {
    OrvxWorld w("merge");
    w.importText(kClasses);
    const QByteArray before = w.exportClasses("before.reg");
    ASSERT_FALSE(before.isEmpty());

    OrvxRun r = w.run({"backup", "docfile"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString backupFile = r.out.trimmed();
    EXPECT_EQ(backupFile, QDir::toNativeSeparators(w.dir + "/Backup/Reg1000.reg"));

    r = w.run({"set", "docfile", "--icon", "shell32.dll,4", "--quick-view", "yes", "--always-show",
               "yes"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Word Document Updated!   Backup=Reg1001\n");
    EXPECT_NE(w.exportClasses("changed.reg"), before);

    w.importText("REGEDIT4\r\n\r\n[-HKEY_CLASSES_ROOT\\.doc]\r\n\r\n[-HKEY_CLASSES_ROOT\\.dot]"
                 "\r\n\r\n[-HKEY_CLASSES_ROOT\\.rtf]\r\n\r\n[-HKEY_CLASSES_ROOT\\docfile]\r\n\r\n");
    r = w.run({"import", backupFile});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(w.exportClasses("after.reg"), before);

    // The change's own backup restores it as well.
    w.importText("REGEDIT4\r\n\r\n[-HKEY_CLASSES_ROOT\\docfile]\r\n\r\n");
    r = w.run({"import", w.dir + "/Backup/Reg1001.reg"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(w.exportClasses("after2.reg"), before);

    r = w.run({"backups"});
    ASSERT_EQ(r.code, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Reg1000\tBackup\t"));
    EXPECT_TRUE(lines[0].endsWith("\tWord Document\tDOC DOT RTF"));
    EXPECT_TRUE(lines[1].startsWith("Reg1001\tChange\t"));
}

TEST(OrvxBackup, ProcessesBackingUpAtOnceNeverShareANumber) {
    OrvxWorld w("together");
    w.importText(kClasses);
    QDir().mkpath(w.dir + "/Backup");
    {
        QFile theirs(w.dir + "/Backup/Reg1001.reg");
        ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
        theirs.write("theirs");
    }
    constexpr int kProcesses = 6;
    std::vector<std::unique_ptr<QProcess>> procs;
    for (int i = 0; i < kProcesses; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setWorkingDirectory(w.dir);
        p->start(QStringLiteral(ORVX_PROGRAM),
                 {"--hive", w.hive, "backup", i % 2 ? "docfile" : ".txt"});
        procs.push_back(std::move(p));
    }
    QSet<QString> paths;
    for (auto& p : procs) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        paths.insert(QString::fromUtf8(p->readAllStandardOutput()).trimmed());
    }
    EXPECT_EQ(paths.size(), kProcesses);
    EXPECT_FALSE(paths.contains(QDir::toNativeSeparators(w.dir + "/Backup/Reg1001.reg")));
    EXPECT_EQ(readFile(w.dir + "/Backup/Reg1001.reg"), "theirs");
    for (const QString& path : paths)
        EXPECT_TRUE(readFile(path).startsWith("REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\."))
            << path.toStdString();
    EXPECT_EQ(backup::listBackupRecords().size(), kProcesses);
    EXPECT_EQ(backup::nextNumber(), 1000 + kProcesses + 1);
}

TEST(OrvxBackup, EditsReportTheirStatusAndExitStatus) {
    OrvxWorld w("edits");
    w.importText(kClasses);
    w.expectDone({"add-type", "Notes", "nte .NTX", "--always-show"}, "Notes Added!\n");
    w.expectShown({"show", "NTXnteFileExt"},
                  {"Extensions:\tNTE NTX\n", "Always show extension:\tyes\n"});

    OrvxRun r = w.run({"add-type", "Other", "abc doc"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "orvx: **Error** The File Extension Existed In Another File Type!   doc\n");
    EXPECT_TRUE(r.out.isEmpty());

    w.expectDone({"add-extensions", "txtfile", "log ini"}, "File Extension(s) Added!   log ini\n");
    w.expectShown({"show", "txtfile"}, {"Extensions:\tINI LOG TXT\n"});

    r = w.run({"add-extensions", "txtfile", "log"});
    EXPECT_EQ(r.code, 1);
    r = w.run({"add-extensions", "nosuchfile", "log"});
    EXPECT_EQ(r.code, 1);
    r = w.run({"set", "txtfile"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Nothing To Update!\n");
    r = w.run({"set", "txtfile", "--icon", "C:\\NOWHERE\\x.ico"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "orvx: C:\\NOWHERE\\x.ico     (Icon File Does Not Exist!)     Not Updated\n");
    r = w.run({"set", "txtfile", "--quick-view", "maybe"});
    EXPECT_EQ(r.code, 1);
    r = w.run({"backup", ".nosuch"});
    EXPECT_EQ(r.code, 1);
}

TEST(OrvxBackup, SetChangesTheDescriptionAndTheContentTypeAfterTheirBackup) {
    OrvxWorld w("set-texts");
    w.importText(kClasses);
    // A type named by its description, as orvx show takes it.
    w.expectDone({"set", "Word Document", "--description", "Word 6 Document"},
                 "Word 6 Document Updated!   Backup=Reg1000\n");
    w.expectShown({"show", "docfile"}, {"Word 6 Document"});
    EXPECT_TRUE(readFile(w.dir + "/Backup/Reg1000.reg").contains("@=\"Word Document\""));

    w.expectDone({"set", ".doc", "--content-type", "application/x-word"},
                 "Word 6 Document Updated!   Backup=Reg1001\n");
    EXPECT_TRUE(w.exportClasses("mime.reg").contains("\"Content Type\"=\"application/x-word\""));
    w.expectShown({"backups"}, {"Reg1001\tChange\t", "\tWord 6 Document\tDOC\n"});
    OrvxRun r = w.run({"set", ".doc", "--content-type", ""});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(w.exportClasses("nomime.reg").contains("application/x-word"));
    r = w.run({"set", ".doc", "--content-type", ""});
    EXPECT_EQ(r.out, "Nothing To Update!\n");

    // The content type belongs to an extension; an extension standing for itself has no type
    // key to hold a description.
    r = w.run({"set", "docfile", "--content-type", "text/plain"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("orvx set .EXT --content-type")) << r.err.toStdString();

    // Two types with one description: refused, naming both type keys.
    r = w.run({"set", "txtfile", "--description", "Word 6 Document"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    for (const QStringList& args :
         {QStringList{"set", "Word 6 Document", "--quick-view", "yes"},
          QStringList{"show", "Word 6 Document"}, QStringList{"backup", "Word 6 Document"},
          QStringList{"add-extensions", "Word 6 Document", "wri"},
          QStringList{"action", "Word 6 Document", "open", "--command", "x.exe"}}) {
        r = w.run(args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("docfile, txtfile")) << r.err.toStdString();
    }
    r = w.run({"add-extensions", "txtfile", "wri"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
}
