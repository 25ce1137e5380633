// The detail panel's fields, icon display, protected entries and status texts.

#include "model/detail_view.h"
#include "model/loading.h"
#include "model_test_hive.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestHive;

namespace {

class DetailViewTest : public ::testing::Test {
protected:
    DetailViewTest() : drive("detail_view") {}

    void addType(const QString& ext, const QString& type, const QString& description,
                 const QString& icon) {
        hive.set("." + ext, type);
        hive.set(type, description);
        if (!icon.isNull())
            hive.set(type + "\\DefaultIcon", icon);
    }

    void load() { model = LoadStartupModel(hive.state, drive.drives, false); }

    DetailView extension(const QString& ext) {
        for (const IndexRow& r : model.extensions.rows)
            if (r.name == ext)
                return ShowExtension(hive.state, drive.drives, model.extensions.entries,
                                     {r.name, r.related, r.name});
        ADD_FAILURE() << "no row " << ext.toStdString();
        return {};
    }

    DetailView fileType(const QString& description) {
        for (const IndexRow& r : model.fileTypes.rows)
            if (r.name == description)
                return ShowFileType(hive.state, drive.drives, model.fileTypes.types,
                                    {r.name, r.related, r.related});
        ADD_FAILURE() << "no row " << description.toStdString();
        return {};
    }

    TestHive hive;
    test::TestDrive drive;
    StartupModel model;
};

} // namespace

TEST_F(DetailViewTest, ADllWithoutPathIsFoundInTheSystemFolderAndCounted) {
    drive.iconLibrary("C:\\WINDOWS\\SYSTEM\\shell32.dll", 12);
    addType("txt", "txtfile", "Text Document", "shell32.dll,3");
    hive.set(".txt", "text/plain", "Content Type");
    hive.set(".log", "txtfile");
    hive.set("txtfile\\Shell", "open");
    hive.set("txtfile\\Shell\\open\\command", "C:\\WINDOWS\\NOTEPAD.EXE %1");
    hive.key("txtfile\\QuickView");
    load();

    const DetailView v = extension("TXT");
    EXPECT_EQ(v.txtExt, "TXT");
    EXPECT_EQ(v.txtDesc, "Text Document");
    EXPECT_EQ(v.txtRel, "LOG");
    EXPECT_EQ(v.relatedCount, 1);
    EXPECT_EQ(v.txtMIME, "text/plain");
    EXPECT_EQ(v.CurrentTypeKey, "txtfile");
    EXPECT_EQ(v.txtIcon, "C:\\WINDOWS\\SYSTEM\\shell32.dll");
    EXPECT_EQ(v.txtIconNumber, "3");
    EXPECT_EQ(v.iconCount, 12);
    EXPECT_EQ(v.status, " 12 Icons Found for C:\\WINDOWS\\SYSTEM\\shell32.dll");
    EXPECT_TRUE(v.hsEnabled);
    EXPECT_EQ(v.hsMax, 11);
    EXPECT_EQ(v.hsValue, 3);
    EXPECT_TRUE(v.iconCommandsEnabled);
    ASSERT_FALSE(v.picIcon.isNull());
    EXPECT_EQ(v.picIcon.size(), QSize(32, 32));
    EXPECT_EQ(v.flags.QuickView, "yes");
    EXPECT_EQ(v.actions.DefaultLabel, "open");
    EXPECT_EQ(v.EditState, 1);
    EXPECT_EQ(v.OldIconFile, v.txtIcon);
    EXPECT_EQ(v.OldIconNumber, "3");
    EXPECT_TRUE(v.deleteExtEnabled);
    EXPECT_FALSE(v.addExtTypeEnabled.has_value());
}

TEST_F(DetailViewTest, APercentPlaceholderShowsNoIcon) {
    addType("exe", "exefile", "Application", "%1");
    addType("ico", "icofile", "Icon", "%1");
    load();
    const DetailView v = extension("EXE");
    EXPECT_EQ(v.status, "No Icons Found for EXE");
    EXPECT_TRUE(v.picIcon.isNull());
    EXPECT_EQ(v.txtIcon, "%1");
    EXPECT_FALSE(v.deleteExtEnabled); // EXE is protected
    EXPECT_EQ(v.EditState, 1);
    EXPECT_TRUE(extension("ICO").deleteExtEnabled);
}

