#include "reports/report_print.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace orvanex::reports {

bool hasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

PrintResult printReport(QWidget* parent, const ReportPrinter& print, bool preview) {
    PrintResult result;
    QPrinter printer(QPrinter::HighResolution);
    if (preview || !hasDefaultPrinter()) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("reportPreview"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
            const PrintOutcome outcome = print(p);
            if (!outcome.ok)
                result.error = outcome.error;
        });
        dialog.exec();
        result.route = result.error.isEmpty() ? PrintRoute::Previewed : PrintRoute::Failed;
        return result;
    }
    const PrintOutcome outcome = print(&printer);
    result.route = outcome.ok ? PrintRoute::Printed : PrintRoute::Failed;
    result.error = outcome.error;
    return result;
}

} // namespace orvanex::reports
