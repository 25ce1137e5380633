// orvx check / fix and the lists taken away (extensions and types with --filter and --csv,
// report into HTML) as scripts use them.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace orvanex::test;

namespace {

// The classes of every list and check test, as a REGEDIT4 file would bring them.
const QByteArray Classes = TextExtensionClasses +
                           "[HKEY_CLASSES_ROOT\\.csv]\r\n"
                           "@=\"csvfile\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\.gone]\r\n"
                           "@=\"nosuchtype\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                           "@=\"Text <b>&amp; \\\"notes\\\"</b>\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]\r\n"
                           "@=\"%SystemRoot%\\\\notepad.exe %1\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\csvfile]\r\n"
                           "@=\"Values, comma \\\"separated\\\" caf\xe9\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\csvfile\\DefaultIcon]\r\n"
                           "@=\"C:\\\\Icons\\\\sheet.ico\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\csvfile\\shell\\open\\command]\r\n"
                           "@=\"C:\\\\Program Files\\\\Sheets\\\\sheets.exe \\\"%1\\\"\"\r\n";

struct Hive {
    QString dir;
    QString hive;
    explicit Hive(const QString& name) : dir(freshDir(name)), hive(importClasses(dir, Classes)) {
        QDir().mkpath(dir + "/drive_c/WINDOWS");
        writeFile(dir + "/drive_c/WINDOWS/notepad.exe", "MZ");
    }
    OrvxRun run(const QStringList& args, const OrvxSetup& setup = {}) const {
        return runOrvx(QStringList{"--hive", hive} + args, setup);
    }
};

// Python's csv module reads the file back: one line per row, fields joined by " | ".
QString parsedByPython(const QString& path) {
    QProcess p;
    p.start("python3", {"-c",
                        "import csv,sys\n"
                        "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                        "    for row in csv.reader(f, strict=True):\n"
                        "        print(' | '.join(row))\n",
                        path});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(OrvxCheck, ExitsThreeWithItsFindingsAndZeroOnceTheyAreFixed) {
    Hive h("orvx-check");
    OrvxRun r = h.run({"check"});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "missing-type\t.gone\tnames the type nosuchtype, which has no key\n"
              "missing-program\tcsvfile\topen: C:\\Program Files\\Sheets\\sheets.exe does not "
              "exist (command: C:\\Program Files\\Sheets\\sheets.exe \"%1\")\n"
              "missing-icon\tcsvfile\tC:\\Icons\\sheet.ico does not exist (icon: "
              "C:\\Icons\\sheet.ico)\n");

    EXPECT_EQ(h.run({"fix", "missing-program", "csvfile"}).code, 1); // no plain fix
    EXPECT_EQ(h.run({"fix", "missing-icon", "txtfile"}).code, 1);    // not found so
    r = h.run({"fix", "missing-icon", "csvfile"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(" Updated!   Backup=Reg")) << r.out.toStdString();
    r = h.run({"fix", "missing-type", ".gone"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(" Deleted!")) << r.out.toStdString();
    r = h.run({"check"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.out.startsWith("missing-program\tcsvfile\t")) << r.out.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1);
    EXPECT_EQ(h.run({"delete-action", "csvfile", "open"}).code, 0);
    r = h.run({"check"});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_EQ(r.out, "");
}

TEST(OrvxCheck, AFailedBackupStopsTheFixAndAnUnreadableRegistryFailsTheCheck) {
    Hive h("orvx-check-backup");
    const QString work = freshDir("orvx-check-nobackup");
    writeFile(work + "/Backup", "a file where the backup folder should be");
    OrvxSetup inWork;
    const QByteArray folder = QFile::encodeName(work);
    inWork.inChild = [folder] {
        if (chdir(folder.constData()) != 0)
            _exit(99);
    };
    const OrvxRun fixed = h.run({"fix", "missing-type", ".gone"}, inWork);
    EXPECT_EQ(fixed.code, 1) << fixed.out.toStdString();
    const OrvxRun icon = h.run({"fix", "missing-icon", "csvfile"}, inWork);
    EXPECT_EQ(icon.code, 1) << icon.out.toStdString();
    EXPECT_TRUE(icon.err.contains(" Not Updated!   Backup Failed!")) << icon.err.toStdString();
    const QString still = h.run({"check"}).out;
    EXPECT_TRUE(still.startsWith("missing-type\t.gone\t")) << still.toStdString();
    EXPECT_TRUE(still.contains("missing-icon\tcsvfile\t")) << still.toStdString();

    const QString bad = freshDir("orvx-check-bad") + "/r.hive";
    writeFile(bad, QByteArray(4096, '\x7f'));
    const OrvxRun r = runOrvx({"--hive", bad, "check"});
    EXPECT_EQ(r.code, 1) << r.out.toStdString();
    EXPECT_EQ(r.out, "");
}

TEST(OrvxLists, FilterFindsRowsByEveryTextWithoutRegardToCase) {
    Hive h("orvx-filter");
    auto rows = [&](const char* list, const char* text) {
        const OrvxRun r = h.run({list, "--filter", text});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList names;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts))
            names << line.section('\t', 0, 0);
        return names.join(' ');
    };
    EXPECT_EQ(rows("extensions", "TXT"), "TXT");          // extension
    EXPECT_EQ(rows("extensions", "nosuch"), "GONE");      // type key
    EXPECT_EQ(rows("extensions", "COMMA"), "CSV");        // description
    EXPECT_EQ(rows("extensions", "TEXT/PLAIN"), "TXT");   // content type
    EXPECT_EQ(rows("extensions", "sheets.EXE"), "CSV");   // open command
    EXPECT_EQ(rows("extensions", "icons\\sheet"), "CSV"); // icon
    EXPECT_EQ(rows("extensions", "zzz"), "");
    EXPECT_EQ(rows("extensions", ""), "CSV GONE TXT");
    EXPECT_EQ(rows("types", "text/plain"), "Text <b>&amp; \"notes\"</b>");
    EXPECT_EQ(rows("types", "SHEET"), "Values, comma \"separated\" caf\u00e9");
}

TEST(OrvxLists, CsvReadsBackAsTheListsCellsAndHtmlEscapesThem) {
    Hive h("orvx-csv");
    const OrvxRun r = h.run({"types", "--csv"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    writeFile(h.dir + "/types.csv", r.out.toUtf8());
    EXPECT_EQ(parsedByPython(h.dir + "/types.csv"),
              QString::fromUtf8("Registered file types | # files | Size(Bytes) | File extensions\n"
                                "Text <b>&amp; \"notes\"</b> |  |  | TXT\n"
                                "Values, comma \"separated\" café |  |  | CSV\n"
                                "nosuchtype |  |  | GONE\n"));
    EXPECT_TRUE(r.out.startsWith("Registered file types,# files,Size(Bytes),File extensions\r\n"));

    const QString page = h.dir + "/ext.html";
    const OrvxRun html = h.run({"report", "extensions", page});
    ASSERT_EQ(html.code, 0) << html.err.toStdString();
    const QString text = QString::fromUtf8(readFile(page));
    EXPECT_TRUE(text.contains("<td>Text &lt;b&gt;&amp;amp; &quot;notes&quot;&lt;/b&gt;</td>"));
    EXPECT_TRUE(text.contains("<td>GONE</td><td></td><td></td><td>nosuchtype</td>"));
    EXPECT_FALSE(text.contains("<b>"));
    EXPECT_FALSE(text.contains("src=") || text.contains("href=") || text.contains("@import"));
}
