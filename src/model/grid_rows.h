#pragma once
// The contents of the two index grids: format strings, rows as the grid gets them, sorting, the
// red special rows and the locate lists.

#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::model {

inline constexpr int kGridColumns = 5;
inline constexpr int kHiddenColumn = 4;            // the size sort key, not shown
inline constexpr unsigned kSpecialRowColour = 255; // red, in the grid's colour value
inline constexpr int kSortStringAscending = 7;
inline constexpr int kSortStringDescending = 8;

QString extensionGridFormat(); // flex1
QString fileTypeGridFormat();  // flex2

struct GridRow {
    QStringList cells;                                 // kGridColumns texts
    bool special = false;                              // columns 0 and 3 drawn in kSpecialRowColour
    QString text() const { return cells.join(u'\t'); } // as the grid's AddItem gets it
};

// Ext, " ", " ", Description, " "; special for "*" and UNKNOWN in column 0.
GridRow extensionRow(const QString& ext, const QString& description);
// Description, " ", " ", Extensions, " "; special for "*" and UNKNOWN in column 3.
GridRow fileTypeRow(const QString& description, const QString& extensions);

// The grid's string sort on one column, case significant; rows with equal keys keep their order.
void sortRows(QList<GridRow>& rows, int column, bool ascending);
// Header column clicked -> sort key column (-1: not a sorting header).
int sortKeyColumn(int headerColumn);

// Header-click sort toggles of one grid (all start at 1; a click at 1 sorts descending).
struct SortToggles {
    int toggle[4] = {1, 1, 1, 1};
    // Flips the clicked column's toggle; returns the sort code (7 or 8), 0 for other columns.
    int click(int headerColumn);
};

// "   Locate" followed by "A----A----A" ... "Z----Z----Z".
QStringList locateItems();
QString locateHint(); // "   Locate"
inline const QString kExtensionLocateTip =
    QStringLiteral("Locate starting letter for the registered file extension!");
inline const QString kFileTypeLocateTip =
    QStringLiteral("Locate starting letter for the registered file type!");

// The grid row (1 = first data row) to scroll to the top for a locate item: the first row whose
// column-0 text, upper-cased, compares >= the item's first non-blank character; the last row
// (rowCount, 0 for an empty grid) when none does. column0 holds the data rows in grid order.
int FindLocateRow(const QStringList& column0, const QString& item);

} // namespace orvanex::model
