#include "search/file_summary_print.h"

#include "reports/report_pdf.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace orvanex::search {

QString summaryFontFamily() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Courier New"))
                                      ? QStringLiteral("Courier New")
                                      : QStringLiteral("Liberation Mono");
    return family;
}

reports::PrintOutcome PrintFileSummary(QPagedPaintDevice* device, const FileSummary& summary) {
    reports::PrintOutcome outcome;
    QPainter painter;
    if (!painter.begin(device)) {
        outcome.ok = false;
        outcome.error = QStringLiteral("the printer could not be started");
        return outcome;
    }
    outcome.pages = 1;
    const int bottom = painter.viewport().height();
    int y = 0;
    auto print = [&](const QString& text) {
        const QFontMetrics metrics(painter.font(), device);
        if (y + metrics.height() > bottom && y > 0) {
            device->newPage();
            ++outcome.pages;
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), text);
        y += metrics.height();
    };
    auto blankLines = [&](int count) {
        for (int i = 0; i < count; ++i)
            print(QStringLiteral(" "));
    };
    painter.setFont(QFont(summaryFontFamily(), 16));
    print(QLatin1String(kSummaryTitle));
    blankLines(3);
    painter.setFont(QFont(summaryFontFamily(), 10));
    for (qsizetype i = 0; i < summary.lines.size(); ++i) {
        const QString text = summary.lines[i].text();
        if (i == 0) {
            print(text + u' ');
            blankLines(3);
        } else if (i + 1 < summary.lines.size()) {
            print(text + QStringLiteral("      "));
            blankLines(1);
        } else {
            print(text + QStringLiteral("      "));
        }
    }
    if (!painter.end()) {
        outcome.ok = false;
        outcome.error = QStringLiteral("the document could not be finished");
    }
    return outcome;
}

reports::PrintOutcome writeFileSummaryPdf(const QString& path, const FileSummary& summary) {
    return reports::writeReportPdf(
        path, [&](QPagedPaintDevice* device) { return PrintFileSummary(device, summary); });
}

} // namespace orvanex::search
