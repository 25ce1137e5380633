// Start-up loading: the two lists, their order and special rows, the locate lists, the update
// slots and the auxiliary lists.

#include "model/grid_rows.h"
#include "model/loading.h"
#include "model/readers.h"
#include "model_test_hive.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestHive;

namespace {

void buildSmallHive(TestHive& hive) {
    hive.set(".txt", "txtfile");
    hive.set(".log", "txtfile");
    hive.set("txtfile", "Text Document");
    hive.set(".doc", "Word.Document");
    hive.set(".DOT", "Word.Document");
    hive.set("Word.Document", "Word Document");
    hive.set(".dic", "");           // no type: a "." fallback, kept out of the type list
    hive.set(".cab", "CLSID\\{X}"); // CLSID type key missing
    hive.key("*");
    hive.key("Unknown");
    hive.key("unknown2"); // an ordinary type key
    hive.set("abc", "not an extension");
    hive.set(".txt", "text/plain", "Content Type");
}

// Each type as "TypeName | Description | Extensions", in table order.
QStringList typeTexts(const QList<FileTypeEntry>& types) {
    QStringList out;
    for (const FileTypeEntry& t : types)
        out.append(t.TypeName + " | " + t.Description + " | " + t.Extensions);
    return out;
}

} // namespace

TEST(Loading, ExtensionListRowsOrderAndSpecialRows) {
    TestHive hive;
    buildSmallHive(hive);
    const ExtensionLoad load = LoadExtensions(hive.state);
    ASSERT_EQ(load.entries.size(), 8);
    // Table order is enumeration order (case-insensitive names); rows are sorted by Ext.
    EXPECT_EQ(load.entries[0].KeyName, "*");
    EXPECT_EQ(load.entries[1].KeyName, ".cab");
    EXPECT_EQ(load.entries.last().KeyName, "Unknown");
    const ExtensionEntry& txt = load.entries[6];
    EXPECT_EQ(txt.Ext, "TXT");
    EXPECT_EQ(txt.ContentType, "text/plain");
    EXPECT_EQ(load.entries[4].ContentType, " ");
    EXPECT_EQ(test::rowTexts(load.rows),
              QStringList({"*\t \t \tUsed for all file extensions\t ", "CAB\t \t \tCAB__File\t ",
                           "DIC\t \t \tDIC__File\t ", "DOC\t \t \tWord Document\t ",
                           "DOT\t \t \tWord Document\t ", "LOG\t \t \tText Document\t ",
                           "TXT\t \t \tText Document\t ",
                           "UNKNOWN\t \t \tUsed for unregistered file extensions\t "}));
    EXPECT_EQ(test::rowCells(load.rows, 0, true), QStringList({"*", "UNKNOWN"}));
}

TEST(Loading, UnknownInAnotherCaseIsNotTheSpecialEntry) {
    TestHive hive;
    hive.key("unknown");
    hive.key(".x");
    const ExtensionLoad load = LoadExtensions(hive.state);
    ASSERT_EQ(load.entries.size(), 1);
    EXPECT_EQ(load.entries[0].Ext, "X");
}

TEST(Loading, FileTypeListLeavesOutTypesWithoutARealKey) {
    TestHive hive;
    buildSmallHive(hive);
    const ExtensionLoad ext = LoadExtensions(hive.state);
    const FileTypeLoad types = BuildFileTypes(ext.entries);
    EXPECT_EQ(test::rowTexts(types.rows),
              QStringList({"CAB__File\t \t \tCAB\t ", "Text Document\t \t \tLOG TXT\t ",
                           "Used for all file extensions\t \t \t*\t ",
                           "Used for unregistered file extensions\t \t \tUNKNOWN\t ",
                           "Word Document\t \t \tDOC DOT\t "}));
    EXPECT_EQ(test::rowCells(types.rows, 3, true), QStringList({"*", "UNKNOWN"}));
    // The table keeps every distinct type, in TypeName order.
    EXPECT_EQ(typeTexts(types.types),
              QStringList({"* | Used for all file extensions | *", ".dic | .dic | DIC",
                           "CLSID\\{X} | CAB__File | CAB",
                           "Unknown | Used for unregistered file extensions | UNKNOWN",
                           "Word.Document | Word Document | DOC DOT",
                           "txtfile | Text Document | LOG TXT"}));
}

