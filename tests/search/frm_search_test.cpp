// The search window driven as a user drives it, offscreen, on trees built by the test.

#include "search/frm_search.h"
#include "search_trees.h"
#include "search_window_world.h"
#include "settings/settings_store.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

struct World : test::SearchWindowWorld {
    using SearchWindowWorld::SearchWindowWorld;
    void search(bool allDrives = false) {
        QSignalSpy done(window.get(), &frmSearch::searchFinished);
        QTest::mouseClick(allDrives ? window->cmdSearchAll : window->cmdSearchStart,
                          Qt::LeftButton);
        ASSERT_TRUE(done.wait(20000));
    }
    QStringList paths() const {
        QStringList out;
        for (int r = 0; r < window->results()->rowCount(); ++r)
            out << window->results()->cellText(r, 0);
        return out;
    }
    int rowOf(const QString& path) const { return int(paths().indexOf(path)); }
    void select(const QString& path) {
        const int row = rowOf(path);
        ASSERT_GE(row, 0) << path.toStdString();
        window->MSFlexGrid1_Select(window->results()->index(row, 1));
    }
    QByteArray read(const char* rel) const {
        QFile f(QFile::decodeName(native(rel)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

void writeFile(const QByteArray& path, const QByteArray& bytes) {
    ASSERT_TRUE(test::makeFile(path));
    QFile f(QFile::decodeName(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(frmSearch, FolderSearchListsTheTreeWithCountsAndEndsReadyToPrint) {
    World w("win_folder", "TXT");
    writeFile(w.native("/b.txt"), QByteArray(512, 'b'));
    writeFile(w.native("/A.TXT"), QByteArray(1024, 'a'));
    writeFile(w.native("/MY.DIR/inner.txt"), "12345");
    writeFile(w.native("/MY.DIR/README"), "no");
    writeFile(w.native("/quote\"s $(x);.txt"), "q");
    w.window->setStartFolder(w.root);
    EXPECT_EQ(w.window->txtDefaultDirectory->text(), "C:\\");
    EXPECT_EQ(w.window->lblScan->text(), "             Select The Type           Of Search ......");
    w.search();

    EXPECT_EQ(w.paths(), QStringList({"", "C:\\A.TXT", "C:\\b.txt", "C:\\quote\"s $(x);.txt",
                                      "C:\\MY.DIR\\inner.txt"}));
    EXPECT_EQ(w.window->results()->cellText(0, 3), "9999999999");
    EXPECT_EQ(w.window->results()->cellText(1, 3), "1");
    EXPECT_EQ(w.window->results()->cellText(1, 1), "1,024");
    EXPECT_EQ(w.window->lblCount->text(), "4");
    EXPECT_EQ(w.window->lblBytes->text(), "1542");
    EXPECT_EQ(w.window->lblBoom->text(), "2");
    EXPECT_EQ(w.window->lblScan->text(), "Search Finished!");
    EXPECT_EQ(w.window->cmdSearchStart->text(), "Prin&t");
    EXPECT_TRUE(w.window->cmdSearchStart->isVisible());
    EXPECT_FALSE(w.window->cmdSearchAll->isVisible());
    EXPECT_EQ(w.window->cmdCancelSearch->text(), "&Exit");
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning1", "TheSearch"), "C:\\");

    // Print into a PDF and read it back.
    const QString pdf = test::freshDir("win_print") + "/results.pdf";
    w.window->printToFile = pdf;
    QTest::mouseClick(w.window->cmdSearchStart, Qt::LeftButton);
    EXPECT_EQ(w.window->lblScan->text(), "Finished Printing Search Results!");
    QByteArray text;
    ASSERT_EQ(test::runProgram("pdftotext", {"-layout", pdf, "-"}, &text), 0);
    EXPECT_TRUE(text.contains("Search Results")) << text.constData();
    EXPECT_TRUE(text.contains("Page 1"));
    EXPECT_TRUE(text.contains("C:\\MY.DIR\\inner.txt"));
    EXPECT_TRUE(text.contains("1,024"));
}

TEST(frmSearch, AllDrivesTakesTheExtensionOfTheFilesOwnName) {
    World w("win_all", "TXT");
    writeFile(w.native("/MY.TXT/README"), "x");
    writeFile(w.native("/MY.TXT/a.Txt"), "x");
    w.search(true);
    EXPECT_EQ(w.paths(), QStringList({"", "C:\\MY.TXT\\a.Txt"}));
    EXPECT_EQ(w.window->txtDefaultDirectory->text(), "Search All Drives!");
    EXPECT_EQ(w.window->lblScan->text(), "Search Finished!");
}

TEST(frmSearch, StopEndsTheSearchAndKeepsTheRowsFound) {
    World w("win_stop", "TXT");
    ASSERT_NO_FATAL_FAILURE(w.makeFolderTree());
    w.window->setStartFolder(w.root);
    // Held as it enters its third folder (the start folder, d0, d1 in name order): d0's files
    // are found, and Stop is pressed before the walk goes on.
    World::Held held;
    w.holdWalkAtFolder(held, 3);
    QSignalSpy done(w.window.get(), &frmSearch::searchFinished);
    QTest::mouseClick(w.window->cmdSearchStart, Qt::LeftButton);
    EXPECT_EQ(w.window->cmdCancelSearch->text(), "&Stop");
    EXPECT_EQ(w.window->cmdCancelSearch->toolTip(), "Stop the Run...");
    ASSERT_TRUE(held->waitHeld());
    QTest::mouseClick(w.window->cmdCancelSearch, Qt::LeftButton);
    held->letGo();
    ASSERT_TRUE(done.wait(20000));
    EXPECT_TRUE(w.window->isVisible()); // Stop does not close the window
    const int rows = w.window->results()->rowCount();
    EXPECT_EQ(rows - 1, World::kFilesPerFolder); // what was found before Stop, no more
    EXPECT_EQ(w.window->lblCount->text(), QString::number(rows - 1));
    EXPECT_EQ(w.window->lblBoom->text(), "3");
    // Stopped, and how far it got.
    EXPECT_EQ(w.window->lblScan->text(), "Search Stopped! " + w.window->lblBoom->text() +
                                             " folders scanned, " + w.window->lblCount->text() +
                                             " files found.");
    QTest::mouseClick(w.window->cmdCancelSearch, Qt::LeftButton); // now "&Exit"
    EXPECT_FALSE(w.window->isVisible());
}

TEST(frmSearch, HeaderClicksSortDescendingFirstSizesByNumberAndBlankRowsLast) {
    World w("win_sort", "TXT");
    const int sizes[] = {8, 75, 34, 12, 1024, 512};
    for (int i = 0; i < 6; ++i)
        writeFile(w.native("/") + char('a' + i) + ".txt", QByteArray(sizes[i], 'x'));
    w.window->setStartFolder(w.root);
    w.search();
    QHeaderView* header = w.window->MSFlexGrid1->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, 5));
    const QString a = "C:\\a.txt", b = "C:\\b.txt", c = "C:\\c.txt", d = "C:\\d.txt",
                  e = "C:\\e.txt", f = "C:\\f.txt";
    EXPECT_EQ(w.paths(), QStringList({f, e, d, c, b, a, ""}));
    EXPECT_EQ(w.window->MSFlexGrid1->currentIndex().row(), 0);
    w.window->MSFlexGrid1_HeaderClick(0); // ascending: the empty first row stays below the data
    EXPECT_EQ(w.paths(), QStringList({a, b, c, d, e, f, ""}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(w.paths(), QStringList({e, f, b, c, d, a, ""})); // 1,024 512 75 34 12 8
    w.window->MSFlexGrid1_HeaderClick(1);
    EXPECT_EQ(w.paths(), QStringList({a, d, c, b, f, e, ""}));
    EXPECT_EQ(w.window->results()->cellText(6, 3), "9999999999");
    test::screenshot("sorted-sizes.png");
    w.window->MSFlexGrid1_HeaderClick(3); // the hidden column does not sort
    EXPECT_EQ(w.paths(), QStringList({a, d, c, b, f, e, ""}));
}

TEST(frmSearch, CopyOntoAListedFileKeepsBothRowsMoveEmptiesTheOther) {
    World w("win_copy", "TXT");
    writeFile(w.native("/one.txt"), "first");
    writeFile(w.native("/two.txt"), "second");
    writeFile(w.native("/three.txt"), "third");
    w.window->setStartFolder(w.root);
    w.search();
    SaveSetting(kMainAppName, "CheckWarning2", "TheCopy", "n");

    // A selection of an empty row does nothing.
    w.window->MSFlexGrid1_Select(w.window->results()->index(0, 0));
    EXPECT_EQ(w.window->txtAction->text(), "");

    w.select("C:\\one.txt");
    EXPECT_EQ(w.window->txtAction->text(), "C:\\one.txt");
    EXPECT_EQ(w.window->SelectedFile, "TXT");
    w.window->cmdCopy_Click();
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\one (copy).txt"); // a free name beside it
    EXPECT_FALSE(w.window->cmdCancelSearch->isEnabled());
    w.window->txtNewNameX->setText("C:\\one.txt");
    w.window->cmdCopyOK_Click(); // the same name
    EXPECT_EQ(w.window->lastMessage, "File Name Not Changed!");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);

    w.window->txtNewNameX->setText("C:\\two.txt");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::None);
    EXPECT_EQ(w.window->lblScan->text(), "Request Completed!");
    EXPECT_EQ(w.read("/two.txt"), "first");
    EXPECT_EQ(w.read("/one.txt"), "first");
    // Sorted by sequence: the copy sits beside its source, both listed files stay.
    EXPECT_EQ(w.paths(),
              QStringList({"C:\\one.txt", "C:\\two.txt", "C:\\three.txt", "C:\\two.txt", ""}));
    EXPECT_EQ(w.window->lblCount->text(), "4"); // the totals follow the rows
    EXPECT_EQ(w.window->lblBytes->text(), "21");

    // Move three onto two: the rows listing two are emptied and go to the bottom.
    w.select("C:\\three.txt");
    w.window->cmdMove_Click();
    EXPECT_TRUE(w.window->Label9->isVisibleTo(w.window.get()));
    EXPECT_EQ(w.window->Label6->text(), "Move");
    w.window->txtNewNameX->setText("C:\\two.txt");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.read("/two.txt"), "third");
    EXPECT_EQ(w.read("/three.txt"), "<missing>");
    EXPECT_EQ(w.paths(), QStringList({"C:\\one.txt", "C:\\two.txt", "", "", ""}));
    EXPECT_EQ(w.window->results()->cellText(2, 3), "9999999999");
    EXPECT_EQ(w.window->lblCount->text(), "2");
    EXPECT_EQ(w.window->lblBytes->text(), "10");
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning2", "TheCopy"), "n");

    // Answering No to the replace question copies nothing.
    w.window->scriptedAnswer = QMessageBox::No;
    w.select("C:\\one.txt");
    w.window->cmdCopy_Click();
    w.window->txtNewNameX->setText("C:\\two.txt");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.read("/two.txt"), "third");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);
    w.window->cmdCancelCopy_Click();
    EXPECT_EQ(w.window->lblScan->text(), "Request Cancelled!");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::None);
}

TEST(frmSearch, DefaultFolderProposalAddsTheBackslash) {
    World w("win_default", "TXT");
    writeFile(w.native("/sub/x.txt"), "x");
    w.window->setStartFolder(w.root);
    w.search();
    SaveSetting(kMainAppName, "CheckWarning2", "TheCopy", "y");
    SaveSetting(kMainAppName, "CheckWarning3", "TheCopy", "C:\\target");
    w.select("C:\\sub\\x.txt");
    w.window->cmdCopy_Click();
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\target\\x.txt");
    w.window->txtDefaultDirectoryX->setText("C:\\other\\");
    w.window->chkDefaultDirectory_Click();
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\other\\x.txt");
    // A folder that does not exist: the copy fails and says why, the panel stays.
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.window->lastMessage,
              "Invalid File Name! (53)\nThe folder C:\\other\\ does not exist.");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);
}

