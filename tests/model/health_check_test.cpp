// The associations check on a registry with one case of each kind and the near misses Windows
// resolves: no finding may come from a program or icon that is there.

#include "model/health_check.h"
#include "model/loading.h"
#include "model_test_hive.h"
#include "platform/program_lookup.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestDrive;
using orvanex::test::TestHive;

namespace {

const QString kAppExe = QStringLiteral("C:\\Program Files\\My App\\app.exe");

void appPath(reg::Registry& registry, const QString& name, const QString& target,
             std::uint32_t type = reg::type::Sz) {
    reg::HKey key = 0;
    ASSERT_EQ(registry.createKey(reg::HKEY_LOCAL_MACHINE,
                                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name,
                                 &key),
              0);
    const QByteArray bytes = target.toUtf8();
    ASSERT_EQ(registry.setValueEx(key, QString(), type, bytes.constData(), bytes.size()), 0);
    registry.closeKey(key);
}

// Every kind once, and beside them what must pass.
struct World {
    TestHive hive;
    TestDrive drive{"health-check"};

    World() {
        drive.iconLibrary(kAppExe, 3); // icon groups 1 to 3
        drive.plainFile("C:\\WINDOWS\\notepad.exe");
        drive.plainFile("C:\\WINDOWS\\SYSTEM32\\viewer.exe");
        drive.plainFile("C:\\Tools\\ed\\editor.exe");
        drive.iconLibrary("C:\\WINDOWS\\SYSTEM\\shell32.dll", 2);
        drive.icoFile("C:\\Icons\\doc.ico");
        appPath(*hive.registry, "editor.exe", "\"%ProgramFiles%\\..\\Tools\\ed\\editor.exe\"",
                reg::type::ExpandSz);

        const char* const pairs[][2] = {
            {".good", "goodfile"},  {".brk", "brokenfile"},  {".bi", "badindex"},
            {".bd", "badid"},       {".dde", "ddefile"},     {".ico", "icofile"},
            {".last", "lastindex"}, {".dangle", "gonetype"}, {".lib", "libfile"}};
        for (const auto& p : pairs)
            hive.extension(p[0], p[1]);
        hive.key(".bare"); // names no type: nothing can be missing
        for (const char* t : {"goodfile", "brokenfile", "badindex", "badid", "ddefile", "icofile",
                              "lastindex", "libfile"})
            hive.type(t, QStringLiteral("%1 document").arg(QLatin1String(t)));

        const QString good = "goodfile\\Shell\\";
        hive.set(good + "open\\command", "\"" + kAppExe + "\" \"%1\""); // quoted, blanks
        hive.set(good + "print\\command", kAppExe + " /p %1");          // unquoted, blanks
        hive.set(good + "edit\\command", "notepad %1");                 // no .exe
        hive.set(good + "view\\command", "%SystemRoot%\\system32\\viewer.exe %1");
        hive.set(good + "tool\\command", "editor.exe /open %1"); // App Paths
        hive.set(good + "run\\command", "\"%1\" %*");            // the document itself
        hive.set(good + "open\\ddeexec", "[open(\"%1\")]");
        hive.set(good + "open\\ddeexec\\application", "MyApp");
        hive.set(good + "open\\ddeexec\\topic", "System");
        hive.set("goodfile\\DefaultIcon", kAppExe + ",-2");          // resource id that exists
        hive.set("lastindex\\DefaultIcon", "\"" + kAppExe + "\",2"); // the last icon
        hive.set("icofile\\DefaultIcon", "C:\\Icons\\doc.ico");
        hive.set("libfile\\DefaultIcon", "shell32.dll,1"); // found in the system folder

        hive.set("brokenfile\\Shell\\open\\command",
                 "\"C:\\Program Files\\Gone\\gone.exe\" \"%1\"");
        hive.set("brokenfile\\DefaultIcon", "C:\\Icons\\missing.ico");
        hive.set("badindex\\DefaultIcon", kAppExe + ",3");
        hive.set("badid\\DefaultIcon", kAppExe + ",-9");
        hive.set("ddefile\\Shell\\open\\command", "notepad.exe %1");
        hive.set("ddefile\\Shell\\open\\ddeexec", "[open(\"%1\")]");
        hive.set("ddefile\\Shell\\open\\ddeexec\\application", "Notepad");
    }
};

QStringList lines(const HealthReport& report) {
    QStringList out;
    for (const Finding& f : report.findings)
        out.append(f.line());
    return out;
}

} // namespace

