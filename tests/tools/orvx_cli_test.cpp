// orvx's command line: options, the choice of hive, names as bytes and exit statuses.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvanex::test;

namespace {

const QByteArray Marker = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Marker]\r\n@=\"%1\"\r\n";

QByteArray marker(const char* name) {
    return QString::fromLatin1(Marker).arg(QLatin1String(name)).toLatin1();
}

// The default value of HKCU\Marker in a hive, or "" when it has none.
QString markerIn(const QString& hive) {
    if (!QFile::exists(hive))
        return QStringLiteral("<no hive>");
    const OrvxRun r = runOrvx({"--hive", hive, "query", "HKCU\\Marker"});
    const qsizetype at = r.out.indexOf(QLatin1String("REG_SZ    "));
    return at < 0 ? QString() : r.out.mid(at + 10).trimmed();
}

} // namespace

TEST(OrvxCommandLine, HelpListsEveryCommandAndTheExitStatuses) {
    const OrvxRun r = runOrvx({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: orvx [options] COMMAND [ARGS]")) << r.out.toStdString();
    for (const char* text :
         {"--hive <file>", "--regedit5", "\n  import FILE.reg ", "\n  export KEY FILE.reg",
          "\n  query KEY", "\n  extensions ", "\n  types ", "\n  show .EXT|TYPE",
          "\n  icon FILE INDEX OUT.png", "\n  0  ", "\n  1  ", "\n  3  "})
        EXPECT_TRUE(r.out.contains(QLatin1String(text))) << text;
    EXPECT_EQ(runOrvx({"-h"}).out, r.out);
    const OrvxRun v = runOrvx({"--version"});
    EXPECT_EQ(v.code, 0);
    EXPECT_TRUE(v.out.startsWith("orvx ")) << v.out.toStdString();
}

TEST(OrvxCommandLine, OptionsGoBeforeOrAfterTheCommandAndForeignOnesAreRefused) {
    const QString dir = freshDir("orvx-options");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/m.reg", marker("here"));
    ASSERT_EQ(runOrvx({"import", dir + "/m.reg", "--hive", hive}).code, 0);
    EXPECT_EQ(markerIn(hive), "here");
    EXPECT_EQ(runOrvx({"--hive=" + hive, "query", "HKCU\\Marker"}).code, 0);
    EXPECT_EQ(runOrvx({"--hive", hive, "export", "--regedit5", "HKCU", dir + "/u.reg"}).code, 0);
    EXPECT_TRUE(readFile(dir + "/u.reg").startsWith("\xff\xfe"));

    const struct {
        QStringList args;
        const char* message;
    } refused[] = {
        {{"--hive", hive, "--frobnicate", "query", "HKCU"}, "Unknown option 'frobnicate'"},
        {{"--hive", hive, "query", "HKCU", "--regedit5"}, "query takes no option regedit5"},
        {{"--hive", hive, "export", "HKCU", dir + "/x.reg", "--regedit4", "--regedit5"},
         "choose one"},
        {{"--hive", hive, "--hive", dir + "/other.hive", "query", "HKCU"}, "more than once"},
        {{"--hive", hive}, "no command given"},
        {{"--hive", hive, "frobnicate"}, "unknown command frobnicate"},
        {{"--hive"}, "Missing value after '--hive'"},
    };
    for (const auto& c : refused) {
        const OrvxRun r = runOrvx(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("orvx: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir + "/x.reg"));
    EXPECT_FALSE(QFile::exists(dir + "/other.hive"));
}

// --hive wins over ORVANEX_HIVE, which wins over the default hive; an empty --hive is an error
// and never reaches either of the others.
TEST(OrvxCommandLine, ChoosesTheHiveByOptionThenVariableThenDefault) {
    const QString dir = freshDir("orvx-precedence");
    const QString optionHive = dir + "/option.hive";
    const QString envHive = dir + "/env.hive";
    const QString defaultHive = dir + "/data/orvanex/registry.hive";
    for (const char* name : {"option", "env", "default", "empty"})
        writeFile(dir + "/" + name + ".reg", marker(name));
    OrvxSetup setup;
    setup.env.insert("XDG_DATA_HOME", dir + "/data");
    setup.env.remove("ORVANEX_HIVE");

    ASSERT_EQ(runOrvx({"import", dir + "/default.reg"}, setup).code, 0);
    EXPECT_EQ(markerIn(defaultHive), "default");

    setup.env.insert("ORVANEX_HIVE", "");
    EXPECT_EQ(runOrvx({"query", "HKCU\\Marker"}, setup).out,
              "HKEY_CURRENT_USER\\Marker\n    (Default)    REG_SZ    default\n");

    setup.env.insert("ORVANEX_HIVE", envHive);
    ASSERT_EQ(runOrvx({"import", dir + "/env.reg"}, setup).code, 0);
    EXPECT_EQ(markerIn(envHive), "env");
    EXPECT_EQ(markerIn(defaultHive), "default");

    ASSERT_EQ(runOrvx({"--hive", optionHive, "import", dir + "/option.reg"}, setup).code, 0);
    EXPECT_EQ(markerIn(optionHive), "option");
    EXPECT_EQ(markerIn(envHive), "env");

    for (bool withVariable : {true, false}) {
        if (!withVariable)
            setup.env.remove("ORVANEX_HIVE");
        const OrvxRun r = runOrvx({"--hive", "", "import", dir + "/empty.reg"}, setup);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("--hive needs a file name")) << r.err.toStdString();
        EXPECT_EQ(runOrvx({"--hive=", "extensions"}, setup).code, 1);
    }
    EXPECT_EQ(markerIn(envHive), "env");
    EXPECT_EQ(markerIn(defaultHive), "default");
    EXPECT_EQ(markerIn(optionHive), "option");
}

// Qt cannot carry a name that is not UTF-8 without changing its bytes; two such names must not
// end up sharing the one hive whose name holds U+FFFD.
TEST(OrvxCommandLine, RefusesNamesWhoseBytesCannotBeKept) {
    const QString dir = freshDir("orvx-bytes");
    const QByteArray base = QFile::encodeName(dir);
    const QByteArray reg = QFile::encodeName(dir + "/m.reg");
    writeFile(dir + "/m.reg", marker("x"));
    QList<QByteArray> env = environmentWithout({"ORVANEX_HIVE"});
    env += "XDG_DATA_HOME=" + base + "/data";
    for (const QByteArray& name : {base + "/h\xff.hive", base + "/h\xfe.hive"}) {
        const OrvxRun r = runOrvxBytes({"--hive", name, "import", reg}, env);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("h\\xff.hive") || r.err.contains("h\\xfe.hive"))
            << r.err.toStdString();
    }
    const OrvxRun badFile = runOrvxBytes({"import", base + "/m\xff.reg"}, env);
    EXPECT_EQ(badFile.code, 1);
    EXPECT_TRUE(badFile.err.contains("not valid UTF-8")) << badFile.err.toStdString();

    env += "ORVANEX_HIVE=" + base + "/e\xff.hive";
    const OrvxRun viaEnv = runOrvxBytes({"import", reg}, env);
    EXPECT_EQ(viaEnv.code, 1);
    EXPECT_TRUE(viaEnv.err.contains("ORVANEX_HIVE (")) << viaEnv.err.toStdString();
    // --hive wins, so the variable does not matter then.
    const OrvxRun viaOption =
        runOrvxBytes({"--hive", QFile::encodeName(dir + "/ok.hive"), "import", reg}, env);
    EXPECT_EQ(viaOption.code, 0) << viaOption.err.toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"m.reg", "ok.hive", "ok.hive.lock"}));
    EXPECT_FALSE(QFile::exists(dir + "/data"));
}

