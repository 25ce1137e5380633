// The merge preview window: what its grids show of each kind of change and of skipped lines.

#include "backup/merge_preview_dialog.h"
#include "registry/reg_diff.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::backup;

namespace {

constexpr std::uint32_t kSz = 1; // REG_SZ

QByteArray sz(const char* text) {
    const QString s = QString::fromLatin1(text);
    QByteArray bytes(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return bytes.append(2, '\0');
}

QStringList rowTexts(const QTableView* grid, int row) {
    QStringList texts;
    const QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        texts << m->index(row, c).data().toString();
    return texts;
}

QStringList headers(const QTableView* grid) {
    QStringList texts;
    const QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        texts << m->headerData(c, Qt::Horizontal).toString();
    return texts;
}

} // namespace

TEST(MergePreview, ShowsEachKindWithOnlyTheDataItHas) {
    MergePreview preview;
    preview.readable = true;
    using C = reg::RegChange;
    preview.diff.changes = {
        {C::KeyCreated, "HKEY_CLASSES_ROOT\\.new", "", 0, 0, {}, {}},
        {C::ValueAdded, "HKEY_CLASSES_ROOT\\.new", "", 0, kSz, {}, sz("newfile")},
        {C::ValueChanged, "HKEY_CLASSES_ROOT\\.txt", "Content Type", kSz, kSz, sz("old/x"),
         sz("new/y")},
        {C::ValueRemoved, "HKEY_CLASSES_ROOT\\.txt", "PerceivedType", kSz, 0, sz("text"), {}},
        {C::KeyDeleted, "HKEY_CLASSES_ROOT\\.gone", "", 0, 0, {}, {}},
    };
    MergePreviewDialog dialog(QStringLiteral("Reg0001.reg"), preview, nullptr);

    auto* grid = dialog.findChild<QTableView*>(QStringLiteral("gridChanges"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(headers(grid), QStringList({"Change", "Key", "Value", "Old data", "New data"}));
    ASSERT_EQ(grid->model()->rowCount(), 5);
    const QString added = reg::describeRegData(kSz, sz("newfile"));
    EXPECT_EQ(rowTexts(grid, 0),
              QStringList({"Key created", "HKEY_CLASSES_ROOT\\.new", "", "", ""}));
    EXPECT_EQ(rowTexts(grid, 1),
              QStringList({"Value added", "HKEY_CLASSES_ROOT\\.new", "@", "", added}));
    EXPECT_EQ(rowTexts(grid, 2),
              QStringList({"Value changed", "HKEY_CLASSES_ROOT\\.txt", "Content Type",
                           reg::describeRegData(kSz, sz("old/x")),
                           reg::describeRegData(kSz, sz("new/y"))}));
    EXPECT_EQ(rowTexts(grid, 3),
              QStringList({"Value removed", "HKEY_CLASSES_ROOT\\.txt", "PerceivedType",
                           reg::describeRegData(kSz, sz("text")), ""}));
    EXPECT_EQ(rowTexts(grid, 4),
              QStringList({"Key deleted", "HKEY_CLASSES_ROOT\\.gone", "", "", ""}));
    EXPECT_NE(added, QString());
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblSummary"))->text(),
              "Merging Reg0001.reg would make 5 change(s) to the registry:");
    EXPECT_EQ(dialog.findChild<QTableView*>(QStringLiteral("gridSkipped")), nullptr);
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isDefault());
}

TEST(MergePreview, ListsTheSkippedLinesWithTheirNumbers) {
    MergePreview preview;
    preview.readable = true;
    preview.diff.skipped = {{7, "\"x\"=hex(q):00", "bad type"}, {12, "[HKEY_", "no key end"}};
    MergePreviewDialog dialog(QStringLiteral("a.reg"), preview, nullptr);

    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblSummary"))->text(),
              "Merging a.reg would change nothing in the registry.");
    EXPECT_EQ(dialog.findChild<QTableView*>(QStringLiteral("gridChanges"))->model()->rowCount(), 0);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblSkipped"))->text(),
              "2 line(s) of the file cannot be read and would be skipped:");
    auto* skipped = dialog.findChild<QTableView*>(QStringLiteral("gridSkipped"));
    ASSERT_NE(skipped, nullptr);
    EXPECT_EQ(headers(skipped), QStringList({"Line", "Text", "Why"}));
    ASSERT_EQ(skipped->model()->rowCount(), 2);
    EXPECT_EQ(rowTexts(skipped, 0), QStringList({"7", "\"x\"=hex(q):00", "bad type"}));
    EXPECT_EQ(rowTexts(skipped, 1), QStringList({"12", "[HKEY_", "no key end"}));
}
