// orvx import / export / query as scripts call them.

#include "support/test_env.h"
#include "tools/orvx_run.h"

#include <QFile>
#include <gtest/gtest.h>

using orvanex::test::OrvxRun;
using orvanex::test::runOrvx;
using orvanex::test::writeFile;

TEST(OrvxRegistry, ImportsQueriesAndExports) {
    const QString dir = orvanex::test::freshDir("orvx");
    const QString hive = dir + "/r.hive";
    const QByteArray file = "REGEDIT4\r\n\r\n"
                            "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                            "@=\"txtfile\"\r\n"
                            "\"Flags\"=dword:0000001f\r\n"
                            "\r\n"
                            "[HKEY_CLASSES_ROOT\\.txt\\ShellNew]\r\n"
                            "\"NullFile\"=\"\"\r\n"
                            "\r\n";
    writeFile(dir + "/in.reg", file);
    OrvxRun r = runOrvx({"--hive", hive, "import", dir + "/in.reg"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    r = runOrvx({"--hive", hive, "query", "HKCR\\.TXT"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "HKEY_CLASSES_ROOT\\.TXT\n"
                     "    (Default)    REG_SZ    txtfile\n"
                     "    Flags    REG_DWORD    0x1f\n"
                     "\n"
                     "HKEY_CLASSES_ROOT\\.TXT\\ShellNew\n");

    r = runOrvx({"--hive", hive, "export", "HKEY_CLASSES_ROOT\\.txt", dir + "/out.reg"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QFile out(dir + "/out.reg");
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), file);

    r = runOrvx({"--hive", hive, "export", "HKEY_CURRENT_USER", dir + "/u.reg", "--regedit5"});
    ASSERT_EQ(r.code, 0);
    QFile u(dir + "/u.reg");
    ASSERT_TRUE(u.open(QIODevice::ReadOnly));
    EXPECT_TRUE(u.readAll().startsWith("\xff\xfeW\0i\0n\0"));
}

TEST(OrvxRegistry, ReportsErrorsOnStandardErrorWithStatusOne) {
    const QString dir = orvanex::test::freshDir("orvx-errors");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/notes.reg", "shopping list\r\n");
    writeFile(dir + "/partly.reg",
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\nnonsense\r\n\"v\"=\"1\"\r\n");
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"import", dir + "/notes.reg"}, "not a registry file"},
        {{"import", dir + "/missing.reg"}, "cannot read"},
        {{"query", "HKEY_CURRENT_USER\\Nothing"}, "does not exist"},
        {{"query", "HKEY_SOMEWHERE"}, "not a registry key name"},
        {{"export", "HKCU\\Nothing", dir + "/x.reg"}, "does not exist"},
        {{"export", "HKCU"}, "usage"},
    };
    for (const auto& c : cases) {
        const OrvxRun r = runOrvx(QStringList{"--hive", hive} + c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir + "/x.reg"));
    // Malformed lines are warnings; the rest is imported.
    const OrvxRun partly = runOrvx({"--hive", hive, "import", dir + "/partly.reg"});
    EXPECT_EQ(partly.code, 3);
    EXPECT_TRUE(partly.out.contains("1 lines skipped")) << partly.out.toStdString();
    EXPECT_TRUE(partly.err.contains("line 3: ")) << partly.err.toStdString();
    EXPECT_EQ(runOrvx({"--hive", hive, "query", "HKCU\\A"}).out,
              "HKEY_CURRENT_USER\\A\n    v    REG_SZ    1\n");
}

TEST(OrvxRegistry, CommentLinesAreNotSkippedLinesButAnUnclosedKeyDeletionIs) {
    const QString dir = orvanex::test::freshDir("orvx-comments");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/commented.reg", "REGEDIT4\r\n\r\n"
                                      "; made by hand\r\n"
                                      "[HKEY_CURRENT_USER\\Keep]\r\n"
                                      "\"a\"=\"1\"\r\n"
                                      "; between the values\r\n"
                                      "   ;\tindented\r\n"
                                      "\"b\"=\"2\"\r\n");
    OrvxRun r = runOrvx({"--hive", hive, "import", dir + "/commented.reg"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("skipped")) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    writeFile(dir + "/unclosed.reg", "REGEDIT4\r\n\r\n"
                                     "[-HKEY_CURRENT_USER\\Keep\r\n"
                                     "[HKEY_CURRENT_USER\\Other]\r\n");
    r = runOrvx({"--hive", hive, "import", dir + "/unclosed.reg"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.out.contains("1 key created") || r.out.contains("1 keys created"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("1 lines skipped")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("line 3: ")) << r.err.toStdString();
    // The key the line meant to delete is still there.
    EXPECT_EQ(runOrvx({"--hive", hive, "query", "HKCU\\Keep"}).out,
              "HKEY_CURRENT_USER\\Keep\n    a    REG_SZ    1\n    b    REG_SZ    2\n");
}
