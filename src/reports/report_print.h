#pragma once
// A report onto the default printer, or into Qt's print preview where the system has no printer
// (or the user asked for the preview), from which it can still be printed to a file.

#include "reports/report_layout.h"

#include <functional>

class QWidget;

namespace orvanex::reports {

enum class PrintRoute { Printed, Previewed, Failed };

struct PrintResult {
    PrintRoute route = PrintRoute::Failed;
    QString error;
};

using ReportPrinter = std::function<PrintOutcome(QPagedPaintDevice*)>;

// True when the system has a default printer.
bool hasDefaultPrinter();
PrintResult printReport(QWidget* parent, const ReportPrinter& print, bool preview);

} // namespace orvanex::reports
