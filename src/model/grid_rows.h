#pragma once
// The contents of the main window's grids: format strings, the row records of the two index
// grids and the actions grid, their column descriptions, the red special rows and the locate
// lists.

#include "model/file_type_model.h"
#include "model/grid_model.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::model {

inline constexpr int kGridColumns = 5;
inline constexpr int kHiddenColumn = 4; // the size sort key, not shown
inline constexpr int kSortStringAscending = 7;
inline constexpr int kSortStringDescending = 8;
// The actions grid keeps this many rows at least, so that a click below the actions finds an
// empty row.
inline constexpr int kActionGridRows = 24;

QString extensionGridFormat(); // flex1
QString fileTypeGridFormat();  // flex2
// The actions grid's headers when no entry is shown.
QString actionGridFormat();

// One row of an index grid. flex1: name = Ext, related = Description; flex2: name = the type's
// Description, related = its Extensions. The count columns hold " " until files are counted.
struct IndexRow {
    QString name;                          // column 0
    QString related;                       // column 3
    QString files = QStringLiteral(" ");   // column 1, "# files"
    QString size = QStringLiteral(" ");    // column 2, " Size(Bytes)"
    QString sizeKey = QStringLiteral(" "); // column 4, hidden: what the size header sorts by
    bool special = false;                  // "*" and UNKNOWN: columns 0 and 3 drawn in red
    // The cells in column order, tab-separated (orvx prints rows so).
    QString text() const;
};
QString indexCellText(const IndexRow& row, int column);

// Special when the extension is "*" or UNKNOWN.
IndexRow extensionRow(const QString& ext, const QString& description);
// Special when the extensions are "*" or UNKNOWN.
IndexRow fileTypeRow(const QString& description, const QString& extensions);

using IndexGridModel = GridModel<IndexRow>;
using ActionGridModel = GridModel<ActionEntry>;
// The five columns of flex1 and flex2: the counts (1) and the size key (4) sort as numbers, the
// others as text; columns 0 and 3 of special rows are red (the grid's colour value 255).
QList<GridColumn<IndexRow>> indexGridColumns();
// flex2 and flex1 models with their headers set.
IndexGridModel* makeExtensionGridModel(QObject* parent);
IndexGridModel* makeFileTypeGridModel(QObject* parent);
// flex3: DisplayName and Command of each action (a command holding a tab stays in its cell),
// padded to kActionGridRows.
ActionGridModel* makeActionGridModel(QObject* parent);

// The grid's string sort on one column (case significant, equal keys keep their order).
void sortRows(QList<IndexRow>& rows, int column, bool ascending);
// Header column clicked -> sort key column (-1: not a sorting header).
int sortKeyColumn(int headerColumn);

// Header-click sort toggles of one grid: one per clickable header column (0 to 3), each 1 until
// its first click, which sorts descending; the next click sorts ascending, and so on.
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

Q_DECLARE_TYPEINFO(orvanex::model::IndexRow, Q_RELOCATABLE_TYPE);
