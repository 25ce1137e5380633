// The main window's filter box, the associations check window and "Export List…": the rows they
// show are those the core gives orvx, selection and detail follow the filter, and a fix goes
// through its backup.

#include "editing/filter_box.h"
#include "editing/frm_check.h"
#include "editing/grid_view.h"
#include "editing/list_export_handlers.h"
#include "editing_world.h"
#include "model/health_check.h"
#include "model/list_filter.h"
#include "model/loading.h"
#include "registry/reg_state.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

QLineEdit* filterBox(MainWindow& w) {
    return w.findChild<QLineEdit*>(QStringLiteral("txtFilter"));
}

// What orvx extensions --filter prints for the same registry: the core on a fresh load.
QStringList coreRows(reg::Registry& registry, const platform::DriveMap& drives, const QString& text,
                     bool types) {
    reg::RegState state;
    state.registry = &registry;
    const model::StartupModel m = model::LoadStartupModel(state, drives, false);
    const model::ListFilter filter(m.extensions.entries, m.lists.typeTexts);
    QStringList names;
    for (const model::IndexRow& r :
         types ? model::filterTypeRows(m.fileTypes.rows, filter, text)
               : model::filterExtensionRows(m.extensions.rows, filter, text))
        names.append(r.name);
    return names;
}

QByteArray readFileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

editing::FrmCheck* openCheckWindow(MainWindow& w) {
    w.findChild<QAction*>(QStringLiteral("mnuCheck"))->trigger();
    return w.findChild<editing::FrmCheck*>(QStringLiteral("frmCheck"));
}

} // namespace

using orvanex::editing::FrmCheck;

TEST(FilterBox, TypingKeepsTheCoresRowsAndEscapeShowsAllAgain) {
    EditingWorld world(QStringLiteral("filter-typing"));
    world.addStandardTypes();
    MainWindow& w = world.start();
    Ui::frmORVANEX* ui = w.form();
    const QStringList all = column(ui->flex1, 0);
    const platform::DriveMap drives = platform::DriveMap::forHive(world.registry().hivePath());
    QLineEdit* box = filterBox(w);
    ASSERT_NE(box, nullptr);
    // Above the grids, not over them.
    EXPECT_LE(box->geometry().bottom(), ui->flex1->geometry().top());
    // Reached from the keyboard: Tab comes to it just before the grid, and so does Ctrl+L.
    EXPECT_EQ(box->nextInFocusChain(), ui->flex1);
    bool byKey = false;
    for (const QShortcut* s : ui->centralwidget->findChildren<QShortcut*>())
        byKey = byKey || s->key() == QKeySequence(Qt::CTRL | Qt::Key_L);
    EXPECT_TRUE(byKey);

    QTest::keyClicks(box, QStringLiteral("TEXT"));
    EXPECT_EQ(column(ui->flex1, 0), coreRows(world.registry(), drives, "TEXT", false));
    EXPECT_EQ(column(ui->flex1, 0), QStringList({"LOG", "TXT"}));
    EXPECT_EQ(column(ui->flex2, 0), coreRows(world.registry(), drives, "TEXT", true));
    QTest::keyClicks(box, QStringLiteral("/pl")); // "TEXT/pl": the content type of .txt only
    EXPECT_EQ(column(ui->flex1, 0), QStringList({"TXT"}));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(column(ui->flex1, 0), QStringList({"LOG", "TXT"}));
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(box->text(), QString());
    EXPECT_EQ(column(ui->flex1, 0), all);
    QTest::keyClicks(box, QStringLiteral("notepad.EXE /p")); // the open command is open's
    EXPECT_EQ(column(ui->flex1, 0), QStringList());
    box->clear();
    QTest::keyClicks(box, QStringLiteral("missing.dll")); // the icon
    EXPECT_EQ(column(ui->flex1, 0), QStringList({"GON"}));
    box->clear();
    EXPECT_EQ(column(ui->flex1, 0), all);
}

