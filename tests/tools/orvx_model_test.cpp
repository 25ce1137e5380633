// orvx extensions / types / show: the lists and the detail the main window shows.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace orvanex::test;

namespace {

const QByteArray Classes = TextExtensionClasses +
                           "[HKEY_CLASSES_ROOT\\.md]\r\n"
                           "@=\"txtfile\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\.zip]\r\n"
                           "@=\"zipfile\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                           "@=\"Text Document\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]\r\n"
                           "@=\"notepad.exe %1\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\zipfile]\r\n"
                           "@=\"Archive\"\r\n";

QString classesHive(const QString& name) {
    return importClasses(freshDir(name), Classes);
}

} // namespace

TEST(OrvxModel, ListsExtensionsAndTypesAsTheWindowSortsThem) {
    const QString hive = classesHive("orvx-lists");
    OrvxRun r = runOrvx({"--hive", hive, "extensions"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "MD\t \t \tText Document\t \n"
                     "TXT\t \t \tText Document\t \n"
                     "ZIP\t \t \tArchive\t \n");
    r = runOrvx({"--hive", hive, "types"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Archive\t \t \tZIP\t \n"
                     "Text Document\t \t \tMD TXT\t \n");
    EXPECT_EQ(runOrvx({"--hive", hive, "extensions", "extra"}).code, 1);
}

TEST(OrvxModel, ShowsAnExtensionOrATypeByKeyOrDescription) {
    const QString hive = classesHive("orvx-show");
    const OrvxRun ext = runOrvx({"--hive", hive, "show", ".txt"});
    EXPECT_EQ(ext.code, 0) << ext.err.toStdString();
    for (const char* line :
         {"Extension:\tTXT\n", "Description:\tText Document\n", "Related extensions:\tMD\n",
          "Content type:\ttext/plain\n", "Type key:\ttxtfile\n", "Actions:\t1\n",
          "  Action:\topen\t(verb open)\n", "    Command:\tnotepad.exe %1\n"})
        EXPECT_TRUE(ext.out.contains(QLatin1String(line))) << line << ext.out.toStdString();
    // Extensions are matched without regard to case, as the registry does.
    EXPECT_EQ(runOrvx({"--hive", hive, "show", ".TXT"}).out, ext.out);

    const OrvxRun byKey = runOrvx({"--hive", hive, "show", "TXTFILE"});
    EXPECT_EQ(byKey.code, 0);
    EXPECT_TRUE(byKey.out.startsWith("Description:\tText Document\nExtensions:\tMD TXT\n"))
        << byKey.out.toStdString();
    EXPECT_EQ(runOrvx({"--hive", hive, "show", "Text Document"}).out, byKey.out);

    const OrvxRun missing = runOrvx({"--hive", hive, "show", ".nope"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("no extension .nope")) << missing.err.toStdString();
    EXPECT_EQ(runOrvx({"--hive", hive, "show", "nofile"}).code, 1);
}

// A list of what could be read from a damaged hive would pass for the registry's contents.
TEST(OrvxModel, ADamagedHiveFailsTheListsAndNamesTheDamage) {
    const QString hive = classesHive("orvx-damaged");
    QByteArray bytes = readFile(hive);
    ASSERT_GT(bytes.size(), 16);
    bytes[4] = char(bytes[4] ^ 0x55);
    writeFile(hive, bytes);
    for (const QStringList& args :
         {QStringList{"extensions"}, QStringList{"types"}, QStringList{"show", ".txt"}}) {
        const OrvxRun r = runOrvx(QStringList{"--hive", hive} + args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.contains("no extension")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("read-only")) << r.err.toStdString();
    }
    EXPECT_EQ(readFile(hive), bytes);
}

TEST(OrvxModel, CountListsFillsBothListsAsTheWindowsCountDoes) {
    const QString hive = classesHive("orvx-count-lists");
    const QString tree = freshDir("orvx-count-lists-tree");
    QDir().mkpath(tree + "/sub");
    QDir().mkpath(tree + "/dotted.dir");
    writeFile(tree + "/a.txt", "abc");
    writeFile(tree + "/sub/b.TXT", "abcd");
    writeFile(tree + "/sub/c.md", QByteArray(1234567, 'm'));
    writeFile(tree + "/d.zip", "");
    writeFile(tree + "/e.gz", "x");
    writeFile(tree + "/dotted.dir/README", "xy");

    OrvxRun r = runOrvx({"--hive", hive, "count-lists", "--in", tree});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "MD\t1\t1,234,567\tText Document\t1234567\n"
                                   "TXT\t2\t7\tText Document\t7\n"
                                   "ZIP\t1\t0\tArchive\t0\n"
                                   "\n"
                                   "Archive\t1\t0\tZIP\t0\n"
                                   "Text Document\t3\t1,234,574\tMD TXT\t1234574\n"
                                   "\n"
                                   "3 registered file extensions  4 files\n");

    r = runOrvx({"--hive", hive, "count-lists", "--in", tree + "/missing"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("no such folder")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = runOrvx({"--hive", hive, "count-lists", "--in", tree, "--all-drives"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("usage")) << r.err.toStdString();
}