TEST(Loading, ATypeWithSixtyExtensionsListsAllOfThem) {
    TestHive hive;
    hive.set("many", "Many Things");
    QStringList expected;
    for (int i = 0; i < 60; ++i) {
        const QString ext = QStringLiteral("e%1").arg(i, 2, 10, QLatin1Char('0'));
        hive.set("." + ext, "many");
        expected.append(ext.toUpper());
    }
    const ExtensionLoad ext = LoadExtensions(hive.state);
    ASSERT_EQ(ext.entries.size(), 60);
    const FileTypeLoad types = BuildFileTypes(ext.entries);
    ASSERT_EQ(types.rows.size(), 1);
    EXPECT_EQ(types.rows[0].related, expected.join(u' '));
    EXPECT_EQ(extensionsOfType(ext.entries, "many", 0).size(), 59);
}

TEST(Loading, ExtensionsGoToTheTypeTheyNameNowInTypeNameOrder) {
    auto entry = [](const char* ext, const char* type, const char* loadedType) {
        ExtensionEntry e;
        e.Ext = ext;
        e.TypeName = type;
        e.TypeNameCopy = loadedType;
        e.DescriptionCopy = QStringLiteral("About ") + loadedType;
        return e;
    };
    // Types arrive out of order; .B was edited to name t1 (its loaded type t3 keeps its row), and
    // .D names a type that no loaded extension had.
    // Type names are compared exactly: T1 is not t1.
    const QList<ExtensionEntry> entries{entry("C", "t2", "t2"), entry("B", "t1", "t3"),
                                        entry("A", "t1", "t1"), entry("D", "t9", "t2"),
                                        entry("E", "t2", "t2"), entry("F", "T1", "T1")};
    const FileTypeLoad load = BuildFileTypes(entries);
    EXPECT_EQ(typeTexts(load.types), QStringList({"T1 | About T1 | F", "t1 | About t1 | A B",
                                                  "t2 | About t2 | C E", "t3 | About t3 | "}));
}

TEST(Loading, EachTypeTakesTheDescriptionOfItsFirstExtensionInTableOrder) {
    TestHive hive;
    // Both name a CLSID type that does not exist: each is described by its own Ext.
    hive.set(".bbb", "CLSID\\{Y}");
    hive.set(".aaa", "CLSID\\{Y}");
    const FileTypeLoad types = BuildFileTypes(LoadExtensions(hive.state).entries);
    ASSERT_EQ(types.rows.size(), 1);
    EXPECT_EQ(types.rows[0].text(), "AAA__File\t \t \tAAA BBB\t ");
}

TEST(Loading, EmptyRegistryGivesEmptyListsAndFullLocateLists) {
    TestHive hive;
    hive.set("txtfile", "Text"); // a type without extensions is not listed
    const StartupModel m = LoadStartupModel(hive.state, platform::DriveMap(), false);
    EXPECT_TRUE(m.extensions.rows.isEmpty());
    EXPECT_TRUE(m.fileTypes.rows.isEmpty());
    EXPECT_TRUE(m.lists.applications.items().isEmpty());
    EXPECT_TRUE(m.lists.applications.firstPending());
    const QStringList items = locateItems();
    ASSERT_EQ(items.size(), 27);
    EXPECT_EQ(items[0], "   Locate");
    EXPECT_EQ(items[1], "A----A----A");
    EXPECT_EQ(items[26], "Z----Z----Z");
    EXPECT_EQ(FindLocateRow({}, "T----T----T"), 0);
}