TEST(FilterBox, TheSelectionAndDetailFollowTheRowsKept) {
    EditingWorld world(QStringLiteral("filter-selection"));
    world.addStandardTypes();
    MainWindow& w = world.start();
    Ui::frmORVANEX* ui = w.form();
    pressRowText(ui->flex1, QStringLiteral("TXT"));
    ASSERT_EQ(ui->txtDesc->text(), QStringLiteral("Text Document"));
    QLineEdit* box = filterBox(w);
    QTest::keyClicks(box, QStringLiteral("t"));
    // Still there: still selected and shown.
    EXPECT_EQ(cell(ui->flex1, editing::currentRow(ui->flex1), 0), QStringLiteral("TXT"));
    EXPECT_EQ(ui->txtDesc->text(), QStringLiteral("Text Document"));
    box->setText(QStringLiteral("picture"));
    EXPECT_EQ(column(ui->flex1, 0), QStringList({"PIC"}));
    EXPECT_EQ(editing::currentRow(ui->flex1), -1);
    EXPECT_EQ(ui->txtDesc->text(), QString());
    EXPECT_EQ(w.context().state.editState(), editing::EditState::Nothing);
    screenshot(QStringLiteral("main-window-filter"));
    // A row clicked in the filtered list shows its own entry.
    pressRowText(ui->flex1, QStringLiteral("PIC"));
    EXPECT_EQ(ui->txtDesc->text(), QStringLiteral("Picture Icon"));
    box->clear();
    EXPECT_EQ(cell(ui->flex1, editing::currentRow(ui->flex1), 0), QStringLiteral("PIC"));
}

TEST(CheckWindow, ListsTheCoresFindingsShowsTheirEntryAndFixesAfterABackup) {
    EditingWorld world(QStringLiteral("check-window"));
    world.addStandardTypes();
    world.write(".orphan", QString(), "gonetype");
    MainWindow& w = world.start();
    Ui::frmORVANEX* ui = w.form();
    FrmCheck* check = openCheckWindow(w);
    ASSERT_NE(check, nullptr);
    reg::RegState state;
    state.registry = &world.registry();
    const model::HealthReport core =
        model::CheckAssociations(state, platform::DriveMap::forHive(world.registry().hivePath()));
    QStringList shown, expected;
    for (int r = 0; r < rowCount(check->grid()); ++r)
        shown.append(cell(check->grid(), r, 0) + '\t' + cell(check->grid(), r, 1) + '\t' +
                     cell(check->grid(), r, 2));
    for (const model::Finding& f : core.findings)
        expected.append(f.line());
    EXPECT_EQ(shown, expected);
    const int gone = expected.indexOf(QRegularExpression("^missing-icon\tgonefile\t.*"));
    const int orphan = expected.indexOf(QRegularExpression("^missing-type\t\\.orphan\t.*"));
    const int big = expected.indexOf(QRegularExpression("^bad-icon-index\tbigfile\t.*"));
    ASSERT_GE(gone, 0);
    ASSERT_GE(orphan, 0);
    ASSERT_GE(big, 0);
    check->show();
    screenshot(QStringLiteral("check-window"));

    // Show: the type's row in the file-type list, shown in the detail area.
    editing::setCurrentRow(check->grid(), gone);
    QTest::mouseClick(check->findChild<QPushButton*>("cmdShowFinding"), Qt::LeftButton);
    EXPECT_EQ(w.context().state.selectBy(), editing::SelectBy::FileType);
    EXPECT_EQ(ui->txtDesc->text(), QStringLiteral("Gone Icon"));
    EXPECT_EQ(cell(ui->flex2, editing::currentRow(ui->flex2), 0), QStringLiteral("Gone Icon"));
    // A filter hiding the row gives way.
    filterBox(w)->setText(QStringLiteral("text"));
    editing::setCurrentRow(check->grid(), orphan);
    check->cmdShowFinding_Click();
    EXPECT_EQ(w.context().state.selectBy(), editing::SelectBy::FileExtension);
    EXPECT_EQ(filterBox(w)->text(), QString());
    EXPECT_EQ(cell(ui->flex1, editing::currentRow(ui->flex1), 0), QStringLiteral("ORPHAN"));

    // No plain fix for an index past the icons.
    editing::setCurrentRow(check->grid(), big);
    EXPECT_FALSE(check->findChild<QPushButton*>("cmdFixFinding")->isEnabled());
    editing::setCurrentRow(check->grid(), gone);
    EXPECT_TRUE(check->findChild<QPushButton*>("cmdFixFinding")->isEnabled());
    check->cmdFixFinding_Click(false);
    EXPECT_TRUE(ui->lblScan->text().startsWith("Gone Icon Updated!   Backup=Reg"))
        << ui->lblScan->text().toStdString();
    const QString backup = QDir::currentPath() + "/Backup/" +
                           ui->lblScan->text().section("Backup=", 1).trimmed() + ".reg";
    EXPECT_TRUE(QString::fromUtf8(readFileBytes(backup)).contains("missing.dll"))
        << backup.toStdString();
    reg::HKey key = 0;
    EXPECT_EQ(world.registry().openKeyEx(reg::HKEY_CLASSES_ROOT, "gonefile\\DefaultIcon", 0,
                                         reg::KEY_ALL_USED, &key),
              reg::status::FileNotFound);
    // The list was checked again.
    for (int r = 0; r < rowCount(check->grid()); ++r)
        EXPECT_NE(cell(check->grid(), r, 1), QStringLiteral("gonefile"));

    const int orphanNow = tableRowOf(check->grid(), 1, QStringLiteral(".orphan"));
    ASSERT_GE(orphanNow, 0);
    editing::setCurrentRow(check->grid(), orphanNow);
    check->cmdFixFinding_Click(false);
    EXPECT_EQ(tableRowOf(ui->flex1, 0, QStringLiteral("ORPHAN")), -1);
    EXPECT_EQ(tableRowOf(check->grid(), 1, QStringLiteral(".orphan")), -1);
}

