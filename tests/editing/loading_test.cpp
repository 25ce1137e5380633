// Loading the index grids through the window's load handler and timer.

#include "editing/editing_session.h"
#include "editing_world.h"
#include "model/grid_rows.h"
#include "model/loading.h"
#include "settings/settings_store.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QTableView>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

TEST(EditingLoading, GridsHaveTheirHeadersRowsAndOrder) {
    EditingWorld world(QStringLiteral("load-rows"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();

    ASSERT_EQ(ui->flex1->model()->columnCount(), 5);
    EXPECT_EQ(header(ui->flex1, 0), QStringLiteral("File extensions") + QString(8, u' '));
    EXPECT_EQ(header(ui->flex1, 1), QStringLiteral("# files"));
    EXPECT_EQ(header(ui->flex1, 2), QStringLiteral(" Size(Bytes)"));
    EXPECT_EQ(header(ui->flex1, 4), QString());
    const auto alignment = [&](int col) {
        return ui->flex1->model()->headerData(col, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(1), Qt::AlignHCenter);
    EXPECT_EQ(alignment(3), Qt::AlignLeft);
    EXPECT_TRUE(ui->flex1->isColumnHidden(4));
    EXPECT_TRUE(ui->flex2->isColumnHidden(4));
    // The wide columns are wider than the narrow ones, as their blanks ask.
    EXPECT_GT(ui->flex1->columnWidth(3), ui->flex1->columnWidth(0));
    EXPECT_GT(ui->flex1->columnWidth(0), ui->flex1->columnWidth(1));

    // Case-significant text order: "*" < upper case < "UNKNOWN" < lower case.
    EXPECT_EQ(column(ui->flex1, 0), (QStringList{"*", "ABC", "BIG", "DOC", "DOT", "EXE", "GON",
                                                 "LOG", "PIC", "TXT", "UNKNOWN"}));
    const int txt = tableRowOf(ui->flex1, 0, "TXT");
    EXPECT_EQ(cell(ui->flex1, txt, 1), QStringLiteral(" "));
    EXPECT_EQ(cell(ui->flex1, txt, 3), QStringLiteral("Text Document"));
    EXPECT_EQ(cell(ui->flex1, txt, 4), QStringLiteral(" "));

    EXPECT_EQ(header(ui->flex2, 0),
              QStringLiteral("Registered file types       ") + QString(28, u' '));
    EXPECT_EQ(column(ui->flex2, 0),
              (QStringList{"Application", "Big Index", "Document Placeholder", "Gone Icon",
                           "Picture Icon", "Text Document", "Used for all file extensions",
                           "Used for unregistered file extensions", "abc lower"}));
    EXPECT_EQ(cell(ui->flex2, tableRowOf(ui->flex2, 0, "Text Document"), 3),
              QStringLiteral("LOG TXT"));
    EXPECT_EQ(cell(ui->flex2, tableRowOf(ui->flex2, 0, "Document Placeholder"), 3),
              QStringLiteral("DOC DOT"));
}

TEST(EditingLoading, WildcardRowsAreRedInTheirTwoColumns) {
    EditingWorld world(QStringLiteral("load-red"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    const QColor red(255, 0, 0);
    for (const QString& ext : {QStringLiteral("*"), QStringLiteral("UNKNOWN")}) {
        const int row = tableRowOf(ui->flex1, 0, ext);
        EXPECT_EQ(cellColour(ui->flex1, row, 0), red);
        EXPECT_EQ(cellColour(ui->flex1, row, 3), red);
        EXPECT_NE(cellColour(ui->flex1, row, 1), red);
        const int typeRow = tableRowOf(ui->flex2, 3, ext);
        EXPECT_EQ(cellColour(ui->flex2, typeRow, 0), red);
        EXPECT_EQ(cellColour(ui->flex2, typeRow, 3), red);
    }
    const int txt = tableRowOf(ui->flex1, 0, "TXT");
    EXPECT_NE(cellColour(ui->flex1, txt, 0), red);
}

TEST(EditingLoading, TimerLeavesHintSlotsCounterAndAuxiliaryLists) {
    EditingWorld world(QStringLiteral("load-timer"));
    world.addStandardTypes();
    const QString app = QString::fromLatin1(kMainAppName);
    SaveSetting(app, "Update03", "FileType", "stale");
    SaveSetting(app, "NextNumber", "NextNumber", "  1017 ");
    MainWindow& window = world.start();
    Ui::frmORVANEX* ui = window.form();

    EXPECT_EQ(ui->lblScan->text(),
              QString(20, u' ') + "Click on the file extensions to Browse/Edit file types!" +
                  QString(19, u' ') + "Right click on titles for extended help!");
    EXPECT_EQ(GetSetting(app, "Update03", "FileType", "99"), QStringLiteral(" "));
    EXPECT_EQ(GetSetting(app, "Update10", "QuickView", "99"), QStringLiteral(" "));
    EXPECT_EQ(GetSetting(app, "NextNumber", "NextNumber", "99"), QStringLiteral("1017"));

    EditingSession& session = editingSession(world.ctx());
    EXPECT_TRUE(session.lists.applications.items().contains("C:\\WINDOWS\\NOTEPAD.EXE %1"));
    EXPECT_TRUE(session.lists.applications.items().contains("C:\\WINDOWS\\rundll.exe OpenAs %1"));
    EXPECT_TRUE(session.lists.iconFiles.items().contains("C:\\ICONS\\pic.ico"));
    EXPECT_FALSE(world.ctx().FirstApplicationPending);
    EXPECT_FALSE(world.ctx().FirstIconFilePending);

    // The commands that need a shown entry wait for one.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->hs, ui->cmdIconView, ui->cmdIcons,
                                                      ui->cmdFindExts, ui->cmdBackSystem})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QAction* a : {ui->cmdDeleteExt, ui->mnuBackup, ui->mnuAddExtType, ui->cmdPrintDetail})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(rowCount(ui->flex3), 24);
}

TEST(EditingLoading, EmptyRegistryGivesEmptyGridsAndFilledLocateLists) {
    EditingWorld world(QStringLiteral("load-empty"));
    world.write("CLSID\\{0}", QString(), "not an extension");
    Ui::frmORVANEX* ui = world.start().form();
    EXPECT_EQ(rowCount(ui->flex1), 0);
    EXPECT_EQ(rowCount(ui->flex2), 0);
    for (QComboBox* box : {ui->Combo1, ui->Combo2}) {
        ASSERT_EQ(box->count(), 27);
        EXPECT_EQ(box->currentText(), QStringLiteral("   Locate"));
        EXPECT_EQ(box->itemText(1), QStringLiteral("A----A----A"));
        EXPECT_EQ(box->itemText(26), QStringLiteral("Z----Z----Z"));
    }
    EXPECT_EQ(ui->Combo1->toolTip(), model::kExtensionLocateTip);
    EXPECT_EQ(ui->Combo2->toolTip(), model::kFileTypeLocateTip);
}

TEST(EditingLoading, TypeWithSixtyExtensionsListsAllOfThem) {
    EditingWorld world(QStringLiteral("load-sixty"));
    QStringList exts;
    for (int i = 0; i < 60; ++i)
        exts.append(QStringLiteral(".e%1").arg(i, 2, 10, QLatin1Char('0')));
    world.addType({"manyfile", "Many Extensions", exts, QString()});
    Ui::frmORVANEX* ui = world.start().form();
    EXPECT_EQ(rowCount(ui->flex1), 60);
    ASSERT_EQ(rowCount(ui->flex2), 1);
    EXPECT_EQ(cell(ui->flex2, 0, 3).split(u' ').size(), 60);
}
