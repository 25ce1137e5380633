#pragma once
// A report as printed, into a PDF file written atomically (orvx report, tests, benchmarks).

#include "reports/report_layout.h"

namespace orvanex::reports {

PrintOutcome writeListReportPdf(const QString& path, const ListReportSpec& list,
                                const QList<QStringList>& rows, int rowStepTwips,
                                const QDateTime& now);
PrintOutcome writeDetailReportPdf(const QString& path, const DetailReport& report,
                                  const QDateTime& now);

} // namespace orvanex::reports