TEST(OrvxCommandLine, ImportExitsZeroOneOrThreeBySkippedLines) {
    const QString dir = freshDir("orvx-status");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/all.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"1\"\r\n");
    writeFile(dir + "/some.reg",
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"w\"=dword:zz\r\n\"v\"=\"2\"\r\n"
              "\"x\"=hex:01,02\\\r\n\"y\"=\"open\r\n");
    writeFile(dir + "/none.reg", "REGEDIT4\r\n[HKEY_NOWHERE\\A]\r\n\"v\"=dword:\r\n");
    writeFile(dir + "/empty.reg", "REGEDIT4\r\n\r\n");

    OrvxRun r = runOrvx({"--hive", hive, "import", dir + "/all.reg"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("skipped"));
    r = runOrvx({"--hive", hive, "import", dir + "/some.reg"});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 values set") && r.out.contains("; 3 lines skipped"))
        << r.out.toStdString();
    r = runOrvx({"--hive", hive, "import", dir + "/none.reg"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("nothing imported, all 2 lines")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(runOrvx({"--hive", hive, "import", dir + "/empty.reg"}).code, 0);
}

// A device or a pipe could feed the importer without end.
TEST(OrvxCommandLine, ImportReadsOnlyRegularFiles) {
    const QString dir = freshDir("orvx-devices");
    // Opening a pipe with no writer would wait for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.reg").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir + "/zero.reg"));
    for (const QString& path :
         {QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom"), QStringLiteral("/dev/null"),
          dir, dir + "/pipe.reg", dir + "/zero.reg"}) {
        const OrvxRun r = runOrvx({"--hive", dir + "/r.hive", "import", path});
        EXPECT_EQ(r.code, 1) << path.toStdString();
        EXPECT_TRUE(r.err.contains("cannot read")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir + "/r.hive"));
}

TEST(OrvxCommandLine, ExportRefusesTheHiveAndItsWorkingFiles) {
    const QString dir = freshDir("orvx-export-self");
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/m.reg", marker("kept"));
    ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/m.reg"}).code, 0);
    ASSERT_TRUE(QFile::link(hive, dir + "/link.hive"));
    QDir().mkpath(dir + "/sub");
    const QByteArray before = readFile(hive);
    for (const QString& target : {hive, hive + ".lock", hive + ".new", dir + "/link.hive",
                                  dir + "/sub/../r.hive", hive + ".torn-20261208T060000"}) {
        const OrvxRun r = runOrvx({"--hive", hive, "export", "HKCU", target});
        EXPECT_EQ(r.code, 1) << target.toStdString();
        EXPECT_TRUE(r.err.contains("registry's own file")) << r.err.toStdString();
    }
    EXPECT_EQ(readFile(hive), before);
    EXPECT_EQ(markerIn(dir + "/link.hive"), "kept");
    // Through the link the hive is the same file.
    EXPECT_EQ(runOrvx({"--hive", dir + "/link.hive", "export", "HKCU", hive}).code, 1);
    EXPECT_EQ(runOrvx({"--hive", hive, "export", "HKCU", hive + ".reg"}).code, 0);
}
