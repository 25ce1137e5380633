// The printed reports as they come out of the printer: PDF text read back with pdftotext, and the
// places of the heading, the rows and the columns in points.

#include "pdf_text.h"
#include "reports/report_layout.h"
#include "reports/report_pdf.h"
#include "support/test_env.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::reports;
using orvanex::test::findWord;
using orvanex::test::pdfText;
using orvanex::test::pdfWords;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(13, 5, 9));
// The PDF page's border: a quarter inch, in points.
constexpr double kMargin = 18.0;

QList<QStringList> numberedRows(int count) {
    QList<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QStringLiteral("R%1").arg(i), QStringLiteral(" "), QStringLiteral(" "),
                     QStringLiteral("Desc%1").arg(i)});
    return rows;
}

// The width of a tab column of the 8-point report font, in points.
double columnPoints(int points) {
    QFont font(reportFontFamily());
    font.setPixelSize(points * 20);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font).averageCharWidth() / 20.0;
}

} // namespace

TEST(ListReport, AnEmptyListPrintsAnEmptyDocument) {
    const QString pdf = test::freshDir("empty") + "/empty.pdf";
    const PrintOutcome outcome =
        writeListReportPdf(pdf, extensionListLayout(), {}, kDefaultRowStepTwips, kNow);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.pages, 0);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(pdfText(pdf).trimmed().isEmpty());
}

TEST(ListReport, HeadingRowsAndColumnsStandAtTheirTwips) {
    const QString pdf = test::freshDir("places") + "/ext.pdf";
    ASSERT_TRUE(writeListReportPdf(pdf, extensionListLayout(), numberedRows(3), 240, kNow).ok);
    const QList<test::PdfWord> words = pdfWords(pdf);
    const test::PdfWord heading = findWord(words, "Registered");
    EXPECT_NEAR(heading.box.left(), kMargin, 0.01);
    EXPECT_NEAR(heading.box.top(), kMargin, 0.01);
    // Rows: 500 twips right of the heading; the first after the heading and an empty line.
    const test::PdfWord first = findWord(words, "R1");
    EXPECT_NEAR(first.box.left(), kMargin + 25.0, 0.01);
    EXPECT_NEAR(first.box.top(), kMargin + 2 * 12.0, 0.01);
    EXPECT_NEAR(findWord(words, "R2").box.top(), first.box.top() + 12.0, 0.01);
    // Column 3 (tab 81) stands 80 average characters right of the row's start.
    EXPECT_NEAR(findWord(words, "Desc1").box.left(), first.box.left() + 80 * columnPoints(8), 0.05);

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("Registered File Extensions")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("R3 +Desc3")));
}

TEST(ListReport, HeadingLinesKeepTheirBlanks) {
    const QString date = reportDate(kNow), time = reportTime(kNow);
    EXPECT_EQ(listHeadingLine(fileTypeListLayout().heading, kNow, 2),
              "Registered File Types             " + date + "            " + time +
                  "              Page 2");
    EXPECT_EQ(listHeadingLine(backupListLayout().heading, kNow, 12),
              "Registry Backup Files            " + date + "            " + time +
                  "              Page 12");
    EXPECT_EQ(detailHeadingLine(kNow),
              "Registered File Extensions Detail     " + date + "     " + time);
    EXPECT_TRUE(time.contains("09")) << time.toStdString(); // the seconds: a long time
    EXPECT_FALSE(time.contains("UTC"));
}

TEST(ListReport, APageHoldsRowsUpToItsLimitAndThenRepeatsTheHeading) {
    // Letter paper less the border is 15120 twips; the limit 14120 is 40 steps of 353, so the
    // 39th row stands exactly on the limit and the 40th begins page 2.
    const QString dir = test::freshDir("pages");
    const PrintOutcome full =
        writeListReportPdf(dir + "/39.pdf", extensionListLayout(), numberedRows(39), 353, kNow);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.pages, 1);
    const PrintOutcome over =
        writeListReportPdf(dir + "/40.pdf", extensionListLayout(), numberedRows(40), 353, kNow);
    ASSERT_TRUE(over.ok);
    EXPECT_EQ(over.pages, 2);
    const QString page2 = pdfText(dir + "/40.pdf", 2, 2);
    EXPECT_TRUE(page2.contains(QRegularExpression("Registered File Extensions .* Page 2\\s")))
        << page2.toStdString();
    EXPECT_TRUE(page2.contains(QRegularExpression("R40 +Desc40")));
    EXPECT_FALSE(page2.contains(QRegularExpression("R39 ")));
    const QList<test::PdfWord> words = pdfWords(dir + "/40.pdf");
    EXPECT_NEAR(findWord(words, "R40", 2).box.top(), kMargin + 2 * 353 / 20.0, 0.01);
    EXPECT_NEAR(findWord(words, "R39", 1).box.top(), kMargin + 14120 / 20.0, 0.01);
}