TEST(HealthCheck, FindsOneOfEachKindSortedByEntryAndPassesWhatWindowsResolves) {
    World w;
    const HealthReport report = CheckAssociations(w.hive.state, w.drive.drives);
    const QString app = kAppExe;
    EXPECT_EQ(
        lines(report),
        QStringList({
            "missing-type\t.dangle\tnames the type gonetype, which has no key",
            "bad-icon-index\tbadid\t" + app + ",-9: " + app + " has no icon with resource id 9",
            "bad-icon-index\tbadindex\t" + app + ",3: index 3, but " + app + " holds 3 icon(s)",
            "missing-program\tbrokenfile\topen: C:\\Program Files\\Gone\\gone.exe does not "
            "exist (command: \"C:\\Program Files\\Gone\\gone.exe\" \"%1\")",
            "missing-icon\tbrokenfile\tC:\\Icons\\missing.ico does not exist (icon: "
            "C:\\Icons\\missing.ico)",
            "dde-incomplete\tddefile\topen: no DDE topic",
        }));
    EXPECT_EQ(report.extensions, 10);
    EXPECT_EQ(report.types, 9); // .bare describes itself, so its own key is checked too
    EXPECT_EQ(report.actions, 8);
    // app.exe serves three types but is read once; doc.ico and shell32.dll once each.
    EXPECT_EQ(report.iconFilesRead, 3);
}

TEST(HealthCheck, ReportsDdeWithoutApplicationAndAnUnquotedMissingProgramByItsExeWord) {
    TestHive hive;
    TestDrive drive("health-check-words");
    hive.extension(".a", "afile");
    hive.type("afile", "A");
    hive.set("afile\\Shell\\open\\command", "C:\\Program Files\\Gone App\\run.exe /x %1");
    hive.set("afile\\Shell\\open\\ddeexec", "[x]");
    hive.set("afile\\Shell\\open\\ddeexec\\topic", "System");
    hive.set("afile\\Shell\\print\\ddeexec", "[p]");
    const HealthReport report = CheckAssociations(hive.state, drive.drives);
    EXPECT_EQ(lines(report),
              QStringList({"missing-program\tafile\topen: C:\\Program Files\\Gone App\\run.exe "
                           "does not exist (command: C:\\Program Files\\Gone App\\run.exe /x %1)",
                           "dde-incomplete\tafile\topen: no DDE application",
                           "dde-incomplete\tafile\tprint: no DDE application and no topic"}));
}

TEST(ProgramLookup, ExpandsOnlyTheWindowsFoldersVariables) {
    bool known = false;
    EXPECT_EQ(platform::expandWindowsVariables("%windir%\\a;%SYSTEMROOT%\\b", &known),
              "C:\\WINDOWS\\a;C:\\WINDOWS\\b");
    EXPECT_TRUE(known);
    EXPECT_EQ(platform::expandWindowsVariables("%ProgramFiles%\\x", &known),
              "C:\\Program Files\\x");
    EXPECT_TRUE(known);
    platform::expandWindowsVariables("%1", &known);
    EXPECT_FALSE(known);
    platform::expandWindowsVariables("%APPDATA%\\x", &known);
    EXPECT_FALSE(known);
}

TEST(ProgramLookup, TriesTheNameWithAndWithoutExeAndThroughAppPaths) {
    TestDrive drive("program-lookup");
    drive.plainFile("C:\\WINDOWS\\SYSTEM32\\tool.exe");
    drive.plainFile("C:\\Apps\\odd");
    drive.plainFile("C:\\Apps\\real.exe");
    const platform::ProgramLookup lookup(drive.drives, {{"ALIAS.EXE", "C:\\Apps\\real.exe"},
                                                        {"BROKEN.EXE", "C:\\Apps\\nothere.exe"}});
    EXPECT_EQ(lookup.program("tool /x").found, "C:\\WINDOWS\\SYSTEM32\\tool.exe");
    EXPECT_EQ(lookup.program("C:\\Apps\\odd %1").found, "C:\\Apps\\odd");
    EXPECT_EQ(lookup.program("c:\\apps\\REAL %1").found, "c:\\apps\\REAL.exe");
    const platform::FoundFile alias = lookup.program("alias %1");
    EXPECT_EQ(alias.found, "C:\\Apps\\real.exe");
    EXPECT_TRUE(alias.viaAppPaths);
    const platform::FoundFile broken = lookup.program("broken.exe");
    EXPECT_TRUE(broken.checkable);
    EXPECT_TRUE(broken.found.isEmpty());
    EXPECT_FALSE(lookup.program("\"%1\" %*").checkable);
    EXPECT_FALSE(lookup.program("").checkable);
    // Icons take no ".exe" and no App Paths.
    EXPECT_TRUE(lookup.iconFile("tool").found.isEmpty());
    EXPECT_EQ(lookup.iconFile("tool.exe").found, "C:\\WINDOWS\\SYSTEM32\\tool.exe");
    EXPECT_TRUE(lookup.iconFile("alias.exe").found.isEmpty());
    EXPECT_FALSE(lookup.iconFile("%1").checkable);
}