TEST(frmSearch, DeleteSendsTheFileToTheTrash) {
    World w("win_trash", "TXT");
    // The home trash lives in the (test mode's) data folder, which must exist.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(QDir().mkpath(data));
    writeFile(w.native("/gone soon.txt"), "bye");
    writeFile(w.native("/stays.txt"), "hi");
    w.window->setStartFolder(w.root);
    w.search();
    w.select("C:\\gone soon.txt");
    w.window->cmdDelete_Click();
    EXPECT_EQ(w.window->lblScan->text(), "Delete Request for C:\\gone soon.txt");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::Delete);
    // The grid holds still while the panel asks: a click on another row does not take it.
    w.select("C:\\stays.txt");
    EXPECT_EQ(w.window->txtAction->text(), "C:\\gone soon.txt");
    w.window->cmdOK_Click();
    EXPECT_EQ(w.window->lblScan->text(), "C:\\gone soon.txt ** Deleted **");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::None);
    EXPECT_EQ(w.read("/gone soon.txt"), "<missing>");
    const QString trash = data + "/Trash";
    QFile trashed(trash + "/files/gone soon.txt");
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly));
    EXPECT_EQ(trashed.readAll(), "bye");
    QFile info(trash + "/info/gone soon.txt.trashinfo");
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QByteArray record = info.readAll();
    EXPECT_TRUE(record.contains("\nPath=" + QFile::encodeName(w.root).replace(" ", "%20") +
                                "/gone%20soon.txt\n"))
        << record.constData();
    EXPECT_EQ(w.paths(), QStringList({"C:\\stays.txt", "", ""}));
    EXPECT_EQ(w.window->lblCount->text(), "1"); // the totals follow the rows
    EXPECT_EQ(w.window->lblBytes->text(), "2");
}

