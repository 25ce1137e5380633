// Printing the search results on the default printer (or into a PDF).

#include "search/frm_search.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTableView>

namespace orvanex::search {

void frmSearch::PrintSearchResults() {
    QPrinter printer(QPrinter::HighResolution);
    if (!printToFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        lblScan->setText(QStringLiteral("No printer is set up; nothing was printed."));
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        lblScan->setText(QStringLiteral("The printer could not be started; nothing was printed."));
        return;
    }
    // Twips onto the printer: 1440 to the inch.
    const double perTwip = printer.resolution() / 1440.0;
    auto twips = [perTwip](double t) { return int(t * perTwip); };
    QFont font(QStringLiteral("Arial"), 8);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const int x0 = 0;
    const int y0 = 0;
    const int bottom = painter.viewport().height() - twips(1000);
    // The grid's row height, in twips (15 to the pixel), on the printer.
    const int rowHeight =
        std::max(metrics.height(), twips(MSFlexGrid1->verticalHeader()->defaultSectionSize() * 15));
    const int sizeColumn = x0 + metrics.horizontalAdvance(QString(124, u'0'));
    const QLocale locale;
    const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString time = locale.toString(QTime::currentTime(), QLocale::ShortFormat);
    int page = 0;
    int y = bottom + 1;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (y > bottom) {
            if (page > 0)
                printer.newPage();
            ++page;
            y = y0;
            painter.drawText(x0, y + metrics.ascent(),
                             QStringLiteral("Search Results            ") + date +
                                 QStringLiteral("            ") + time +
                                 QStringLiteral("              Page ") + QString::number(page));
            y += 2 * rowHeight;
        }
        painter.drawText(x0 + twips(500), y + metrics.ascent(), m_model->cellText(r, 0));
        painter.drawText(sizeColumn, y + metrics.ascent(), m_model->cellText(r, 1));
        y += rowHeight;
    }
    if (!painter.end()) {
        lblScan->setText(QStringLiteral("Printing failed."));
        return;
    }
    lblScan->setText(QStringLiteral("Finished Printing Search Results!"));
}

} // namespace orvanex::search