TEST(Grids, FormatStringsAndRowShapes) {
    EXPECT_EQ(extensionGridFormat(), "<File extensions        |^# files|^ Size(Bytes)|"
                                     "<Registered file types" +
                                         QString(150, u' ') + "|");
    EXPECT_EQ(fileTypeGridFormat(), "<Registered file types       " + QString(28, u' ') +
                                        "|^# files|^ Size(Bytes)|<File extensions" +
                                        QString(150, u' ') + "|");
    EXPECT_EQ(extensionRow("UNKNOWN", "x").special, true);
    EXPECT_EQ(extensionRow("unknown", "x").special, false);
    EXPECT_EQ(fileTypeRow("*", "TXT").special, false);
    EXPECT_EQ(fileTypeRow("Used", "*").text().count(u'\t'), kGridColumns - 1);
    EXPECT_EQ(startupHint(), QString(20, u' ') +
                                 "Click on the file extensions to Browse/Edit file types!" +
                                 QString(19, u' ') + "Right click on titles for extended help!");
}

TEST(Grids, LocateFindsTheFirstRowAtOrAfterTheLetter) {
    const QStringList col0{"*", "BAT", "doc", "LOG", "TXT"};
    EXPECT_EQ(FindLocateRow(col0, "   Locate"), 4); // "L"; "doc" upper-cases to DOC < L
    EXPECT_EQ(FindLocateRow(col0, "D----D----D"), 3);
    EXPECT_EQ(FindLocateRow(col0, "A----A----A"), 2);
    EXPECT_EQ(FindLocateRow(col0, "Z----Z----Z"), 5); // beyond every entry: the last row
}

TEST(Grids, HeaderTogglesSortDescendingFirstAndTheSizeHeaderUsesTheHiddenColumn) {
    SortToggles toggles;
    EXPECT_EQ(toggles.click(1), kSortStringDescending);
    EXPECT_EQ(toggles.click(1), kSortStringAscending);
    EXPECT_EQ(toggles.click(0), kSortStringDescending);
    EXPECT_EQ(toggles.click(4), 0);
    EXPECT_EQ(sortKeyColumn(2), kHiddenColumn);
    EXPECT_EQ(sortKeyColumn(3), 3);
    EXPECT_EQ(sortKeyColumn(4), -1);

    QList<IndexRow> rows{extensionRow("b", "1"), extensionRow("A", "2"), extensionRow("a", "3")};
    rows[0].sizeKey = "0000000010";
    rows[1].sizeKey = "0000000002";
    rows[2].sizeKey = "0000000010";
    sortRows(rows, kHiddenColumn, false);
    EXPECT_EQ(rows[0].name, "b"); // ties keep their order
    EXPECT_EQ(rows[1].name, "a");
    EXPECT_EQ(rows[2].name, "A");
    sortRows(rows, 0, true); // case significant: upper case first
    EXPECT_EQ(rows[0].name, "A");
    EXPECT_EQ(rows[2].name, "b");
}

TEST(StartupLists, ApplicationAndIconFileRules) {
    ApplicationList apps;
    EXPECT_FALSE(apps.add(""));
    EXPECT_FALSE(apps.add(" "));
    EXPECT_FALSE(apps.add("short.exe")); // 9 characters
    EXPECT_TRUE(apps.add("calc.exe 1")); // 10 characters
    EXPECT_TRUE(apps.add("notepad.exe %1"));
    EXPECT_FALSE(apps.add("notepad.exe %1"));
    EXPECT_TRUE(apps.add("NOTEPAD.EXE %1")); // exact comparison
    EXPECT_FALSE(apps.add("calc.exe 1"));
    EXPECT_EQ(apps.items(), QStringList({"calc.exe 1", "notepad.exe %1", "NOTEPAD.EXE %1"}));
    EXPECT_FALSE(apps.firstPending());

    IconFileList icons;
    EXPECT_TRUE(icons.add("C:\\WINDOWS\\a.dll"));
    EXPECT_FALSE(icons.add("c:\\windows\\A.DLL")); // upper-cased comparison
    EXPECT_EQ(icons.items(), QStringList({"C:\\WINDOWS\\a.dll"}));
}

