#include "editing/list_export_handlers.h"

#include "editing/main_context.h"
#include "editing/report_handlers.h"
#include "reports/list_export.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTableView>

namespace orvanex::reports {

ListExportHandlers::ListExportHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    QAction* item = ctx.ui->mnuPrintAll->addAction(QStringLiteral("Export List…"));
    item->setObjectName(QStringLiteral("mnuExportList"));
    connect(item, &QAction::triggered, this, &ListExportHandlers::mnuExportList_Click);
}

void ListExportHandlers::mnuExportList_Click() {
    const bool types = m_ctx.state.byFileType();
    const QString suggested =
        QDir(m_ctx.AppFolder.isEmpty() ? QDir::currentPath() : m_ctx.AppFolder)
            .filePath(types ? QStringLiteral("file-types.csv") : QStringLiteral("extensions.csv"));
    const QString path = QFileDialog::getSaveFileName(
        m_ctx.window, QStringLiteral("ORVANEX - Export List"), suggested,
        QStringLiteral("CSV files (*.csv);;HTML pages (*.html *.htm)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool ListExportHandlers::exportTo(const QString& path, bool quiet) {
    const bool types = m_ctx.state.byFileType();
    const QTableView* grid = types ? m_ctx.ui->flex2 : m_ctx.ui->flex1;
    const QList<QStringList> rows = gridReportRows(grid, 4);
    const ExportOutcome out = exportList(path,
                                         types ? QStringLiteral("Registered File Types")
                                               : QStringLiteral("Registered File Extensions"),
                                         types ? fileTypeListHeaders() : extensionListHeaders(),
                                         rows, QDateTime::currentDateTime());
    if (!out.ok) {
        QApplication::beep();
        m_ctx.ui->lblScan->setText(QStringLiteral("Error!   ") + out.error);
        if (!quiet)
            QMessageBox::warning(m_ctx.window, QStringLiteral("ORVANEX - Export List"), out.error);
        return false;
    }
    m_ctx.ui->lblScan->setText(QStringLiteral("%1 rows exported to %2")
                                   .arg(rows.size())
                                   .arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace orvanex::reports
