#include "reports/report_layout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

namespace orvanex::reports {

ListReportLayout extensionListLayout() {
    return {QStringLiteral("Registered File Extensions            "), {1, 41, 61, 81}, {}, false};
}

ListReportLayout fileTypeListLayout() {
    return {QStringLiteral("Registered File Types             "), {1, 61, 75, 95}, {}, false};
}

ListReportLayout backupListLayout() {
    // The extensions of a type can be many: they go on over further lines, never cut.
    return {QStringLiteral("Registry Backup Files            "),
            {1, 27, 40, 67, 110},
            {QStringLiteral("Backup File"), QStringLiteral("Type"), QStringLiteral("Date/Time"),
             QStringLiteral("File Type"), QStringLiteral("File Extension(s)")},
            true};
}

QString reportDate(const QDateTime& now) {
    return QLocale::system().toString(now.date(), QLocale::ShortFormat);
}

QString reportTime(const QDateTime& now) {
    // The long format's time zone is not part of a time of day as the headings show it.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return QLocale::system().toString(now.time(), format.trimmed());
}

QString listHeadingLine(const QString& heading, const QDateTime& now, int page) {
    return heading + reportDate(now) + QStringLiteral("            ") + reportTime(now) +
           QStringLiteral("              Page ") + QString::number(page);
}

QString detailHeadingLine(const QDateTime& now) {
    return QStringLiteral("Registered File Extensions Detail     ") + reportDate(now) +
           QStringLiteral("     ") + reportTime(now);
}

QString reportFontFamily() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                                      ? QStringLiteral("Arial")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

QList<DetailLine> detailLines(const DetailReport& r) {
    auto yesNo = [](bool b) { return b ? QStringLiteral("Yes") : QStringLiteral("No"); };
    QList<DetailLine> lines;
    lines.append({1, QStringLiteral("Registered File Type:"), r.description});
    if (r.typeMode) {
        lines.append({1, QStringLiteral("File Extensions:"), r.related});
    } else {
        lines.append({1, QStringLiteral("File Extension:"), r.extension});
        lines.append({1, QStringLiteral("Related File Extensions:"), r.related});
        lines.append({1, QStringLiteral("Content Type (MIME)"), r.contentType});
    }
    lines.append({1, QStringLiteral("Default Icon File:"), r.iconFile});
    lines.append({1, QStringLiteral("Icon Number:"), r.iconNumber.trimmed()});
    lines.append({1, QStringLiteral("Enable Quick View?:"), yesNo(r.quickView)});
    lines.append({1, QStringLiteral("Always Show Extension?:"), yesNo(r.alwaysShowExtension)});
    for (const DetailAction& a : r.actions) {
        if (a.keyName.isEmpty())
            continue;
        lines.append({1, QString(), QString()});
        lines.append({1, QStringLiteral("Action:"), a.keyName});
        lines.append({5, QStringLiteral("Default Action?:"), yesNo(a.isDefault)});
        // A nameless action shows its key name, as the action panel does.
        lines.append(
            {5, QStringLiteral("Action Name:"), a.actionName.isEmpty() ? a.keyName : a.actionName});
        lines.append({5, QStringLiteral("Application Used For Action:"), a.application});
        lines.append({5, QStringLiteral("DDE Message:"), a.ddeMessage});
        lines.append({5, QStringLiteral("DDE Application:"), a.ddeApplication});
        lines.append({5, QStringLiteral("DDE Not Running:"), a.ddeNotRunning});
        lines.append({5, QStringLiteral("DDE Topic:"), a.ddeTopic});
    }
    return lines;
}

namespace {

// A painter whose unit is the twip, with the origin at the printable area's top left.
class TwipPainter {
public:
    TwipPainter(QPagedPaintDevice* device, int points) : m_device(device) {
        m_font = QFont(reportFontFamily());
        // Pixel size in twips: the painter's scale turns it into the printer's points.
        m_font.setPixelSize(points * 20);
        m_font.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF metrics(m_font);
        m_ascent = metrics.ascent();
        m_lineHeight = metrics.height();
        m_columnWidth = metrics.averageCharWidth();
    }

