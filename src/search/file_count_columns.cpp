#include "search/file_count_columns.h"

#include "search/file_operations.h"

namespace orvanex::search {

namespace {

void setCounts(model::IndexRow& row, const ExtensionCount& count) {
    row.files = QString::number(count.files);
    row.size = FormatSize(count.bytes);
    row.sizeKey = QString::number(count.bytes);
}

} // namespace

CountTotals FillExtensionCounts(QList<model::IndexRow>& rows, const FileCounts& counts) {
    CountTotals totals;
    for (model::IndexRow& row : rows) {
        const ExtensionCount count = counts.count(ExtensionKey(row.name));
        setCounts(row, count);
        if (count.files > 0) {
            ++totals.extensionRows;
            totals.files += count.files;
        }
    }
    return totals;
}

void FillTypeCounts(QList<model::IndexRow>& rows, const FileCounts& counts) {
    for (model::IndexRow& row : rows) {
        ExtensionCount sum;
        // Extensions are joined by single blanks; an empty part would name the files that have no
        // extension at all, which belong to no type.
        for (const QString& ext : row.related.split(u' ', Qt::SkipEmptyParts)) {
            const ExtensionCount count = counts.count(ExtensionKey(ext));
            sum.files += count.files;
            sum.bytes += count.bytes;
        }
        setCounts(row, sum);
    }
}

QString CountTotalsText(const CountTotals& totals) {
    return QString::number(totals.extensionRows) + QStringLiteral(" registered file extensions  ") +
           QString::number(totals.files) + QStringLiteral(" files");
}

} // namespace orvanex::search
