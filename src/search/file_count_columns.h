#pragma once
// The "# files" and " Size(Bytes)" columns of both index lists, filled from a file count, and
// the totals the status line reports afterwards.

#include "model/grid_rows.h"
#include "search/file_counts.h"

#include <QList>
#include <QString>

namespace orvanex::search {

struct CountTotals {
    qint64 extensionRows = 0; // rows of the extension list with at least one file
    qint64 files = 0;         // the files of those rows
};

// Extension list: column 1 the number of files of the row's extension, column 2 their bytes
// ("###,##0"), column 4 the bytes as a plain number; "0" in all three when none was counted.
CountTotals FillExtensionCounts(QList<model::IndexRow>& rows, const FileCounts& counts);
// File-type list: the same columns hold the sums over the extensions of column 3.
void FillTypeCounts(QList<model::IndexRow>& rows, const FileCounts& counts);

// "12 registered file extensions  345 files"
QString CountTotalsText(const CountTotals& totals);

} // namespace orvanex::search
