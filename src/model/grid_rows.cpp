#include "model/grid_rows.h"

namespace orvanex::model {

namespace {

QString blanks(int n) {
    return QString(n, u' ');
}

bool isWildcardText(const QString& text) {
    return text == kAllKey || text == kUnknownExt;
}

QColor specialColour(const IndexRow& row) {
    return row.special ? QColor(255, 0, 0) : QColor(); // the grid's colour value 255
}

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

QString actionGridFormat() {
    return QStringLiteral("<Action") + blanks(18) + u'|' + QStringLiteral("<Peformed With") +
           blanks(120);
}

namespace {

// Column 0 to kHiddenColumn of a row.
const QString& cellOf(const IndexRow& row, int column) {
    switch (column) {
    case 0:
        return row.name;
    case 1:
        return row.files;
    case 2:
        return row.size;
    case 3:
        return row.related;
    default:
        return row.sizeKey;
    }
}

} // namespace

QString indexCellText(const IndexRow& row, int column) {
    return column >= 0 && column < kGridColumns ? cellOf(row, column) : QString();
}

QString IndexRow::text() const {
    QString line = indexCellText(*this, 0);
    for (int c = 1; c < kGridColumns; ++c)
        line += u'\t' + indexCellText(*this, c);
    return line;
}

namespace {

// Both grids mark a row special by its extension column: column 0 of flex1, column 3 of flex2.
IndexRow indexRow(const QString& name, const QString& related, const QString& extensionText) {
    IndexRow row;
    row.name = name;
    row.related = related;
    row.special = isWildcardText(extensionText);
    return row;
}

} // namespace

IndexRow extensionRow(const QString& ext, const QString& description) {
    return indexRow(ext, description, ext);
}

IndexRow fileTypeRow(const QString& description, const QString& extensions) {
    return indexRow(description, extensions, extensions);
}

QList<GridColumn<IndexRow>> indexGridColumns() {
    return {
        {[](const IndexRow& r) { return r.name; }, SortAs::Text, specialColour,
         [](IndexRow& r, const QString& t) { r.name = t; }},
        {[](const IndexRow& r) { return r.files; },
         SortAs::Number,
         {},
         [](IndexRow& r, const QString& t) { r.files = t; }},
        {[](const IndexRow& r) { return r.size; },
         SortAs::Text,
         {},
         [](IndexRow& r, const QString& t) { r.size = t; }},
        {[](const IndexRow& r) { return r.related; }, SortAs::Text, specialColour,
         [](IndexRow& r, const QString& t) { r.related = t; }},
        {[](const IndexRow& r) { return r.sizeKey; },
         SortAs::Number,
         {},
         [](IndexRow& r, const QString& t) { r.sizeKey = t; }},
    };
}

IndexGridModel* makeExtensionGridModel(QObject* parent) {
    auto* grid = new IndexGridModel(indexGridColumns(), parent);
    grid->setObjectName(QStringLiteral("flex1Model"));
    grid->setFormat(extensionGridFormat());
    return grid;
}

IndexGridModel* makeFileTypeGridModel(QObject* parent) {
    auto* grid = new IndexGridModel(indexGridColumns(), parent);
    grid->setObjectName(QStringLiteral("flex2Model"));
    grid->setFormat(fileTypeGridFormat());
    return grid;
}

ActionGridModel* makeActionGridModel(QObject* parent) {
    auto* grid = new ActionGridModel({{[](const ActionEntry& a) { return a.DisplayName; },
                                       SortAs::Text,
                                       {},
                                       [](ActionEntry& a, const QString& t) { a.DisplayName = t; }},
                                      {[](const ActionEntry& a) { return a.Command; },
                                       SortAs::Text,
                                       {},
                                       [](ActionEntry& a, const QString& t) { a.Command = t; }}},
                                     parent);
    grid->setObjectName(QStringLiteral("flex3Model"));
    grid->setFormat(actionGridFormat());
    grid->setMinimumRows(kActionGridRows);
    return grid;
}

void sortRows(QList<IndexRow>& rows, int column, bool ascending) {
    if (column < 0 || column >= kGridColumns)
        return;
    // Views rather than copies: copying would touch every text's shared header twice.
    std::vector<QStringView> keys;
    keys.reserve(size_t(rows.size()));
    for (const IndexRow& row : rows)
        keys.push_back(cellOf(row, column));
    applyOrder(rows, stableOrder(keys, ascending));
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
