// The readers of the file-type layout: fallbacks for missing and odd values.

#include "model/grid_rows.h"
#include "model/icon_location.h"
#include "model/readers.h"
#include "model_test_hive.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestHive;

namespace {

ExtensionEntry entryFor(TestHive& hive, const QString& keyName) {
    ExtensionEntry e;
    e.KeyName = keyName;
    e.Ext = keyName.startsWith(u'.') ? keyName.mid(1).toUpper() : keyName.toUpper();
    e.TypeName = ReadTypeName(hive.state, keyName);
    return e;
}

QString describe(TestHive& hive, const QString& keyName) {
    const ExtensionEntry e = entryFor(hive, keyName);
    return FinishDescription(e, DescribeFromTypeKey(hive.state, e));
}

// Each key, read by `read` (a reader by path), gives its expected text.
void expectReads(QString (*read)(reg::RegState&, const QString&), TestHive& hive,
                 std::initializer_list<std::pair<const char*, const char*>> cases) {
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(read(hive.state, key), expected) << key;
}

// An icon location as "Raw | File | IndexText | Index | Kind".
QString iconParts(const IconLocation& icon) {
    return QStringList{icon.Raw, icon.File, icon.IndexText, QString::number(icon.Index), icon.Kind}
        .join(" | ");
}

} // namespace

TEST(TypeName, FallsBackToTheKeyNameAndReports99ForMissingKeys) {
    TestHive hive;
    hive.set(".txt", "  txtfile  ");
    hive.set(".ab", "ab"); // shorter than 3 characters
    hive.set(".blank", " ");
    hive.key(".none");
    expectReads(ReadTypeName, hive,
                {{".txt", "txtfile"},
                 {".ab", ".ab"},
                 {".blank", ".blank"},
                 {".none", ".none"},
                 {".gone", "99"}});
}

TEST(ContentType, IsABlankWhenAbsent) {
    TestHive hive;
    hive.set(".htm", "text/html", "Content Type");
    hive.key(".x");
    expectReads(ReadContentType, hive, {{".htm", "text/html"}, {".x", " "}});
}

TEST(Description, FallsBackFromTheTypeKeyToClsidKeyNameAndExt) {
    TestHive hive;
    hive.set(".txt", "txtfile");
    hive.key("txtfile"); // type key without description
    hive.set(".doc", "Word.Document");
    hive.set("Word.Document", "  Word Document ");
    hive.set(".ocx", "CLSID\\{ABC}"); // CLSID type key missing
    hive.set(".clx", "CLSID\\{DEF}");
    hive.key("CLSID\\{DEF}"); // CLSID key present, no name: the KeyName fallback
    hive.set(".cly", "CLSID\\{GHI}");
    hive.set("CLSID\\{GHI}", "z"); // a name shorter than 2 characters
    hive.set(".pcd", "PhotoCD");   // type key missing
    hive.set(".one", "onetype");
    hive.set("onetype", "x"); // description shorter than 2
    hive.key("*");
    hive.key("Unknown");
    hive.key(".bare");

    EXPECT_EQ(describe(hive, ".txt"), "TXT__File");
    EXPECT_EQ(describe(hive, ".doc"), "Word Document");
    EXPECT_EQ(describe(hive, ".ocx"), "OCX__File");
    EXPECT_EQ(describe(hive, ".clx"), "CLX__File");
    EXPECT_EQ(describe(hive, ".cly"), "CLY");
    EXPECT_EQ(describe(hive, ".pcd"), "PhotoCD");
    EXPECT_EQ(describe(hive, ".one"), "onetype");
    EXPECT_EQ(describe(hive, ".bare"), "BARE__File");
    EXPECT_EQ(describe(hive, "*"), "Used for all file extensions");
    ExtensionEntry unknown = entryFor(hive, "Unknown");
    unknown.Ext = "UNKNOWN";
    EXPECT_EQ(FinishDescription(unknown, DescribeFromTypeKey(hive.state, unknown)),
              "Used for unregistered file extensions");
    // Unfinished, a key-name fallback keeps its ".": the file-type list leaves such types out.
    const ExtensionEntry txt = entryFor(hive, ".txt");
    EXPECT_EQ(DescribeFromTypeKey(hive.state, txt), ".txt");
}

