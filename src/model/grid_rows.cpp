#include "model/grid_rows.h"

#include "model/file_type_model.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace orvanex::model {

namespace {

QString blanks(int n) {
    return QString(n, u' ');
}

bool isWildcardText(const QString& text) {
    return text == kAllKey || text == kUnknownExt;
}

const QString kBlank = QStringLiteral(" ");

} // namespace

QString extensionGridFormat() {
    return QStringLiteral("<File extensions") + blanks(8) +
           QStringLiteral("|^# files|^ Size(Bytes)|") + QStringLiteral("<Registered file types") +
           blanks(150) + u'|';
}

QString fileTypeGridFormat() {
    return QStringLiteral("<Registered file types       ") + blanks(28) +
           QStringLiteral("|^# files|^ Size(Bytes)|") + QStringLiteral("<File extensions") +
           blanks(150) + u'|';
}

GridRow extensionRow(const QString& ext, const QString& description) {
    return GridRow{{ext, kBlank, kBlank, description, kBlank}, isWildcardText(ext)};
}

GridRow fileTypeRow(const QString& description, const QString& extensions) {
    return GridRow{{description, kBlank, kBlank, extensions, kBlank}, isWildcardText(extensions)};
}

void sortRows(QList<GridRow>& rows, int column, bool ascending) {
    if (column < 0 || column >= kGridColumns)
        return;
    // Sorts positions by key, then moves each row once (rows are heavier to move than numbers).
    std::vector<qsizetype> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0);
    auto key = [&](qsizetype i) -> const QString& { return rows[i].cells.at(column); };
    if (ascending)
        std::stable_sort(order.begin(), order.end(),
                         [&](qsizetype a, qsizetype b) { return key(a) < key(b); });
    else
        std::stable_sort(order.begin(), order.end(),
                         [&](qsizetype a, qsizetype b) { return key(b) < key(a); });
    QList<GridRow> sorted;
    sorted.reserve(rows.size());
    for (qsizetype i : order)
        sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

int sortKeyColumn(int headerColumn) {
    switch (headerColumn) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
        return kHiddenColumn;
    case 3:
        return 3;
    default:
        return -1;
    }
}

int SortToggles::click(int headerColumn) {
    if (headerColumn < 0 || headerColumn > 3)
        return 0;
    int& t = toggle[headerColumn];
    t = t == 1 ? 0 : 1;
    return t == 0 ? kSortStringDescending : kSortStringAscending;
}

QString locateHint() {
    return QStringLiteral("   Locate");
}

QStringList locateItems() {
    QStringList items{locateHint()};
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        const QString letter(QChar{c});
        items.append(letter + QStringLiteral("----") + letter + QStringLiteral("----") + letter);
    }
    return items;
}

int FindLocateRow(const QStringList& column0, const QString& item) {
    const QString trimmed = item.trimmed();
    const QString letter = trimmed.left(1);
    for (qsizetype i = 0; i < column0.size(); ++i)
        if (column0[i].left(1).toUpper() >= letter)
            return static_cast<int>(i + 1);
    return static_cast<int>(column0.size());
}

} // namespace orvanex::model