TEST(frmSearch, MenuRulesFollowTheFilesOwnExtensionAndViewAsksOverTheLimit) {
    World w("win_menu", "JPG GZ TXT");
    writeFile(w.native("/PHOTO.Jpg"), "not really a picture");
    writeFile(w.native("/ARCHIVE.TAR.GZ"), "z");
    writeFile(w.native("/big.txt"), QByteArray(100001, 'b'));
    writeFile(w.native("/exact.txt"), QByteArray(100000, 'e'));
    w.window->setStartFolder(w.root);
    w.search();

    w.select("C:\\PHOTO.Jpg");
    EXPECT_EQ(w.window->SelectedFile, "JPG");
    EXPECT_TRUE(w.window->cmdImage->isEnabled());
    EXPECT_FALSE(w.window->cmdPlay->isEnabled());
    // A file Qt cannot read as a picture says so in the status line.
    w.window->cmdImage_Click();
    EXPECT_TRUE(w.window->lblScan->text().startsWith("Cannot show C:\\PHOTO.Jpg as a picture: "))
        << w.window->lblScan->text().toStdString();

    w.select("C:\\ARCHIVE.TAR.GZ");
    EXPECT_EQ(w.window->SelectedFile, "GZ");
    EXPECT_FALSE(w.window->cmdImage->isEnabled());

    // Enter on the current row selects it as a click does.
    w.window->MSFlexGrid1->setCurrentIndex(w.window->results()->index(w.rowOf("C:\\big.txt"), 0));
    QTest::keyClick(w.window->MSFlexGrid1, Qt::Key_Return);
    EXPECT_EQ(w.window->txtAction->text(), "C:\\big.txt");
    w.window->scriptedAnswer = QMessageBox::No; // one byte over: asked, and No views nothing
    w.window->cmdView_Click();
    EXPECT_EQ(w.window->lblScan->text(), "C:\\big.txt");

    w.select("C:\\exact.txt"); // exactly 100,000 bytes: viewed without a question
    w.window->cmdView_Click();
    EXPECT_TRUE(w.window->lblScan->text().contains("pelusa C:\\exact.txt"))
        << w.window->lblScan->text().toStdString();
}