TEST(ListReport, ALongCellStopsShortOfTheNextColumn) {
    const QString pdf = test::freshDir("long") + "/types.pdf";
    QStringList row{QString("Word ").repeated(40).trimmed(), " ", " ", "TXT"};
    ASSERT_TRUE(writeListReportPdf(pdf, fileTypeListLayout(), {row}, 240, kNow).ok);
    const QList<test::PdfWord> words = pdfWords(pdf);
    const double column3 = findWord(words, "TXT").box.left();
    ASSERT_GT(column3, 0);
    int shown = 0;
    for (const test::PdfWord& w : words)
        if (w.text.startsWith("Word") || w.text.contains(QChar(0x2026))) {
            ++shown;
            EXPECT_LT(w.box.right(), findWord(words, "Word").box.left() + 60 * columnPoints(8));
        }
    EXPECT_GT(shown, 5);
}

TEST(ListReport, TheFontIsArialOrItsMetricTwin) {
    const QString family = reportFontFamily();
    if (QFontDatabase::hasFamily("Arial"))
        EXPECT_EQ(family, "Arial");
    else
        EXPECT_EQ(family, "Liberation Sans");
    const QString pdf = test::freshDir("font") + "/f.pdf";
    ASSERT_TRUE(writeListReportPdf(pdf, extensionListLayout(), numberedRows(1), 240, kNow).ok);
    QProcess fonts;
    fonts.start("pdffonts", {pdf});
    fonts.waitForFinished(60000);
    EXPECT_TRUE(
        QString::fromUtf8(fonts.readAllStandardOutput()).contains(QString(family).remove(' ')));
}

TEST(ListReport, AFileThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
    const QString pdf = test::freshDir("nowrite") + "/missing/folder/r.pdf";
    const PrintOutcome outcome =
        writeListReportPdf(pdf, extensionListLayout(), numberedRows(2), 240, kNow);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.contains(pdf));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(DetailReport, LinesFollowTheModeAndFillNamelessActions) {
    DetailReport r;
    r.description = "Text Document";
    r.extension = "TXT";
    r.related = "ASC LOG";
    r.contentType = "text/plain";
    r.iconFile = "C:\\WINDOWS\\SYSTEM\\shell32.dll";
    r.iconNumber = "  3 ";
    r.quickView = true;
    const QString dir = test::freshDir("detail");
    ASSERT_TRUE(writeDetailReportPdf(dir + "/ext.pdf", r, kNow).ok);
    QString text = pdfText(dir + "/ext.pdf");
    for (const char* line :
         {"Registered File Type: +Text Document", "File Extension: +TXT",
          "Related File Extensions: +ASC LOG", "Content Type \\(MIME\\) +text/plain",
          "Default Icon File: +C:\\\\WINDOWS\\\\SYSTEM\\\\shell32.dll", "Icon Number: +3\\n",
          "Enable Quick View\\?: +Yes", "Always Show Extension\\?: +No"})
        EXPECT_TRUE(text.contains(QRegularExpression(line))) << line << "\n" << text.toStdString();
    // No actions: the entry's lines only.
    EXPECT_FALSE(text.contains("Action"));

    r.typeMode = true;
    r.actions.append({"open", true, "", "notepad.exe %1", "", "", "", ""});
    r.actions.append({"", false, "skipped", "", "", "", "", ""});
    r.actions.append({"print", false, "Print it", "notepad.exe /p %1", "[print]", "", "", ""});
    ASSERT_TRUE(writeDetailReportPdf(dir + "/type.pdf", r, kNow).ok);
    text = pdfText(dir + "/type.pdf");
    EXPECT_TRUE(text.contains(QRegularExpression("File Extensions: +ASC LOG")));
    EXPECT_FALSE(text.contains("Related File Extensions:"));
    EXPECT_FALSE(text.contains("Content Type"));
    EXPECT_TRUE(text.contains(QRegularExpression("Action: +open\\s+Default Action\\?: +Yes\\s+"
                                                 "Action Name: +open\\s")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Action Name: +Print it")));
    EXPECT_TRUE(text.contains(QRegularExpression("DDE Message: +\\[print\\]")));
    EXPECT_FALSE(text.contains("skipped"));
    EXPECT_EQ(text.count(QRegularExpression("(^|\\n)Action:")), 2);

    // Labels of actions stand four columns right of the entry's labels; values at tab 40.
    const QList<test::PdfWord> words = pdfWords(dir + "/type.pdf");
    const double label = findWord(words, "Registered", 1).box.left();
    EXPECT_NEAR(label, kMargin, 0.01);
    EXPECT_NEAR(findWord(words, "DDE").box.left(), label + 4 * columnPoints(9), 0.05);
    EXPECT_NEAR(findWord(words, "Text").box.left(), label + 39 * columnPoints(9), 0.05);
}

TEST(DetailReport, ALongEntryGoesOnOnFurtherPagesAndLongValuesWrap) {
    DetailReport r;
    r.description = "Many";
    r.typeMode = true;
    for (int i = 1; i <= 12; ++i)
        r.actions.append({QStringLiteral("verb%1").arg(i), false, "", "app.exe", "", "", "", ""});
    r.actions[0].application = "C:\\" + QString("LONGFOLDER\\").repeated(30) + "END.EXE";
    const QString pdf = test::freshDir("longdetail") + "/d.pdf";
    const PrintOutcome outcome = writeDetailReportPdf(pdf, r, kNow);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.pages, 2);
    const QString text = pdfText(pdf);
    for (int i = 1; i <= 12; ++i)
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Action: +verb%1\\s").arg(i))))
            << i;
    EXPECT_TRUE(text.contains("END.EXE"));
}
