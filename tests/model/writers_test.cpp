// Each writer's effect on the store.

#include "model/file_type_model.h"
#include "model/readers.h"
#include "model/writers.h"
#include "model_test_hive.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestHive;

TEST(Writers, SetExtensionLowerCasesAndAddsTheDot) {
    TestHive hive;
    EXPECT_EQ(setExtension(hive.state, "TXT", "txtfile"), 0);
    EXPECT_EQ(hive.value(".txt"), "txtfile");
    EXPECT_EQ(setExtension(hive.state, ".Log", "txtfile"), 0);
    EXPECT_EQ(hive.value(".log"), "txtfile");
}

TEST(Writers, ActionNameAndCommandCreateTheChain) {
    TestHive hive;
    EXPECT_EQ(setActionName(hive.state, "t", "Open_with", "Open with"), 0);
    EXPECT_EQ(hive.value("t\\Shell\\Open_with"), "Open with");
    EXPECT_EQ(setCommand(hive.state, "t", "print", "p.exe %1"), 0);
    EXPECT_EQ(hive.value("t\\Shell\\print\\command"), "p.exe %1");
    EXPECT_EQ(hive.value("t\\Shell\\print"), "<absent>");
}

TEST(Writers, DdeWritesDefaultForAnEmptyMessageAndDropsEmptiedChildren) {
    TestHive hive;
    EXPECT_EQ(setDde(hive.state, "t", "open", {"[Open]", "App", "[Run]", "System"}), 0);
    EXPECT_EQ(hive.value("t\\Shell\\open\\ddeexec"), "[Open]");
    EXPECT_EQ(hive.value("t\\Shell\\open\\ddeexec\\ifexec"), "[Run]");
    EXPECT_EQ(setDde(hive.state, "t", "open", {"", "App", "", ""}), 0);
    EXPECT_EQ(hive.value("t\\Shell\\open\\ddeexec"), "Default");
    EXPECT_EQ(hive.value("t\\Shell\\open\\ddeexec\\application"), "App");
    EXPECT_FALSE(hive.exists("t\\Shell\\open\\ddeexec\\ifexec"));
    EXPECT_FALSE(hive.exists("t\\Shell\\open\\ddeexec\\topic"));
}

TEST(Writers, DeleteDdeSkipsAMissingIfexec) {
    TestHive hive;
    hive.set("t\\Shell\\open\\command", "x.exe");
    hive.set("t\\Shell\\open\\ddeexec", "[Open]");
    hive.set("t\\Shell\\open\\ddeexec\\application", "App");
    hive.set("t\\Shell\\open\\ddeexec\\topic", "System");
    EXPECT_EQ(deleteDde(hive.state, "t", "open"), 0);
    EXPECT_FALSE(hive.exists("t\\Shell\\open\\ddeexec"));
    EXPECT_TRUE(hive.exists("t\\Shell\\open\\command"));
}

TEST(Writers, DefaultActionIsSetAndClearedWithABlank) {
    TestHive hive;
    EXPECT_EQ(setDefaultAction(hive.state, "t", "open"), 0);
    EXPECT_EQ(hive.value("t\\Shell"), "open");
    EXPECT_EQ(clearDefaultAction(hive.state, "t"), 0);
    EXPECT_EQ(hive.value("t\\Shell"), " ");
}

TEST(Writers, DeleteActionClearsTheDefaultAndRemovesAnEmptyShell) {
    TestHive hive;
    hive.set("t", "T");
    hive.set("t\\Shell", "open");
    hive.set("t\\Shell\\open\\command", "o.exe");
    hive.set("t\\Shell\\open\\ddeexec", "[x]");
    hive.key("t\\Shell\\edit"); // a verb without a command key
    EXPECT_EQ(deleteAction(hive.state, "t", "open"), 0);
    EXPECT_FALSE(hive.exists("t\\Shell\\open"));
    EXPECT_EQ(hive.value("t\\Shell"), " ");
    EXPECT_EQ(deleteAction(hive.state, "t", "edit"), 0);
    EXPECT_FALSE(hive.exists("t\\Shell"));
    EXPECT_TRUE(hive.exists("t"));
}

TEST(Writers, QuickViewAndAlwaysShowExtension) {
    TestHive hive;
    hive.set("t", "T");
    EXPECT_EQ(setQuickView(hive.state, "t"), 0);
    EXPECT_EQ(hive.value("t\\QuickView"), "*");
    EXPECT_EQ(setAlwaysShowExt(hive.state, "t"), 0);
    EXPECT_EQ(hive.value("t", "AlwaysShowExt"), "*");
    EXPECT_EQ(LoadFlags(hive.state, "t").AlwaysShowExt, "yes");
    EXPECT_EQ(clearQuickView(hive.state, "t"), 0);
    EXPECT_FALSE(hive.exists("t\\QuickView"));
    EXPECT_EQ(clearAlwaysShowExt(hive.state, "t"), 0);
    EXPECT_EQ(hive.value("t", "AlwaysShowExt"), "<absent>");
    // The type key is opened, never created, for the always-show mark.
    EXPECT_EQ(setAlwaysShowExt(hive.state, "gone"), 2);
    EXPECT_EQ(hive.state.LastStatus, 2);
    EXPECT_FALSE(hive.exists("gone"));
}

TEST(Writers, DefaultIconChecksTheFileAndAddsTheNumberForContainers) {
    TestHive hive;
    test::TestDrive drive("icon_writer");
    drive.plainFile("C:\\WINDOWS\\lib.dll");
    drive.plainFile("C:\\ICONS\\one.ico");
    hive.set("t", "T");

    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "C:\\WINDOWS\\LIB.DLL", " 4 "), 0);
    EXPECT_EQ(hive.value("t\\DefaultIcon"), "C:\\WINDOWS\\LIB.DLL,4");
    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "C:\\ICONS\\one.ico", "3"), 0);
    EXPECT_EQ(hive.value("t\\DefaultIcon"), "C:\\ICONS\\one.ico");
    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "%1", "0"), 0);
    EXPECT_EQ(hive.value("t\\DefaultIcon"), "%1");

    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "C:\\WINDOWS\\none.dll", "0"),
              kIconFileMissing);
    EXPECT_EQ(hive.state.LastStatus, kIconFileMissing);
    EXPECT_EQ(hive.value("t\\DefaultIcon"), "%1");

    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "", "0"), 0);
    EXPECT_FALSE(hive.exists("t\\DefaultIcon"));
    EXPECT_EQ(setDefaultIcon(hive.state, drive.drives, "t", "", "0"), 0);
}

TEST(Writers, DeleteKeyRemovesTheSubtree) {
    TestHive hive;
    hive.set("t\\Shell\\open\\command", "x");
    EXPECT_EQ(deleteKey(hive.state, "t"), 0);
    EXPECT_FALSE(hive.exists("t"));
    EXPECT_NE(deleteKey(hive.state, "t"), 0);
}
