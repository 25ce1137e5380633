// The icon rules without a window: stepping, the panel's layout and texts, reading a file's
// icons in order, and what a browsed file gives the picker.

#include "editing/icon_choice.h"
#include "model/icon_file_writer.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <climits>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::editing;

namespace {

// Solid icons, icon i in a colour of its own, so that the order can be read back.
QRgb colourOf(int i) {
    return qRgb(10 + i * 9, 200 - i * 5, (i * 37) % 256);
}

QString writeLibrary(const QString& dir, int count) {
    QList<QImage> icons;
    for (int i = 0; i < count; ++i) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(colourOf(i));
        icons.append(image);
    }
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/many.dll");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(model::peIconLibraryBytes(icons, true));
    return path;
}

} // namespace

TEST(IconChoice, PanelCellsNumberSevenIconsARow) {
    EXPECT_EQ(iconNumberAt(1, 2), 9);
    EXPECT_EQ(iconNumberAt(0, 6), 6);
    EXPECT_EQ(iconRowOf(9), 1);
    EXPECT_EQ(iconColumnOf(9), 2);
    EXPECT_EQ(iconRowOf(7), 1);
    EXPECT_EQ(iconColumnOf(6), 6);
    EXPECT_EQ(iconPanelRows(0), 1);
    EXPECT_EQ(iconPanelRows(7), 1);
    EXPECT_EQ(iconPanelRows(8), 2);
    EXPECT_EQ(iconPanelRows(40), 6);
}

TEST(IconChoice, NumberLabelReadsItsLeadingNumber) {
    EXPECT_EQ(iconNumberValue(QStringLiteral(" 12x")), 12);
    EXPECT_EQ(iconNumberValue(QStringLiteral("x")), 0);
    EXPECT_EQ(iconNumberValue(QString()), 0);
    EXPECT_EQ(iconNumberValue(QStringLiteral("-3")), -3);
    EXPECT_EQ(iconNumberValue(QStringLiteral("99999999999999")), INT_MAX);
}

TEST(IconChoice, SteppingKeepsTheBarInsideTheFilesIcons) {
    bool sync = false;
    // The user's new position is kept while the label's number is a valid icon.
    IconStep s = stepIcon(QStringLiteral("2"), 3, 1, sync);
    EXPECT_EQ(s.maximum, 2);
    EXPECT_EQ(s.value, 1);
    EXPECT_EQ(stepIcon(QStringLiteral("2"), 3, 2, sync).value, 2);
    // A number past the last icon, or below 0, puts the bar on icon 0.
    EXPECT_EQ(stepIcon(QStringLiteral("3"), 3, 2, sync).value, 0);
    EXPECT_EQ(stepIcon(QStringLiteral("-1"), 3, 2, sync).value, 0);
    // An empty label counts as 0.
    EXPECT_EQ(stepIcon(QString(), 3, 2, sync).value, 2);
    // A file without icons: one position.
    s = stepIcon(QStringLiteral("0"), 0, 5, sync);
    EXPECT_EQ(s.maximum, 0);
    EXPECT_EQ(s.value, 0);
    EXPECT_EQ(stepIcon(QStringLiteral("0"), 3, -4, sync).value, 0);
}

TEST(IconChoice, SyncMovesTheBarOnceToTheLabelsNumber) {
    bool sync = true;
    EXPECT_EQ(stepIcon(QStringLiteral("9"), 40, 0, sync).value, 9);
    EXPECT_FALSE(sync);
    EXPECT_EQ(stepIcon(QStringLiteral("9"), 40, 3, sync).value, 3);
    // A number outside the icons leaves the request waiting.
    sync = true;
    EXPECT_EQ(stepIcon(QStringLiteral("40"), 40, 3, sync).value, 0);
    EXPECT_TRUE(sync);
    EXPECT_EQ(stepIcon(QStringLiteral("39"), 40, 3, sync).value, 39);
}

