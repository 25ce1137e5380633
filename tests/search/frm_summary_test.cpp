// The summary window: its lines as the core builds them, its icon, printing and kept position,
// and the search window's "&File Summary" that opens it.

#include "search/frm_search.h"
#include "search/frm_summary.h"
#include "search_trees.h"
#include "summary_programs.h"
#include "support/test_env.h"

#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

const test::SummaryPrograms& programs() {
    static const test::SummaryPrograms built =
        test::buildSummaryPrograms(test::freshDir("window_programs"));
    return built;
}

} // namespace

TEST(frmSummary, ShowsTheLinesInAFixedPitchFontWithTheProgramsIcon) {
    const test::SummaryPrograms& p = programs();
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    frmSummary window("C:\\TOOLS\\CRATE.EXE", p.gui32,
                      [](const QString& ext) { return ext == "EXE" ? "Application" : ""; });
    EXPECT_EQ(window.windowTitle(), "ORVANEX Summary");
    EXPECT_EQ(window.lblFile->text(), "C:\\TOOLS\\CRATE.EXE");
    EXPECT_EQ(window.lblType->text(), "File Type:            Application");
    ASSERT_EQ(window.lblInf.size(), 8);
    EXPECT_EQ(window.lblInf[0]->text(), "Company Name:         Orchard Works");
    EXPECT_EQ(window.lblInf[7]->text(), "Product Version:      2.5");
    EXPECT_EQ(window.lblInf9->text(), "Execution Type:       Win32, v4.00");
    // Every label is the core's line, so the window and orvx summary cannot drift apart.
    for (const SummaryLine& line : window.summary().lines) {
        auto* label = window.findChild<QLabel*>(line.name);
        ASSERT_TRUE(label) << line.name.toStdString();
        EXPECT_EQ(label->text(), line.text());
        EXPECT_TRUE(QFontInfo(label->font()).fixedPitch()) << line.name.toStdString();
    }
    EXPECT_EQ(window.lblPrted->text(), "");
    EXPECT_EQ(window.cmdPrint->text(), "&Print");
    EXPECT_EQ(window.cmdPrint->toolTip(), "Print File Summary");
    EXPECT_EQ(window.cmdExit->text(), "E&xit");
    EXPECT_EQ(window.cmdExit->toolTip(), "Exit File Summary");
    ASSERT_FALSE(window.pixLarge->pixmap().isNull());
    EXPECT_EQ(window.pixLarge->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
    // The program's own icon, not the desktop's picture for programs.
    const QImage icon = window.pixLarge->pixmap().toImage();
    EXPECT_EQ(icon.pixelColor(icon.width() / 2, icon.height() / 2).rgb(),
              test::summaryIconColour().rgb());
    window.show();
    test::screenshot("file-summary.png");
}

TEST(frmSummary, PrintsAndTellsWhenPrintingFails) {
    const test::SummaryPrograms& p = programs();
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    const QString dir = test::freshDir("summary_print");
    frmSummary window(p.console, p.console, {});
    window.printToFile = dir + "/summary.pdf";
    window.cmdPrint->click();
    EXPECT_EQ(window.lblPrted->text(), "Finished Print");
    QFile pdf(window.printToFile);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    window.printToFile = dir + "/missing/folder/summary.pdf";
    window.cmdPrint->click();
    EXPECT_TRUE(window.lblPrted->text().startsWith("Print failed: cannot write"))
        << window.lblPrted->text().toStdString();
}

TEST(frmSummary, KeepsItsPositionBetweenOpenings) {
    const QString dir = test::freshDir("summary_position");
    const QString file = dir + "/a.txt";
    QFile(file).open(QIODevice::WriteOnly);
    QPoint moved;
    {
        frmSummary window(file, file, {});
        window.show();
        window.move(window.pos() + QPoint(37, 23));
        moved = window.pos();
        window.cmdExit->click();
        EXPECT_FALSE(window.isVisible());
    }
    frmSummary again(file, file, {});
    EXPECT_EQ(again.pos(), moved);
}

TEST(frmSummary, TheSearchWindowsMenuOpensItForTheSelectedFile) {
    const QString root = test::freshDir("summary_search");
    platform::DriveMap drives;
    drives.setDrive(u'C', root);
    ASSERT_TRUE(test::makeFile(QFile::encodeName(root) + "/docs/notes.txt"));
    frmSearch window("TXT", "Text Document", drives, test::freshDir("summary_search_app"));
    window.popUpMenus = false;
    window.scriptedAnswer = QMessageBox::Yes;
    window.describeExtension = [](const QString& ext) { return "Registry " + ext; };
    window.show();
    window.setStartFolder(root);
    QSignalSpy done(&window, &frmSearch::searchFinished);
    QTest::mouseClick(window.cmdSearchStart, Qt::LeftButton);
    ASSERT_TRUE(done.wait(20000));
    int row = -1;
    for (int r = 0; r < window.results()->rowCount(); ++r)
        if (window.results()->cellText(r, 0) == "C:\\docs\\notes.txt")
            row = r;
    ASSERT_GE(row, 0);
    window.MSFlexGrid1_Select(window.results()->index(row, 0));
    auto* summary = window.findChild<QAction*>(QStringLiteral("cmdSummary"));
    ASSERT_TRUE(summary && summary->isEnabled());
    summary->trigger();
    ASSERT_TRUE(window.lastSummary);
    EXPECT_EQ(window.lastSummary->lblFile->text(), "C:\\docs\\notes.txt");
    EXPECT_EQ(window.lastSummary->lblType->text(), "File Type:            Registry TXT");
    EXPECT_EQ(window.lastSummary->lblSize->text(), "File Size:            0  Bytes");
}