TEST(ExportList, WritesTheFilteredRowsByTheSuffixAndReportsAFailure) {
    EditingWorld world(QStringLiteral("export-list"));
    world.addStandardTypes();
    MainWindow& w = world.start();
    Ui::frmORVANEX* ui = w.form();
    EXPECT_NE(w.findChild<QAction*>(QStringLiteral("mnuExportList")), nullptr);
    auto* exporter = w.handlers().listExport.get();
    ASSERT_NE(exporter, nullptr);
    filterBox(w)->setText(QStringLiteral("text"));
    const QString dir = freshDir(QStringLiteral("export-list-out"));
    ASSERT_TRUE(exporter->exportTo(dir + "/list.CSV", true));
    EXPECT_EQ(readFileBytes(dir + "/list.CSV"),
              "File extensions,# files,Size(Bytes),Registered file types\r\n"
              "LOG,,,Text Document\r\n"
              "TXT,,,Text Document\r\n");
    EXPECT_EQ(ui->lblScan->text(), "2 rows exported to " + dir + "/list.CSV");
    ASSERT_TRUE(exporter->exportTo(dir + "/list.html", true));
    EXPECT_TRUE(readFileBytes(dir + "/list.html").contains("<td>LOG</td>"));
    // Nowhere to write: the status says so and nothing else is touched.
    EXPECT_FALSE(exporter->exportTo(dir + "/no/such/folder/list.csv", true));
    EXPECT_TRUE(ui->lblScan->text().startsWith("Error!   ")) << ui->lblScan->text().toStdString();
    EXPECT_FALSE(exporter->exportTo(dir + "/list.txt", true));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"list.CSV", "list.html"}));
}