TEST(IconChoice, StatusAndPickerTexts) {
    EXPECT_EQ(iconsFoundStatus(40, QStringLiteral("C:\\A.DLL")), " 40 Icons Found for C:\\A.DLL");
    EXPECT_EQ(iconsFoundStatus(0, QStringLiteral("x")), " 0 Icons Found for x");
    EXPECT_EQ(iconsFoundStatus(-1, QStringLiteral("x")), "-1 Icons Found for x");
    EXPECT_EQ(noIconsStatus(QStringLiteral("%1")), "No Icons Found for %1");
    EXPECT_EQ(iconFileListHeader(14),
              "14                                    Icon files listed - Please make the "
              "desired selection!");
    EXPECT_EQ(iconPreviewLabel(40), "40     icons for view only        press the 'Select' "
                                    "button to make the icon selection");
    EXPECT_EQ(iconBrowseTitle(), "ORVANEX - Browse for icon file.");
    const QStringList filters = iconBrowseFilters();
    ASSERT_EQ(filters.size(), 8);
    EXPECT_EQ(filters[0], "Applications (*.exe *.dll *.ico *.cpl *.pkg *.icl)");
    EXPECT_EQ(filters[3], "Icon Files (*.ico)");
    EXPECT_EQ(filters[6], "Package Files (*.pkg)");
    EXPECT_EQ(filters[7], "All Files (*)");
}

TEST(IconChoice, IconsButtonTellsKindsApart) {
    IconViewTarget t = iconViewTarget(QStringLiteral("C:\\WINDOWS\\SYSTEM\\shell32.dll"));
    EXPECT_EQ(t.kind, IconViewKind::Container);
    EXPECT_EQ(t.file, "C:\\WINDOWS\\SYSTEM\\shell32.dll");
    t = iconViewTarget(QStringLiteral("C:\\PROGRAM FILES\\X.EXE,3"));
    EXPECT_EQ(t.kind, IconViewKind::Container);
    EXPECT_EQ(t.file, "C:\\PROGRAM FILES\\X.EXE");
    for (const char* kind : {"a.cpl", "a.PKG", "a.icl"})
        EXPECT_EQ(iconViewTarget(QString::fromLatin1(kind)).kind, IconViewKind::Container) << kind;
    EXPECT_EQ(iconViewTarget(QStringLiteral("c:\\icons\\pic.Ico")).kind, IconViewKind::Single);
    EXPECT_EQ(iconViewTarget(QStringLiteral("%1")).kind, IconViewKind::None);
    EXPECT_EQ(iconViewTarget(QStringLiteral("C:\\a.bmp")).kind, IconViewKind::None);
}

TEST(IconChoice, SheetReadsEveryIconInOrderAtTheAskedSize) {
    const QString dir = test::freshDir(QStringLiteral("icon-sheet"));
    platform::DriveMap drives;
    drives.setDrive(u'C', dir);
    writeLibrary(dir + QStringLiteral("/ICONS"), 12);

    const IconSheet sheet = readIconSheet(drives, QStringLiteral("c:\\icons\\MANY.DLL"));
    ASSERT_EQ(sheet.count, 12);
    ASSERT_EQ(sheet.icons.size(), 12);
    for (int i : {0, 9, 11}) {
        ASSERT_EQ(sheet.icons[i].size(), QSize(32, 32));
        EXPECT_EQ(sheet.icons[i].pixel(16, 16), colourOf(i)) << i;
    }
    EXPECT_EQ(readIconSheet(drives, QStringLiteral("C:\\ICONS\\many.dll"), 64).icons[0].width(),
              64);
    // A native path is read as it stands; a missing file or an unmapped drive holds none.
    EXPECT_EQ(readIconSheet(drives, dir + QStringLiteral("/ICONS/many.dll")).count, 12);
    EXPECT_EQ(readIconSheet(drives, QStringLiteral("C:\\ICONS\\gone.dll")).count, 0);
    EXPECT_EQ(readIconSheet(drives, QStringLiteral("Q:\\ICONS\\many.dll")).count, 0);

    // The panel picture: 7 a row, icon 9 in the second row's third cell.
    const QImage picture = iconSheetPicture(sheet, 47);
    EXPECT_EQ(picture.size(), QSize(7 * 47, 2 * 47));
    EXPECT_EQ(picture.pixel(2 * 47 + 16, 47 + 16), colourOf(9));
    EXPECT_EQ(picture.pixel(6 * 47 + 16, 47 + 16), qRgb(255, 255, 255));
}

TEST(IconChoice, BrowsedFileIsNamedOnItsDrive) {
    const QString dir = test::freshDir(QStringLiteral("icon-browse"));
    platform::DriveMap drives;
    drives.setDrive(u'C', dir);
    const QString path = writeLibrary(dir + QStringLiteral("/ICONS"), 1);
    EXPECT_EQ(browsedIconFile(drives, path), "C:\\ICONS\\many.dll");
    // Outside every mapped drive: the path as chosen, and no " %1" in either case.
    EXPECT_EQ(browsedIconFile(drives, QStringLiteral("/opt/x.ico")), "/opt/x.ico");
    EXPECT_EQ(browsedIconFile(drives, QString()), "");
}