TEST_F(DetailViewTest, AnIndexBeyondTheCountShowsTheCountButDrawsNothing) {
    drive.iconLibrary("C:\\WINDOWS\\MORICONS.DLL", 4);
    addType("doc", "docfile", "Document", "C:\\WINDOWS\\moricons.dll,9");
    load();
    const DetailView v = fileType("Document");
    EXPECT_EQ(v.iconCount, 4);
    EXPECT_EQ(v.status, " 4 Icons Found for C:\\WINDOWS\\moricons.dll");
    EXPECT_TRUE(v.picIcon.isNull());
    EXPECT_EQ(v.txtIconNumber, "9");
    EXPECT_EQ(v.hsMax, 3);
    EXPECT_LE(v.hsValue, v.hsMax);
    EXPECT_TRUE(v.deleteExtEnabled);
    EXPECT_EQ(v.addExtTypeEnabled, std::optional<bool>(true));
}

TEST_F(DetailViewTest, AMissingFileSaysNoIconFound) {
    addType("abc", "abcfile", "ABC Data", "C:\\PROGRAMS\\abc.exe,1");
    addType("sys", "sysfile", "System", "gone.dll,0");
    load();
    const DetailView v = extension("ABC");
    EXPECT_EQ(v.status, "No Icon Found for ABC");
    EXPECT_EQ(v.iconCount, 0);
    EXPECT_FALSE(v.iconCommandsEnabled);
    EXPECT_EQ(v.EditState, 1);
    // A bare name shows where it was looked for.
    EXPECT_EQ(extension("SYS").txtIcon, "C:\\WINDOWS\\SYSTEM\\gone.dll,0");
}

TEST_F(DetailViewTest, IconFilesAndOtherKinds) {
    drive.icoFile("C:\\ICONS\\zip.ico");
    addType("zip", "zipfile", "Zip", "C:\\icons\\ZIP.ICO,5");
    addType("bmp", "bmpfile", "Bitmap", "C:\\WINDOWS\\pic.bmp");
    addType("one", "onefile", "One", "1");
    addType("non", "nonfile", "None", QString());
    load();
    const DetailView zip = extension("ZIP");
    EXPECT_EQ(zip.status, "1 Icon Found for C:\\icons\\ZIP.ICO");
    EXPECT_FALSE(zip.picIcon.isNull());
    EXPECT_FALSE(zip.iconCommandsEnabled);
    EXPECT_EQ(extension("BMP").status, "No Icons Found for BMP");
    EXPECT_EQ(extension("ONE").status, "No Icons Found for ONE");
    const DetailView none = extension("NON");
    EXPECT_EQ(none.status, "No Icons Found for NON");
    EXPECT_EQ(none.txtIcon, "");
}

TEST_F(DetailViewTest, WildcardEntriesEndWithTheirMessageAndAreProtected) {
    drive.iconLibrary("C:\\WINDOWS\\SYSTEM\\shell32.dll", 3);
    hive.key("*");
    hive.key("Unknown");
    hive.set("Unknown\\DefaultIcon", "shell32.dll,0");
    hive.set("Unknown\\Shell\\openas\\command", "rundll.exe shell32.dll,OpenAs_RunDLL %1");
    load();
    const DetailView star = extension("*");
    EXPECT_EQ(star.status, "Wildcard (*) for all file extensions!!");
    EXPECT_FALSE(star.deleteExtEnabled);
    EXPECT_TRUE(star.backupEnabled);
    const DetailView unknown = fileType("Used for unregistered file extensions");
    EXPECT_EQ(unknown.iconCount, 3); // counted first, then the wildcard message
    EXPECT_EQ(unknown.status, "Wildcard (UNKNOWN) for all unregistered file extensions!!");
    EXPECT_EQ(unknown.addExtTypeEnabled, std::optional<bool>(false));
    EXPECT_EQ(unknown.actions.actions.size(), 1);
}

TEST_F(DetailViewTest, ProtectionFollowsTheWholeExtensionsText) {
    addType("bat", "batfile", "Batch", QString());
    addType("com", "comfile", "Command", QString());
    hive.set(".cmd", "comfile");
    load();
    EXPECT_FALSE(fileType("Batch").deleteExtEnabled);
    EXPECT_TRUE(fileType("Command").deleteExtEnabled); // "CMD COM" is not exactly COM
    EXPECT_FALSE(extension("COM").deleteExtEnabled);
    EXPECT_TRUE(isProtectedSelection("DLL"));
    EXPECT_FALSE(isProtectedSelection("dll"));
}

TEST_F(DetailViewTest, ARowWithoutAMatchingTypeShowsNoIcons) {
    load();
    const DetailView v = ShowFileType(hive.state, drive.drives, model.fileTypes.types,
                                      {"Nothing", "NONE", "Nothing"});
    EXPECT_FALSE(v.typeFound);
    EXPECT_EQ(v.status, "No Icons Found for Nothing");
    EXPECT_EQ(v.EditState, 0);
    EXPECT_EQ(retrievingStatus("TXT", false), "Retrieving   'TXT'   file extension");
    EXPECT_EQ(retrievingStatus("Text", true), "Retrieving   'Text'   file Type");
}
