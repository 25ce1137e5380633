// The main window's print menu: the preview items beside the reports, and a report shown in the
// print preview, from which it can be printed to a file, where the system has no printer.

#include "app/main_window.h"
#include "editing/editing_world.h"
#include "editing/report_handlers.h"
#include "reports/report_print.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

QAction* menuItem(Ui::frmORVANEX* ui, const char* name) {
    for (QAction* a : ui->mnuPrintAll->actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

// Closes the print preview as soon as it is up; counts the pages it was given.
struct PreviewCloser {
    int seen = 0;
    QTimer timer;
    PreviewCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                ++seen;
                d->reject();
            }
        });
        timer.start(10);
    }
};

} // namespace

TEST(PrintMenu, PreviewItemsFollowTheirReportsAndShowTheReport) {
    test::EditingWorld world("printmenu");
    world.addStandardTypes();
    world.start();
    Ui::frmORVANEX* ui = world.ctx().ui;
    QAction* extensions = menuItem(ui, "mnuPreviewExtensions");
    QAction* types = menuItem(ui, "mnuPreviewTypes");
    QAction* detail = menuItem(ui, "mnuPreviewDetail");
    ASSERT_TRUE(extensions && types && detail);
    EXPECT_EQ(extensions->text(), "Print Pre&view: all file extensions");
    EXPECT_EQ(extensions->isEnabled(), ui->cmdPrint->isEnabled());
    EXPECT_EQ(types->isEnabled(), ui->cmdPrintF2->isEnabled());
    ui->cmdPrintF2->setEnabled(!ui->cmdPrintF2->isEnabled());
    EXPECT_EQ(types->isEnabled(), ui->cmdPrintF2->isEnabled());

    // The rows printed are the grid's rows as they stand.
    const QList<QStringList> rows = reports::gridReportRows(ui->flex1, 4);
    ASSERT_EQ(rows.size(), ui->flex1->model()->rowCount());
    EXPECT_EQ(rows.first()[0], ui->flex1->model()->index(0, 0).data().toString());
    EXPECT_EQ(reports::gridRowStepTwips(ui->flex1),
              ui->flex1->verticalHeader()->defaultSectionSize() * 1440 / ui->flex1->logicalDpiY());

    PreviewCloser closer;
    extensions->setEnabled(true);
    extensions->trigger();
    EXPECT_EQ(closer.seen, 1);
    QString done = "Finished Building Print For Registered File Extensions!";
    if (!reports::hasDefaultPrinter())
        done += "   (no printer: shown in the print preview)";
    EXPECT_EQ(ui->lblScan->text(), done);

    // Without a printer the report command itself goes to the preview.
    if (!reports::hasDefaultPrinter()) {
        ui->cmdPrintF2->setEnabled(true);
        ui->cmdPrintF2->trigger();
        EXPECT_EQ(closer.seen, 2);
        EXPECT_TRUE(
            ui->lblScan->text().startsWith("Finished Building Print For Registered File Types!"));
    }
}

TEST(PrintMenu, ReportsHoldBackWhileADeleteRequestWaits) {
    test::EditingWorld world("printhold");
    world.addStandardTypes();
    world.start();
    Ui::frmORVANEX* ui = world.ctx().ui;
    QList<QAction*> items = {ui->cmdPrint, ui->cmdPrintF2, ui->cmdPrintDetail};
    for (const char* name : {"mnuPreviewExtensions", "mnuPreviewTypes", "mnuPreviewDetail"})
        items << menuItem(ui, name);
    for (QAction* item : items) {
        ASSERT_TRUE(item);
        item->setEnabled(true);
    }
    // The request shows its panel and its status; nothing may print or touch either meanwhile.
    const QString request = "                                                Delete Request!   ";
    ui->fraDelete->setVisible(true);
    ui->lblScan->setText(request);
    PreviewCloser closer;
    for (QAction* item : items) {
        item->trigger();
        EXPECT_EQ(ui->lblScan->text(), request) << item->text().toStdString();
    }
    EXPECT_EQ(closer.seen, 0);
    EXPECT_FALSE(ui->fraDelete->isHidden());

    // Once the request is answered the reports work again.
    ui->fraDelete->setVisible(false);
    menuItem(ui, "mnuPreviewTypes")->trigger();
    EXPECT_EQ(closer.seen, 1);
    EXPECT_TRUE(
        ui->lblScan->text().startsWith("Finished Building Print For Registered File Types!"));
}
