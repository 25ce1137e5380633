#pragma once
// The printed reports: list reports (extensions, file types, backup files) and the detail of one
// entry, laid out in twips on any paged device (QPrinter in the window, QPdfWriter in orvx).

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace orvanex::reports {

// The grid's default row height: the step of a list line where no grid is on screen.
inline constexpr int kDefaultRowStepTwips = 240;
inline constexpr int kPageLimitMarginTwips = 1000; // a page ends this far above printable height
inline constexpr int kListIndentTwips = 500;       // rows start this far right of the heading

struct ListReportLayout {
    QString heading;
    QList<int> tabs;       // character tab positions of the columns, from 1
    QStringList titles;    // column titles, a line of their own under the heading ("" for none)
    bool wrapLast = false; // the last column goes on over further lines instead of being cut
};
ListReportLayout extensionListLayout();
ListReportLayout fileTypeListLayout();
ListReportLayout backupListLayout();

// The system's short date and long time, as the headings show them.
QString reportDate(const QDateTime& now);
QString reportTime(const QDateTime& now);
QString listHeadingLine(const QString& heading, const QDateTime& now, int page);
QString detailHeadingLine(const QDateTime& now);

// Arial where it is installed, else its metric twin.
QString reportFontFamily();

struct DetailAction {
    QString keyName; // the action grid's first cell
    bool isDefault = false;
    QString actionName;
    QString application;
    QString ddeMessage, ddeApplication, ddeNotRunning, ddeTopic;
};

struct DetailReport {
    bool typeMode = false; // a file type was selected (else an extension)
    QString description, extension, related, contentType, iconFile, iconNumber;
    bool quickView = false;
    bool alwaysShowExtension = false;
    QList<DetailAction> actions;
};

// The label and value lines of the detail report, in order; an empty label and value stand for
// an empty line. Labels of action lines carry tab 5, the others tab 1.
struct DetailLine {
    int labelTab = 1;
    QString label;
    QString value;
};
QList<DetailLine> detailLines(const DetailReport& report);

struct PrintOutcome {
    bool ok = true;
    QString error;
    int pages = 0;
};

// Prints the rows (each the cells the tabs place) as one document that this call begins and
// ends. rowStepTwips is the vertical step of every line.
PrintOutcome printListReport(QPagedPaintDevice* device, const ListReportLayout& list,
                             const QList<QStringList>& rows, int rowStepTwips,
                             const QDateTime& now);
PrintOutcome printDetailReport(QPagedPaintDevice* device, const DetailReport& report,
                               const QDateTime& now);

} // namespace orvanex::reports
