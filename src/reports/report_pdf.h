#pragma once
// A report as printed, into a PDF file written atomically (orvx report, tests, benchmarks).

#include "reports/report_layout.h"

#include <functional>

namespace orvanex::reports {

PrintOutcome writeListReportPdf(const QString& path, const ListReportLayout& list,
                                const QList<QStringList>& rows, int rowStepTwips,
                                const QDateTime& now);
PrintOutcome writeDetailReportPdf(const QString& path, const DetailReport& report,
                                  const QDateTime& now);

// Whatever `print` lays out, into a PDF file written atomically.
PrintOutcome writeReportPdf(const QString& path,
                            const std::function<PrintOutcome(QPagedPaintDevice*)>& print);

} // namespace orvanex::reports