TEST(IconLocation, SplitsAtTheLastCommaWithTheIndexRule) {
    EXPECT_EQ(iconParts(SplitIconLocation("shell32.dll,-152")),
              "shell32.dll,-152 | shell32.dll | -152 | 0 | DLL");
    EXPECT_EQ(iconParts(SplitIconLocation("C:\\WINDOWS\\NOTEPAD.EXE,3")),
              "C:\\WINDOWS\\NOTEPAD.EXE,3 | C:\\WINDOWS\\NOTEPAD.EXE | 3 | 3 | EXE");
    // The index is not a number; a file without a dot is its own kind.
    EXPECT_EQ(iconParts(SplitIconLocation("C:\\ICONS\\a,b\\pic.ico")),
              "C:\\ICONS\\a,b\\pic.ico | C:\\ICONS\\a | b\\pic.ico | 0 | C:\\ICONS\\A");
    EXPECT_EQ(iconParts(SplitIconLocation("\"C:\\My Files\\x.ico\"")),
              "C:\\My Files\\x.ico | C:\\My Files\\x.ico |  | 0 | ICO");
    EXPECT_EQ(iconParts(SplitIconLocation("\"C:\\Prog Files\\w.exe\",12")),
              "C:\\Prog Files\\w.exe\",12 | C:\\Prog Files\\w.exe | 12 | 12 | EXE");

    EXPECT_EQ(SplitIconLocation("x.dll,").Index, 0);
    EXPECT_EQ(SplitIconLocation("x.dll,99999999999").Index, INT32_MAX);
    EXPECT_EQ(SplitIconLocation("%1").Kind, "%1");
}

TEST(IconLocation, ReadsAndTestsExistenceOnlyForDriveLetterIconFiles) {
    TestHive hive;
    test::TestDrive drive("icons_exist");
    drive.plainFile("C:\\WINDOWS\\x.dll");
    drive.plainFile("C:\\WINDOWS\\readme.txt");
    hive.set("a\\DefaultIcon", "c:\\windows\\X.DLL,2");
    hive.set("b\\DefaultIcon", "C:\\WINDOWS\\readme.txt");
    hive.set("c\\DefaultIcon", "C:\\WINDOWS\\gone.dll,0");
    hive.set("d\\DefaultIcon", ""); // stored empty: no icon
    hive.key("e");

    const IconLocation a = ReadDefaultIcon(hive.state, drive.drives, "a");
    EXPECT_TRUE(a.Present);
    EXPECT_TRUE(a.Exists);
    EXPECT_EQ(a.Index, 2);
    EXPECT_FALSE(ReadDefaultIcon(hive.state, drive.drives, "b").Exists); // not an icon kind
    EXPECT_FALSE(ReadDefaultIcon(hive.state, drive.drives, "c").Exists);
    EXPECT_FALSE(ReadDefaultIcon(hive.state, drive.drives, "d").Present);
    EXPECT_FALSE(ReadDefaultIcon(hive.state, drive.drives, "e").Present);
}

TEST(Command, IsEmptyWhenMissingOrOneCharacter) {
    TestHive hive;
    hive.set("t\\Shell\\open\\command", "notepad.exe %1");
    hive.set("t\\Shell\\one\\command", "x"); // stored with one character: kept
    hive.set("t\\Shell\\empty\\command", "");
    expectReads(ReadCommand, hive,
                {{"t\\Shell\\open\\command", "notepad.exe %1"},
                 {"t\\Shell\\one\\command", "x"},
                 {"t\\Shell\\empty\\command", ""},
                 {"t\\Shell\\none\\command", ""}});
}

TEST(Flags, AnyReadableValueShowsTheExtensionAndTheKeyEnablesQuickView) {
    TestHive hive;
    hive.set("a", "A");
    hive.set("a", "", "AlwaysShowExt");
    hive.key("a\\QuickView");
    hive.set("b", "B");
    hive.setDword("b", "AlwaysShowExt", 1);
    hive.set("c", "C");
    hive.setBinary("c", "AlwaysShowExt", "\x01");
    EXPECT_EQ(LoadFlags(hive.state, "a").AlwaysShowExt, "yes");
    EXPECT_EQ(LoadFlags(hive.state, "a").QuickView, "yes");
    EXPECT_EQ(LoadFlags(hive.state, "b").AlwaysShowExt, "yes");
    EXPECT_EQ(LoadFlags(hive.state, "c").AlwaysShowExt, "no");
    EXPECT_EQ(LoadFlags(hive.state, "c").QuickView, "no");
    EXPECT_EQ(LoadFlags(hive.state, "missing").AlwaysShowExt, "no");
}

TEST(Actions, ListEveryVerbWithHeadersAndTheDefault) {
    TestHive hive;
    hive.set("t\\Shell", "print");
    hive.set("t\\Shell\\open\\command", "a.exe %1");
    hive.set("t\\Shell\\print", "\"&Print it\"");
    hive.set("t\\Shell\\print\\command", "a.exe /p %1");
    hive.key("t\\Shell\\bare");
    const ActionList list = LoadActions(hive.state, "t");
    ASSERT_EQ(list.actions.size(), 3);
    EXPECT_EQ(list.CountText, "3");
    // Enumeration order is the registry's: case-insensitive by name.
    EXPECT_EQ(list.actions[0].Verb, "bare");
    EXPECT_EQ(list.actions[0].DisplayName, "bare");
    EXPECT_EQ(list.actions[0].Command, "");
    EXPECT_EQ(list.actions[2].DisplayName, "&Print it");
    EXPECT_EQ(list.actions[2].IsDefault, "yes");
    EXPECT_EQ(list.DefaultLabel, "&Print it");
    EXPECT_EQ(list.Header0, "<Actions (3)" + QString(10, u' '));
    EXPECT_EQ(list.Header1, "<Peformed With / Default Action (print)" + QString(96 - 5, u' '));
    EXPECT_EQ(list.actions[1].DisplayName, "open");
    EXPECT_EQ(list.actions[1].Command, "a.exe %1");
}

