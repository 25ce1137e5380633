#pragma once
// Choosing an icon without a window: the stepping rule of the icon scroll bar, the layout of the
// icon panel, its status texts and the pictures it shows. The main window and orvx share them.

#include "platform/drive_map.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::editing {

inline constexpr int kIconsPerRow = 7;
inline constexpr int kIconPanelCellTwips = 700;
inline constexpr int kIconPreviewCellTwips = 550;

// Icon number of a panel cell, and the cell of an icon number.
constexpr int iconNumberAt(int row, int column) {
    return row * kIconsPerRow + column;
}
constexpr int iconRowOf(int number) {
    return number / kIconsPerRow;
}
constexpr int iconColumnOf(int number) {
    return number % kIconsPerRow;
}
// Rows the panel needs for count icons (one at least, as the empty grid has).
constexpr int iconPanelRows(int count) {
    return count <= 0 ? 1 : (count + kIconsPerRow - 1) / kIconsPerRow;
}

// The icon number a text means as the number label holds it: leading blanks skipped, an
// optional sign and the leading digits ("12x" is 12, "x" and "" are 0).
int iconNumberValue(const QString& text);

// Where the scroll bar goes after a change: iconNumberText is the number label, barValue the
// bar's position, sync the one-shot request to move the bar to the label's number (cleared when
// used). A number outside the file's icons puts the bar on icon 0.
struct IconStep {
    int maximum = 0; // count - 1, at least 0
    int value = 0;   // the icon to show
};
IconStep stepIcon(const QString& iconNumberText, int iconCount, int barValue, bool& sync);

// " 40 Icons Found for FILE" (a blank before a number that is not negative).
QString iconsFoundStatus(int count, const QString& file);
QString noIconsStatus(const QString& file);

// What "&Icons" does with the text of the icon field.
enum class IconViewKind {
    Container, // a program or library: every icon it holds
    Single,    // an icon file: its one icon
    None,      // cannot hold icons: the panel stays shut
};
struct IconViewTarget {
    IconViewKind kind = IconViewKind::None;
    QString file; // the file part of the field (before a comma and number)
};
IconViewTarget iconViewTarget(const QString& iconField);

// The icons of one file as the panel shows them, read in one pass over the file. Files are
// Windows paths resolved through the drive map; a native path without a drive letter is read as
// it stands.
struct IconSheet {
    int count = 0;
    QList<QImage> icons; // icon i at index i; a null image where the icon cannot be drawn
};
// Pictures at size x size pixels (32 times the screen's pixel ratio), null when size <= 0.
IconSheet readIconSheet(const platform::DriveMap& drives, const QString& file, int size = 32);
QString nativeIconPath(const platform::DriveMap& drives, const QString& file);

// The icon-file picker's texts.
QString iconFileListHeader(int count);
QString iconPreviewLabel(int count);
// The Browse dialog's title and its eight filters, in the order the picker offers them (Qt's
// filter syntax, joined with ";;").
QString iconBrowseTitle();
QStringList iconBrowseFilters();
// The text a file chosen by browsing gives the picker: its Windows path when it lies on a mapped
// drive, else the native path. No " %1" is added (icon files are not commands).
QString browsedIconFile(const platform::DriveMap& drives, const QString& nativePath);

// The icon panel drawn as one picture, 7 icons a row in cells of cell x cell pixels (what orvx
// writes for the panel of a file).
QImage iconSheetPicture(const IconSheet& sheet, int cell);

} // namespace orvanex::editing
