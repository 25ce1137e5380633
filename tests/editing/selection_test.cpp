// Selection in the main window: select-by switches, header sorting, locating by letter and the
// grids while a panel is open.

#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/selection_handlers.h"
#include "editing_world.h"
#include "ui_main_window.h"

#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

// Many extensions so the grid scrolls: AA0..ZZ9 skipping the letters after P.
void addManyExtensions(EditingWorld& world) {
    QStringList exts;
    for (char16_t c = u'a'; c <= u'p'; ++c)
        for (int i = 0; i < 6; ++i)
            exts.append(u'.' + QString(QChar(c)) + QString::number(i) + u'x');
    world.addType({"manyfile", "Many", exts, QString()});
}

void chooseLocate(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

} // namespace

TEST(EditingSelection, HeaderClicksSortDescendingThenAscending) {
    EditingWorld world(QStringLiteral("sel-sort"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    QStringList ascending = column(ui->flex1, 0);

    pressHeader(ui->flex1, 0);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(column(ui->flex1, 0), descending);
    EXPECT_EQ(world.ctx().SortToggleExt.toggle[0], 0);
    pressHeader(ui->flex1, 0);
    EXPECT_EQ(column(ui->flex1, 0), ascending);
    EXPECT_EQ(world.ctx().SortToggleExt.toggle[0], 1);

    // Column 3 has its own toggle: its first click sorts descending too.
    pressHeader(ui->flex1, 3);
    const QStringList byType = column(ui->flex1, 3);
    EXPECT_TRUE(std::is_sorted(byType.rbegin(), byType.rend()));
    EXPECT_EQ(byType.first(), QStringLiteral("abc lower")); // lower case sorts after upper
}

TEST(EditingSelection, SizeHeaderSortsTheHiddenColumn) {
    EditingWorld world(QStringLiteral("sel-size"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    // As the file count leaves them: the grouped size text and its plain number key.
    const QStringList exts{"TXT", "DOC", "PIC"};
    const QStringList shown{"9", "10", "2,000"};
    const QStringList keys{"9", "10", "2000"};
    for (int i = 0; i < 3; ++i) {
        const int row = tableRowOf(ui->flex1, 0, exts[i]);
        model::IndexGridModel& grid = *editingSession(world.ctx()).grids.extensions;
        ASSERT_TRUE(grid.setCell(row, 2, shown[i]));
        ASSERT_TRUE(grid.setCell(row, 4, keys[i]));
    }
    pressHeader(ui->flex1, 2);
    EXPECT_EQ(column(ui->flex1, 0).mid(0, 3), (QStringList{"PIC", "DOC", "TXT"}));
    pressHeader(ui->flex1, 2);
    EXPECT_EQ(column(ui->flex1, 0).mid(rowCount(ui->flex1) - 3),
              (QStringList{"TXT", "DOC", "PIC"}));
    // A text sort of either column would put "10" before "2..." before "9".
    pressHeader(ui->flex1, 1); // "# files": all blank, order kept
    EXPECT_EQ(world.ctx().SortToggleExt.toggle[1], 0);
}

TEST(EditingSelection, LocateScrollsToTheLetterOrTheLastRow) {
    EditingWorld world(QStringLiteral("sel-locate"));
    addManyExtensions(world);
    Ui::frmORVANEX* ui = world.start().form();
    QTableView* grid = ui->flex1;
    ASSERT_GT(grid->verticalScrollBar()->maximum(), 0) << "the grid must scroll";
    pressHeader(grid, 0); // descending; locating sorts ascending again
    const QStringList before = column(grid, 0);

    chooseLocate(ui->Combo1, 0); // "   Locate" looks for L
    EXPECT_EQ(world.ctx().LocateLetter, QStringLiteral("Locate"));
    const int lRow = tableRowOf(grid, 0, "L0X");
    EXPECT_EQ(world.ctx().LocateRow, lRow + 1);
    EXPECT_EQ(editing::topRow(grid), lRow);
    const QStringList after = column(grid, 0);
    EXPECT_TRUE(std::is_sorted(after.begin(), after.end()));
    EXPECT_NE(after, before);

    chooseLocate(ui->Combo1, 26); // Z: beyond every entry
    EXPECT_EQ(world.ctx().LocateRow, rowCount(grid));
    EXPECT_EQ(editing::topRow(grid), grid->verticalScrollBar()->maximum());
    EXPECT_TRUE(grid->visualRect(grid->model()->index(rowCount(grid) - 1, 0)).isValid());

    chooseLocate(ui->Combo1, 3); // C
    EXPECT_EQ(editing::topRow(grid), tableRowOf(grid, 0, "C0X"));
    EXPECT_FALSE(ui->txtExt->text().size()); // locating shows nothing
}

TEST(EditingSelection, FindLocateRowOnLowerCaseAndEmptyGrids) {
    QTableView grid;
    grid.setModel(model::makeExtensionGridModel(&grid));
    EXPECT_EQ(editing::FindLocateRow(&grid, "A----A----A"), -1);
    auto* m = static_cast<model::IndexGridModel*>(grid.model());
    for (const char* text : {"Apple", "banana", "cherry"})
        m->addRecord(model::extensionRow(QString::fromLatin1(text), QString()));
    EXPECT_EQ(editing::FindLocateRow(&grid, "B----B----B"), 1); // upper-cased before comparing
    EXPECT_EQ(editing::FindLocateRow(&grid, "Z----Z----Z"), 2);
}

TEST(EditingSelection, SwitchingSelectionModes) {
    EditingWorld world(QStringLiteral("sel-switch"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    MainContext& ctx = world.ctx();
    pressRowText(ui->flex1, "TXT");
    ASSERT_EQ(ctx.state.editState(), editing::EditState::EntryShown);

    ui->cmdSelectByFileType->click();
    EXPECT_EQ(ctx.state.selectBy(), editing::SelectBy::FileType);
    EXPECT_EQ(ctx.state.editState(), editing::EditState::Nothing);
    EXPECT_TRUE(ui->flex2->isVisible());
    EXPECT_FALSE(ui->flex1->isVisible());
    EXPECT_FALSE(ui->txtMIME->isVisible());
    EXPECT_FALSE(ui->txtExt->isVisible());
    EXPECT_EQ(ui->Label1->text(), QStringLiteral("File Extension(s)"));
    EXPECT_TRUE(ui->txtDesc->text().isEmpty());
    EXPECT_TRUE(ui->cmdPrintF2->isEnabled());
    EXPECT_FALSE(ui->cmdPrint->isEnabled());
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Select File Extension/Type"));
    EXPECT_GT(ui->txtRel->width(), ui->txtDesc->width() / 2);

    ui->cmdSelectByFileExtension->click();
    EXPECT_EQ(ctx.state.selectBy(), editing::SelectBy::FileExtension);
    EXPECT_TRUE(ui->flex1->isVisible());
    EXPECT_TRUE(ui->txtMIME->isVisible());
    EXPECT_EQ(ui->txtMIME->text(), QStringLiteral(" "));
    EXPECT_EQ(ui->Label1->text(), QStringLiteral("File Extension"));
    EXPECT_TRUE(ui->Label3->isVisible());
    EXPECT_FALSE(ui->cmdPrintF2->isEnabled());
}

TEST(EditingSelection, OpenPanelBlocksGridsAndSwitches) {
    EditingWorld world(QStringLiteral("sel-panel"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    MainContext& ctx = world.ctx();
    pressRowText(ui->flex1, "TXT");
    ctx.state.setPanel(editing::PanelOpen::Delete);
    const QStringList order = column(ui->flex1, 0);
    pressRowText(ui->flex1, "DOC");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Please Select Option!"));
    EXPECT_EQ(ui->txtExt->text(), QStringLiteral("TXT"));
    pressHeader(ui->flex1, 0);
    EXPECT_EQ(column(ui->flex1, 0), order);
    ui->cmdSelectByFileType->click();
    EXPECT_EQ(ctx.state.selectBy(), editing::SelectBy::FileExtension);
    EXPECT_TRUE(ui->flex1->isVisible());
}

TEST(EditingSelection, GridsWorkThroughTheirModels) {
    EditingWorld world(QStringLiteral("sel-model"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    model::IndexGridModel& grid = *editingSession(world.ctx()).grids.extensions;
    ASSERT_EQ(ui->flex1->model(), &grid);

    // A click shows the clicked row's record; the current row is that row's index.
    pressRowText(ui->flex1, "DOC", 3);
    const int doc = tableRowOf(ui->flex1, 0, "DOC");
    EXPECT_EQ(editing::currentRow(ui->flex1), doc);
    EXPECT_EQ(ui->txtExt->text(), QStringLiteral("DOC"));
    EXPECT_TRUE(ui->lblScan->text().contains(QStringLiteral("Document Placeholder")));

    // Sorting twice moves the current row with its record.
    pressHeader(ui->flex1, 0);
    EXPECT_EQ(grid.record(editing::currentRow(ui->flex1)).name, QStringLiteral("DOC"));
    pressHeader(ui->flex1, 0);
    EXPECT_EQ(editing::currentRow(ui->flex1), doc);

    // A row added to the model is a row of the view, clickable like the loaded ones.
    const int added = grid.addRecord(model::extensionRow("ZZZ", "Text Document"));
    EXPECT_EQ(rowCount(ui->flex1), added + 1);
    pressCell(ui->flex1, added, 0);
    EXPECT_EQ(editing::currentRow(ui->flex1), added);
    EXPECT_EQ(ui->txtExt->text(), QStringLiteral("ZZZ"));
    ASSERT_TRUE(grid.removeRecord(added));
    EXPECT_EQ(tableRowOf(ui->flex1, 0, "ZZZ"), -1);
    EXPECT_EQ(rowCount(ui->flex1), added);
}
