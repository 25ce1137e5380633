#pragma once
// The printed file summary: a title, the path, then every line with a blank line between, in a
// fixed-pitch font so that the values line up as they do in the window.

#include "reports/report_layout.h"
#include "search/file_summary.h"

class QPagedPaintDevice;

namespace orvanex::search {

inline constexpr char kSummaryTitle[] = "ORVANEX File Summary Information ";

// "Courier New" where it is installed, else a fixed-pitch font with the same widths.
QString summaryFontFamily();

// One document, begun and ended by this call.
reports::PrintOutcome PrintFileSummary(QPagedPaintDevice* device, const FileSummary& summary);
// The same into a PDF file, written atomically.
reports::PrintOutcome writeFileSummaryPdf(const QString& path, const FileSummary& summary);

} // namespace orvanex::search