    bool begin(QString* error) {
        if (!m_painter.begin(m_device)) {
            *error = QStringLiteral("the printer could not start the document");
            return false;
        }
        m_painter.scale(m_device->logicalDpiX() / 1440.0, m_device->logicalDpiY() / 1440.0);
        m_painter.setFont(m_font);
        return true;
    }
    bool newPage(QString* error) {
        if (!m_device->newPage()) {
            *error = QStringLiteral("the printer could not start a new page");
            return false;
        }
        return true;
    }
    bool end(QString* error) {
        if (!m_painter.end()) {
            *error = QStringLiteral("the printer could not finish the document");
            return false;
        }
        return true;
    }

    double printableHeight() const { return m_device->height() * 1440.0 / m_device->logicalDpiY(); }
    double printableWidth() const { return m_device->width() * 1440.0 / m_device->logicalDpiX(); }
    double tabX(int tab) const { return (tab - 1) * m_columnWidth; }
    double lineHeight() const { return m_lineHeight; }
    double columnWidth() const { return m_columnWidth; }
    const QFont& font() const { return m_font; }

    // Text whose top is at y; cut with an ellipsis where it would pass maxWidth.
    void text(double x, double y, const QString& s, double maxWidth) {
        if (s.isEmpty())
            return;
        const QFontMetricsF metrics(m_font);
        const QString shown = maxWidth > 0 && metrics.horizontalAdvance(s) > maxWidth
                                  ? metrics.elidedText(s, Qt::ElideRight, maxWidth)
                                  : s;
        m_painter.drawText(QPointF(x, y + m_ascent), shown);
    }
    // Text wrapped at maxWidth onto further lines; returns the lines used.
    QStringList wrap(const QString& s, double maxWidth) const {
        QStringList pieces;
        const QFontMetricsF metrics(m_font);
        QString piece;
        for (QChar c : s) {
            if (!piece.isEmpty() && metrics.horizontalAdvance(piece + c) > maxWidth) {
                pieces << piece;
                piece.clear();
            }
            piece += c;
        }
        pieces << piece;
        return pieces;
    }
    // The same at blanks where it can: a word longer than the width alone is broken.
    QStringList wrapWords(const QString& s, double maxWidth) const {
        QStringList lines;
        const QFontMetricsF metrics(m_font);
        QString line;
        for (const QString& word : s.split(u' ', Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + u' ' + word;
            if (line.isEmpty() || metrics.horizontalAdvance(longer) <= maxWidth) {
                line = longer;
                continue;
            }
            lines << line;
            line = word;
        }
        QStringList out;
        for (const QString& l : lines + QStringList{line})
            out += metrics.horizontalAdvance(l) > maxWidth ? wrap(l, maxWidth) : QStringList{l};
        return out;
    }

private:
    QPagedPaintDevice* m_device;
    QPainter m_painter;
    QFont m_font;
    double m_ascent = 0;
    double m_lineHeight = 0;
    double m_columnWidth = 0;
};

} // namespace

PrintOutcome printListReport(QPagedPaintDevice* device, const ListReportLayout& list,
                             const QList<QStringList>& rows, int rowStepTwips,
                             const QDateTime& now) {
    PrintOutcome outcome;
    TwipPainter printer(device, 8);
    if (!printer.begin(&outcome.error)) {
        outcome.ok = false;
        return outcome;
    }
    const double limit = printer.printableHeight() - kPageLimitMarginTwips;
    const double rowX = kListIndentTwips;
    const double rightEdge = printer.printableWidth();
    double y = limit + 1; // the first row begins a page
    const double top = (list.titles.isEmpty() ? 2.0 : 3.0) * rowStepTwips;
    // Where a cell may go: short of the next column, so columns never run into each other.
    const auto cellWidth = [&](qsizetype c) {
        const double x = rowX + printer.tabX(list.tabs[c]);
        const double next =
            c + 1 < list.tabs.size() ? rowX + printer.tabX(list.tabs[c + 1]) : rightEdge;
        return next - x - printer.columnWidth() / 2;
    };
    const auto line = [&](const QStringList& cells) {
        for (qsizetype c = 0; c < list.tabs.size() && c < cells.size(); ++c)
            printer.text(rowX + printer.tabX(list.tabs[c]), y, cells[c], cellWidth(c));
    };
    const qsizetype last = list.tabs.size() - 1;
    // A title wider than its column (the page can be too narrow for the last one) starts early
    // enough to end where its column does, clear of the title before it, so it is never cut.
    const auto titleLine = [&] {
        const QFontMetricsF metrics(printer.font());
        double clear = 0;
        for (qsizetype c = 0; c < list.tabs.size() && c < list.titles.size(); ++c) {
            const double x = rowX + printer.tabX(list.tabs[c]);
            const double end = x + cellWidth(c);
            const double width = metrics.horizontalAdvance(list.titles[c]);
            const double start = qMax(qMin(x, end - width), clear);
            printer.text(start, y, list.titles[c], end - start);
            clear = start + width + printer.columnWidth();
        }
    };
    // A new page: its heading, one empty line and the column titles.
    const auto beginPage = [&] {
        if (outcome.pages > 0 && !printer.newPage(&outcome.error))
            return false;
        ++outcome.pages;
        printer.text(0, 0, listHeadingLine(list.heading, now, outcome.pages), rightEdge);
        y = 2.0 * rowStepTwips;
        if (!list.titles.isEmpty()) {
            titleLine();
            y += rowStepTwips;
        }
        return true;
    };
    for (const QStringList& row : rows) {
        QStringList rest; // the last column's further lines
        QStringList cells = row;
        if (list.wrapLast && last >= 0 && row.size() > last) {
            rest = printer.wrapWords(row[last], cellWidth(last));
            cells[last] = rest.takeFirst();
        }
        // A row starts a page when it would not end on this one (unless nothing is on it yet).
        if ((y > limit || (y > top && y + double(rest.size()) * rowStepTwips > limit)) &&
            !beginPage()) {
            outcome.ok = false;
            return outcome;
        }
        line(cells);
        y += rowStepTwips;
        for (const QString& more : rest) {
            if (y > limit && !beginPage()) {
                outcome.ok = false;
                return outcome;
            }
            printer.text(rowX + printer.tabX(list.tabs[last]), y, more, cellWidth(last));
            y += rowStepTwips;
        }
    }
    if (!printer.end(&outcome.error))
        outcome.ok = false;
    return outcome;
}

PrintOutcome printDetailReport(QPagedPaintDevice* device, const DetailReport& report,
                               const QDateTime& now) {
    PrintOutcome outcome;
    TwipPainter printer(device, 9);
    if (!printer.begin(&outcome.error)) {
        outcome.ok = false;
        return outcome;
    }
    outcome.pages = 1;
    const double step = printer.lineHeight();
    const double height = printer.printableHeight();
    const double width = printer.printableWidth();
    double y = 0;
    // The printer starts a further page by itself when a line would not fit.
    auto place = [&]() {
        if (y + step > height && y > 0) {
            if (!printer.newPage(&outcome.error))
                return false;
            ++outcome.pages;
            y = 0;
        }
        return true;
    };
    printer.text(0, y, detailHeadingLine(now), width);
    y += 3 * step; // the heading and two empty lines
    const double valueX = printer.tabX(40);
    for (const DetailLine& line : detailLines(report)) {
        if (!place()) {
            outcome.ok = false;
            return outcome;
        }
        printer.text(printer.tabX(line.labelTab), y, line.label,
                     valueX - printer.tabX(line.labelTab));
        // Long values (command lines) go on over further lines rather than being cut.
        const QStringList pieces = printer.wrap(line.value, width - valueX);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                y += step;
                if (!place()) {
                    outcome.ok = false;
                    return outcome;
                }
            }
            printer.text(valueX, y, pieces[i], 0);
        }
        y += step;
    }
    if (!printer.end(&outcome.error))
        outcome.ok = false;
    return outcome;
}

} // namespace orvanex::reports
