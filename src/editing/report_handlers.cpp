#include "editing/report_handlers.h"

#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "model/readers.h"
#include "reports/report_print.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QTableView>

namespace orvanex::reports {

namespace {

int rowsOf(const QTableView* grid) {
    return grid->model() ? grid->model()->rowCount() : 0;
}

} // namespace

int gridRowStepTwips(const QTableView* grid) {
    const int dpi = grid->logicalDpiY() > 0 ? grid->logicalDpiY() : 96;
    return grid->verticalHeader()->defaultSectionSize() * 1440 / dpi;
}

QList<QStringList> gridReportRows(const QTableView* grid, int columns) {
    QList<QStringList> rows;
    rows.reserve(rowsOf(grid));
    for (int r = 0; r < rowsOf(grid); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << editing::cellText(grid, r, c);
        rows.append(cells);
    }
    return rows;
}

DetailReport detailReportFromWindow(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    DetailReport r;
    r.typeMode = ctx.state.byFileType();
    r.description = ui->txtDesc->text();
    r.extension = ui->txtExt->text();
    r.related = ui->txtRel->text();
    r.contentType = ui->txtMIME->text();
    r.iconFile = ui->txtIcon->text();
    r.iconNumber = ui->txtIconNumber->text();
    r.quickView = ui->chkQuickView->isChecked();
    r.alwaysShowExtension = ui->chkAlwaysShow->isChecked();
    // Each action as the action panel loads it from the registry.
    const model::ActionList list = model::LoadActions(ctx.regState, ctx.CurrentTypeKey);
    for (int row = 0; row < rowsOf(ui->flex3); ++row) {
        const QString keyName = editing::cellText(ui->flex3, row, 0);
        if (keyName.isEmpty())
            continue;
        const model::ActionDetail d =
            model::LoadActionDetail(ctx.regState, ctx.CurrentTypeKey, list, keyName);
        r.actions.append({keyName, d.action.IsDefault == model::kYes, d.ActionName,
                          d.action.Command, d.action.DdeMessage, d.action.DdeApplication,
                          d.action.DdeNotRunning, d.action.DdeTopic});
    }
    return r;
}

ReportHandlers::ReportHandlers(MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->cmdPrint, &QAction::triggered, this, [this] { cmdPrint_Click(); });
    connect(ui->cmdPrintF2, &QAction::triggered, this, [this] { cmdPrintF2_Click(); });
    connect(ui->cmdPrintDetail, &QAction::triggered, this, [this] { cmdPrintDetail_Click(); });
    // A preview item beside each report, enabled and disabled with it.
    ui->mnuPrintAll->addSeparator();
    struct Item {
        QAction* report;
        const char* name;
        const char* text;
        void (ReportHandlers::*handler)(bool);
    };
    const Item items[] = {
        {ui->cmdPrintDetail, "mnuPreviewDetail", "Print Pre&view: file type detail",
         &ReportHandlers::cmdPrintDetail_Click},
        {ui->cmdPrint, "mnuPreviewExtensions", "Print Pre&view: all file extensions",
         &ReportHandlers::cmdPrint_Click},
        {ui->cmdPrintF2, "mnuPreviewTypes", "Print Pre&view: all file types",
         &ReportHandlers::cmdPrintF2_Click},
    };
    for (const Item& item : items) {
        QAction* preview = ui->mnuPrintAll->addAction(QString::fromLatin1(item.text));
        preview->setObjectName(QString::fromLatin1(item.name));
        preview->setEnabled(item.report->isEnabled());
        connect(item.report, &QAction::changed, preview,
                [preview, report = item.report] { preview->setEnabled(report->isEnabled()); });
        connect(preview, &QAction::triggered, this,
                [this, handler = item.handler] { (this->*handler)(true); });
    }
}

// A delete request waits for its confirmation while its panel is up (both kinds show it); the
// reports then hold back so that the request and its status line stay as they are.
bool ReportHandlers::deleteRequestWaits() const {
    return !m_ctx.ui->fraDelete->isHidden();
}

void ReportHandlers::finish(const QString& done, int route, const QString& error) {
    QString status = done;
    if (route == int(PrintRoute::Failed))
        status = QStringLiteral("Printing failed: ") + error;
    else if (route == int(PrintRoute::Previewed) && !hasDefaultPrinter())
        status += QStringLiteral("   (no printer: shown in the print preview)");
    m_ctx.ui->lblScan->setText(status);
}

void ReportHandlers::cmdPrint_Click(bool preview) {
    printList(m_ctx.ui->flex1, extensionListLayout(), QStringLiteral("Registered File Extensions"),
              preview);
}

void ReportHandlers::cmdPrintF2_Click(bool preview) {
    printList(m_ctx.ui->flex2, fileTypeListLayout(), QStringLiteral("Registered File Types"),
              preview);
}

void ReportHandlers::printList(const QTableView* grid, const ListReportLayout& layout,
                               const QString& what, bool preview) {
    if (deleteRequestWaits())
        return;
    m_ctx.ui->lblScan->setText(QStringLiteral("Print ") + what);
    const QList<QStringList> rows = gridReportRows(grid, 4);
    const int step = gridRowStepTwips(grid);
    const QDateTime now = QDateTime::currentDateTime();
    const PrintResult result = printReport(
        m_ctx.window,
        [&](QPagedPaintDevice* d) { return printListReport(d, layout, rows, step, now); }, preview);
    finish(QStringLiteral("Finished Building Print For ") + what + u'!', int(result.route),
           result.error);
}

void ReportHandlers::cmdPrintDetail_Click(bool preview) {
    if (deleteRequestWaits())
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    const QString description = ui->txtDesc->text();
    ui->lblScan->setText(QStringLiteral("Start print for ") + description);
    const DetailReport report = detailReportFromWindow(m_ctx);
    const QDateTime now = QDateTime::currentDateTime();
    const PrintResult result = printReport(
        m_ctx.window, [&](QPagedPaintDevice* d) { return printDetailReport(d, report, now); },
        preview);
    finish(QStringLiteral("Finished Building Print For ") + description, int(result.route),
           result.error);
}

} // namespace orvanex::reports