TEST(Actions, KeepsEveryVerbBeyondTwenty) {
    TestHive hive;
    for (int i = 1; i <= 25; ++i)
        hive.set(QStringLiteral("t\\Shell\\verb%1\\command").arg(i, 2, 10, QLatin1Char('0')),
                 QStringLiteral("prog.exe /%1").arg(i));
    const ActionList list = LoadActions(hive.state, "t");
    ASSERT_EQ(list.actions.size(), 25);
    EXPECT_EQ(list.actions[19].Verb, "verb20");
    EXPECT_EQ(list.actions[24].Command, "prog.exe /25");
    EXPECT_EQ(list.CountText, "25");
}

TEST(Actions, ALongDefaultVerbIsLabelledButNotInTheHeader) {
    TestHive hive;
    const QString longVerb(51, u'v');
    hive.set("t\\Shell", longVerb);
    hive.set("t\\Shell\\" + longVerb, "Long one");
    const ActionList list = LoadActions(hive.state, "t");
    EXPECT_FALSE(list.DefaultFound);
    EXPECT_EQ(list.DefaultLabel, longVerb);
    EXPECT_EQ(list.Header1, "<Peformed With" + QString(120, u' '));
}

TEST(Actions, NoShellKeyGivesTheEmptyGrid) {
    TestHive hive;
    hive.key("t");
    const ActionList list = LoadActions(hive.state, "t");
    EXPECT_TRUE(list.actions.isEmpty());
    EXPECT_EQ(list.CountText, "0");
    EXPECT_EQ(list.formatString(), actionGridFormat());
    EXPECT_EQ(actionGridFormat(),
              "<Action" + QString(18, u' ') + "|<Peformed With" + QString(120, u' '));
}

TEST(ActionDetail, LoadsCommandDdeAndDefaultOfTheNamedAction) {
    TestHive hive;
    hive.set("t\\Shell", "open");
    hive.set("t\\Shell\\open", "&Open");
    hive.set("t\\Shell\\open\\command", "w.exe /n");
    hive.set("t\\Shell\\open\\ddeexec", "[FileOpen(\"%1\")]");
    hive.set("t\\Shell\\open\\ddeexec\\application", "WinWord");
    hive.set("t\\Shell\\open\\ddeexec\\topic", "System");
    hive.set("t\\Shell\\go\\command", "abc"); // three characters: not loaded
    const ActionList list = LoadActions(hive.state, "t");

    const ActionDetail open = LoadActionDetail(hive.state, "t", list, "&Open");
    ASSERT_TRUE(open.found);
    EXPECT_EQ(open.ActionName, "&Open");
    EXPECT_EQ(open.action.Verb, "open");
    EXPECT_EQ(open.action.IsDefault, "yes");
    EXPECT_EQ(open.action.Command, "w.exe /n");
    EXPECT_EQ(open.action.UsesDde, "yes");
    EXPECT_EQ(open.action.DdeApplication, "WinWord");
    EXPECT_EQ(open.action.DdeNotRunning, "");
    EXPECT_EQ(open.action.DdeTopic, "System");

    const ActionDetail go = LoadActionDetail(hive.state, "t", list, "go");
    ASSERT_TRUE(go.found);
    EXPECT_EQ(go.action.Command, "");
    EXPECT_EQ(go.action.IsDefault, "no");
    EXPECT_EQ(go.action.UsesDde, "no");
    EXPECT_FALSE(LoadActionDetail(hive.state, "t", list, "nothing").found);
}

TEST(VerbFromActionName, JoinsTheWordsWithUnderscores) {
    EXPECT_EQ(VerbFromActionName("Open with Editor"), "Open_with_Editor");
    EXPECT_EQ(VerbFromActionName("  Print   now "), "Print_now");
    EXPECT_EQ(VerbFromActionName(""), "");
    QStringList words;
    for (int i = 1; i <= 55; ++i)
        words.append(QString::number(i));
    const QString verb = VerbFromActionName(words.join(u' '));
    EXPECT_TRUE(verb.startsWith("6_7_"));
    EXPECT_TRUE(verb.endsWith("_55"));
}