TEST(StartupLists, GatherCommandsOfEveryVerbAndExistingIconFiles) {
    TestHive hive;
    test::TestDrive drive("gather");
    drive.plainFile("C:\\WINDOWS\\lib.dll");
    hive.set(".a", "atype");
    hive.set("atype", "A");
    hive.set("atype\\Shell\\open\\command", "C:\\A.EXE \"%1\"");
    hive.set("atype\\Shell\\print\\command", "C:\\A.EXE /p \"%1\"");
    hive.set("atype\\DefaultIcon", "C:\\WINDOWS\\lib.dll,1");
    hive.set(".b", "btype");
    hive.set("btype", "B");
    hive.set("btype\\Shell\\open\\command", "C:\\A.EXE \"%1\"");
    hive.set("btype\\DefaultIcon", "c:\\windows\\LIB.DLL");
    hive.set(".c", "ctype");
    hive.set("ctype", "C");
    hive.set("ctype\\DefaultIcon", "C:\\WINDOWS\\none.dll");
    const StartupModel m = LoadStartupModel(hive.state, drive.drives, false);
    EXPECT_EQ(m.lists.applications.items(),
              QStringList({"C:\\A.EXE \"%1\"", "C:\\A.EXE /p \"%1\""}));
    EXPECT_EQ(m.lists.iconFiles.items(), QStringList({"C:\\WINDOWS\\lib.dll"}));
}

// The known-applications list and the action grid list the same verbs: a tab or a line end in a
// verb's name is part of it, only blanks are trimmed.
TEST(StartupLists, VerbNamesAreTrimmedAsTheActionGridTrimsThem) {
    TestHive hive;
    hive.set(".t", "ttype");
    hive.set("ttype", "T");
    hive.set("ttype\\Shell\\open\t\\command", "C:\\TAB.EXE \"%1\"");
    hive.set(".u", "utype");
    hive.set("utype", "U");
    hive.set("utype\\Shell\\edit\n\\command", "C:\\LINE.EXE \"%1\"");
    const StartupModel m = LoadStartupModel(hive.state, platform::DriveMap(), false);
    EXPECT_EQ(m.lists.applications.items(),
              QStringList({"C:\\TAB.EXE \"%1\"", "C:\\LINE.EXE \"%1\""}));
    const ActionList t = LoadActions(hive.state, "ttype");
    ASSERT_EQ(t.actions.size(), 1);
    EXPECT_EQ(t.actions[0].Verb, "open\t");
    EXPECT_EQ(t.actions[0].Command, "C:\\TAB.EXE \"%1\"");
    const ActionList u = LoadActions(hive.state, "utype");
    ASSERT_EQ(u.actions.size(), 1);
    EXPECT_EQ(u.actions[0].Command, "C:\\LINE.EXE \"%1\"");
}

TEST(UpdateSlots, StartBlankAndTheBackupCounterIsKeptTrimmed) {
    const QString app = kMainAppName;
    SaveSetting(app, "Update03", "FileType", "Text Document");
    SaveSetting(app, "NextNumber", "NextNumber", " 1234 ");
    ResetUpdateSlots();
    EXPECT_EQ(GetSetting(app, "Update03", "FileType", "99"), " ");
    EXPECT_EQ(GetSetting(app, "Update10", "QuickView", "99"), " ");
    EXPECT_EQ(GetSetting(app, "Update01", "DDETopic", "99"), " ");
    EXPECT_EQ(GetSetting(app, "NextNumber", "NextNumber", "99"), "1234");
    EXPECT_EQ(updateSlotKeys().size(), 17);
    EXPECT_EQ(updateSlotSection(7), "Update07");

    DeleteSetting(app, "NextNumber");
    ResetUpdateSlots();
    EXPECT_EQ(GetSetting(app, "NextNumber", "NextNumber", "99"), "1000");
}
