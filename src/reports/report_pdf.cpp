#include "reports/report_pdf.h"

#include <QPdfWriter>
#include <QSaveFile>

#include <functional>

namespace orvanex::reports {

namespace {

PrintOutcome writePdf(const QString& path,
                      const std::function<PrintOutcome(QPagedPaintDevice*)>& print) {
    PrintOutcome outcome;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.ok = false;
        outcome.error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return outcome;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("ORVANEX"));
        writer.setResolution(1200);
        // A letter page with the quarter-inch border a printer cannot print on.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        outcome = print(&writer);
    }
    if (!outcome.ok) {
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit()) {
        outcome.ok = false;
        outcome.error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    }
    return outcome;
}

} // namespace

PrintOutcome writeListReportPdf(const QString& path, const ListReportLayout& list,
                                const QList<QStringList>& rows, int rowStepTwips,
                                const QDateTime& now) {
    return writePdf(path, [&](QPagedPaintDevice* device) {
        return printListReport(device, list, rows, rowStepTwips, now);
    });
}

PrintOutcome writeDetailReportPdf(const QString& path, const DetailReport& report,
                                  const QDateTime& now) {
    return writePdf(
        path, [&](QPagedPaintDevice* device) { return printDetailReport(device, report, now); });
}

PrintOutcome writeReportPdf(const QString& path,
                            const std::function<PrintOutcome(QPagedPaintDevice*)>& print) {
    return writePdf(path, print);
}

} // namespace orvanex::reports
