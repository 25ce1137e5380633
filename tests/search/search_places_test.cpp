// What the search window reads without a widget: its start folder and copy choices in the
// settings, and the folder list from the file system.

#include "search/search_places.h"
#include "settings/settings_store.h"
#include "support/test_env.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::search;
using orvanex::test::freshDir;

namespace {

QString copySetting(const char* section) {
    return GetSetting(kMainAppName, QString::fromLatin1(section), QStringLiteral("TheCopy"),
                      QStringLiteral("unset"));
}

void setCopySetting(const char* section, const QString& value) {
    ASSERT_TRUE(
        SaveSetting(kMainAppName, QString::fromLatin1(section), QStringLiteral("TheCopy"), value));
}

QString startSetting() {
    return GetSetting(kMainAppName, QStringLiteral("CheckWarning1"), QStringLiteral("TheSearch"),
                      QStringLiteral("unset"));
}

QStringList texts(const FolderListing& listing) {
    QStringList out;
    for (const FolderRow& r : listing.rows)
        out << r.text;
    return out;
}

} // namespace

TEST(SearchFolderList, RootChainThenSubFoldersHiddenTooByNameIgnoringCase) {
    const QString root = freshDir(QStringLiteral("places-list"));
    QDir(root).mkpath(QStringLiteral("Docs/Work/Zed"));
    QDir(root).mkpath(QStringLiteral("Docs/Work/alpha"));
    QDir(root).mkpath(QStringLiteral("Docs/Work/.hidden"));
    QDir(root).mkpath(QStringLiteral("Docs/Work/Beta"));
    QFile file(root + QStringLiteral("/Docs/Work/a file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    platform::DriveMap drives;
    drives.setDrive(u'C', root);

    const QString work = root + QStringLiteral("/Docs/Work");
    const FolderListing listing = listFolders(drives, work, root);
    EXPECT_EQ(texts(listing),
              QStringList({shownPath(drives, root), "  Docs", "    Work", "      .hidden",
                           "      alpha", "      Beta", "      Zed"}));
    EXPECT_EQ(listing.current, 2);
    ASSERT_EQ(listing.rows.size(), 7);
    EXPECT_EQ(listing.rows[0].folder, root);
    EXPECT_EQ(listing.rows[2].folder, work);
    EXPECT_EQ(listing.rows[4].folder, work + QStringLiteral("/alpha"));
    EXPECT_TRUE(shownPath(drives, root).startsWith(QStringLiteral("C:")));

    // The drive's own folder: itself, then its sub-folders one level in.
    const FolderListing top = listFolders(drives, root, root);
    EXPECT_EQ(texts(top), QStringList({shownPath(drives, root), "  Docs"}));
    EXPECT_EQ(top.current, 0);
}

TEST(SearchFolderList, AFolderOffTheDriveStartsItsOwnChain) {
    const QString root = freshDir(QStringLiteral("places-off"));
    const QString other = freshDir(QStringLiteral("places-other"));
    QDir(other).mkpath(QStringLiteral("Sub"));
    platform::DriveMap drives;
    drives.setDrive(u'C', root);
    const FolderListing listing = listFolders(drives, other, root);
    // Not on drive C:, so shown by its own path, with nothing above it.
    EXPECT_EQ(texts(listing), QStringList({other, "  Sub"}));
    EXPECT_EQ(listing.current, 0);
    EXPECT_EQ(shownPath(drives, other), other);
}

TEST(SearchStartFolder, SavedFolderElseTheDefaultElseTheRootAndTheSavedOneKept) {
    const QString root = freshDir(QStringLiteral("places-start"));
    QDir(root).mkpath(QStringLiteral("DOCS"));
    platform::DriveMap drives;
    drives.setDrive(u'C', root);
    ASSERT_TRUE(SaveSetting(kMainAppName, QStringLiteral("CheckWarning1"),
                            QStringLiteral("TheSearch"), QStringLiteral("C:\\DOCS\\")));
    EXPECT_EQ(QDir::cleanPath(openingStartFolder(drives, QStringLiteral("C:\\"))),
              root + QStringLiteral("/DOCS"));

    saveStartFolder(QStringLiteral("C:\\GONE\\"));
    EXPECT_EQ(QDir::cleanPath(openingStartFolder(drives, QStringLiteral("C:\\"))), root);
    EXPECT_EQ(startSetting(), QStringLiteral("C:\\GONE\\")); // written back as read

    platform::DriveMap none;
    EXPECT_EQ(openingStartFolder(none, QStringLiteral("C:\\")), QDir::rootPath());
}

TEST(SearchStartFolder, AnEmptySavedFolderTakesTheDefault) {
    ASSERT_TRUE(SaveSetting(kMainAppName, QStringLiteral("CheckWarning1"),
                            QStringLiteral("TheSearch"), QString()));
    const QString root = freshDir(QStringLiteral("places-default"));
    platform::DriveMap drives;
    drives.setDrive(u'D', root);
    EXPECT_EQ(QDir::cleanPath(openingStartFolder(drives, QStringLiteral("D:\\"))), root);
}

TEST(SearchCopyChoices, DefaultsMarksWrittenBackAndTheProgramFolderIsNoChoice) {
    const QString app = QStringLiteral("C:\\ORVANEX\\");
    setCopySetting("CheckWarning1", QStringLiteral("n"));
    setCopySetting("CheckWarning2", QStringLiteral("y"));
    setCopySetting("CheckWarning3", QStringLiteral("D:\\SAVED"));
    CopyChoices c = readCopyChoices(app);
    EXPECT_FALSE(c.warn);
    EXPECT_TRUE(c.useFolder);
    EXPECT_EQ(c.folder, QStringLiteral("D:\\SAVED"));

    // The program's own folder, with or without its last separator, is the old default.
    for (const QString& stored : {QStringLiteral("C:\\ORVANEX\\"), QStringLiteral("C:\\ORVANEX")}) {
        setCopySetting("CheckWarning3", stored);
        EXPECT_EQ(readCopyChoices(app).folder, QString()) << qPrintable(stored);
    }
    setCopySetting("CheckWarning3", QStringLiteral("C:\\ORVANEX\\SUB"));
    EXPECT_EQ(readCopyChoices(app).folder, QStringLiteral("C:\\ORVANEX\\SUB"));

    // Any mark but "y" is off; the stored text itself is written back untouched.
    setCopySetting("CheckWarning1", QStringLiteral("Y"));
    setCopySetting("CheckWarning2", QStringLiteral("x"));
    c = readCopyChoices(app);
    EXPECT_FALSE(c.warn);
    EXPECT_FALSE(c.useFolder);
    EXPECT_EQ(copySetting("CheckWarning1"), QStringLiteral("Y"));
    EXPECT_EQ(copySetting("CheckWarning2"), QStringLiteral("x"));
}

TEST(SearchCopyChoices, SavedChoicesReadBackAndNoFolderKeepsTheStoredOne) {
    saveCopyChoices(true, false, QStringLiteral("E:\\COPIES"));
    EXPECT_EQ(copySetting("CheckWarning1"), QStringLiteral("y"));
    EXPECT_EQ(copySetting("CheckWarning2"), QStringLiteral("n"));
    CopyChoices c = readCopyChoices(QStringLiteral("C:\\ORVANEX\\"));
    EXPECT_TRUE(c.warn);
    EXPECT_FALSE(c.useFolder);
    EXPECT_EQ(c.folder, QStringLiteral("E:\\COPIES"));

    saveCopyChoices(false, true, std::nullopt);
    c = readCopyChoices(QStringLiteral("C:\\ORVANEX\\"));
    EXPECT_FALSE(c.warn);
    EXPECT_TRUE(c.useFolder);
    EXPECT_EQ(c.folder, QStringLiteral("E:\\COPIES"));
}
