// The search window's embedded-text scan, its sorts of a large grid, right-click help and the
// folder list's single click, driven offscreen on trees built by the test.

#include "search/frm_search.h"
#include "search/search_help.h"
#include "search_trees.h"
#include "search_window_world.h"
#include "support/test_env.h"

#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

struct World : test::SearchWindowWorld {
    using SearchWindowWorld::SearchWindowWorld;
    // The marked rows' paths, in grid order.
    QStringList marked() const {
        QStringList out;
        SearchResultsModel* m = window->results();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->data(m->index(r, 0), Qt::ForegroundRole).value<QColor>() == QColor(Qt::red))
                out << m->cellText(r, 0);
        return out;
    }
    void scanFor(const QString& text) {
        QSignalSpy done(window.get(), &frmSearch::textScanFinished);
        window->scriptedText = text;
        window->cmdFindText_Click();
        ASSERT_TRUE(window->scanningText());
        ASSERT_TRUE(done.wait(20000));
    }
};

} // namespace

TEST(frmSearchText, MarksExactlyTheFilesHoldingTheTextInAnyCase) {
    World w("text_marks", "TXT LOG");
    const qsizetype edge = 1 << 18; // the scan's block size: a match across it
    QByteArray across(edge + 10, 'x');
    across.replace(edge - 3, 6, "NeEdLe");
    w.write("/across.txt", across);
    w.write("/upper.log", "some NEEDLE here");
    w.write("/almost.txt", "needl e and eedle");
    w.write("/empty.txt", "");
    w.write("/sub dir/deep.txt", "a \xC9needle\xC9 in Windows-1252");
    w.write("/tail.txt", QByteArray(edge - 4, 'y') + "need"); // only a part at the very end
    w.search();

    // An empty answer or one blank starts nothing, and says why.
    for (const QString& none : {QString(), QStringLiteral(" ")}) {
        w.window->scriptedText = none;
        w.window->cmdFindText_Click();
        EXPECT_FALSE(w.window->scanningText());
        EXPECT_EQ(w.window->lblScan->text(), "A text to find is needed: nothing was searched.");
    }
    // Sorted first, so that the first grid row holds a file that matches.
    w.window->MSFlexGrid1_HeaderClick(0);
    w.scanFor("needle");
    EXPECT_EQ(w.marked(),
              QStringList({"C:\\upper.log", "C:\\sub dir\\deep.txt", "C:\\across.txt"}));
    // Name and size go red, nothing else does.
    SearchResultsModel* m = w.window->results();
    int row = 0;
    while (row < m->rowCount() && m->cellText(row, 0) != "C:\\across.txt")
        ++row;
    EXPECT_EQ(m->data(m->index(row, 1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(m->data(m->index(row, 2), Qt::ForegroundRole).isValid());
    EXPECT_EQ(w.window->lblScan->text(), "Embedded Text Search Finished!");
    EXPECT_EQ(w.window->cmdCancelSearch->text(), "&Exit");
    EXPECT_EQ(w.window->cmdCancelSearch->toolTip(), "Exit the Search Request!");

    // A second scan keeps the marks of the first; the marks follow their rows through a sort.
    w.scanFor("ALMOST NOTHING");
    w.window->MSFlexGrid1_HeaderClick(0);
    EXPECT_EQ(w.marked(),
              QStringList({"C:\\across.txt", "C:\\sub dir\\deep.txt", "C:\\upper.log"}));
    w.scanFor("eedl");
    EXPECT_EQ(w.marked().size(), 4);
    EXPECT_TRUE(w.marked().contains("C:\\almost.txt"));
}

TEST(frmSearchText, StopEndsTheScanInsideALongFile) {
    World w("text_stop", "TXT");
    // A sparse file far longer than the scan could read before Stop, then a file that matches.
    const QByteArray big = w.native("/a_big.txt");
    ASSERT_TRUE(test::makeFile(big));
    ASSERT_EQ(::truncate(big.constData(), off_t(8) << 30), 0);
    w.write("/b_match.txt", "needle");
    w.search();
    QSignalSpy done(w.window.get(), &frmSearch::textScanFinished);
    w.window->scriptedText = QStringLiteral("needle");
    w.window->cmdFindText_Click();
    EXPECT_EQ(w.window->cmdCancelSearch->text(), "&Stop");
    EXPECT_EQ(w.window->cmdCancelSearch->toolTip(), "Stop the Run...");
    // While the scan runs no operation starts and no sort moves the rows.
    w.window->MSFlexGrid1_Select(w.window->results()->index(1, 0));
    EXPECT_EQ(w.window->txtAction->text(), "");
    w.window->MSFlexGrid1_HeaderClick(0);
    EXPECT_EQ(w.window->results()->cellText(1, 0), "C:\\a_big.txt");
    // Held until the window shows the scan inside the big file, so that Stop comes there.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return w.window->lblScan->text() == "C:\\a_big.txt"; }, 20000));
    w.window->cmdCancelSearch_Click();
    ASSERT_TRUE(done.wait(20000));
    EXPECT_TRUE(w.marked().isEmpty());
    EXPECT_TRUE(w.window->isVisible()); // Stop does not close the window
    EXPECT_EQ(w.window->lblScan->text(),
              "Embedded Text Search Stopped at file 1 of 2 (C:\\a_big.txt), 0 marked.");
    EXPECT_EQ(w.window->cmdCancelSearch->text(), "&Exit");
}

TEST(frmSearchSort, TwoQuickClicksOnALargeGridSortOnAThreadAndToggle) {
    World w("sort_large", "TXT");
    SearchResultsModel* model = w.window->results();
    model->setRoots({{u'C', "/data", QStringLiteral("C:\\")}});
    const int total = 60000;
    QList<ResultRow> rows;
    for (int i = 0; i < total; ++i) {
        ResultRow row;
        row.root = 0;
        // Names that tie for long stretches, some equal, in an order unlike the sorted one.
        const int k = (i * 7919) % total;
        const int j = k % 20000; // each name three times
        row.native = "/data/folder" + QByteArray::number(j % 37) + "/file" +
                     QByteArray::number(j / 3) + (j % 2 ? ".txt" : ".TXT");
        row.size = k % 1500;
        row.sequence = i + 1;
        rows.append(row);
    }
    model->appendRows(rows);
    ASSERT_GE(model->rowCount(), w.window->sortOnThreadRows);
    w.window->MSFlexGrid1->setCurrentIndex(model->index(500, 0));

    QSignalSpy sorted(w.window.get(), &frmSearch::sortFinished);
    w.window->MSFlexGrid1_HeaderClick(0); // descending first
    EXPECT_TRUE(w.window->sorting());
    w.window->MSFlexGrid1_HeaderClick(0); // while the first runs: taken after it
    ASSERT_TRUE(QTest::qWaitFor([&] { return sorted.size() == 2; }, 30000));
    EXPECT_FALSE(w.window->sorting());
    auto column = [&](int c) {
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->cellText(r, c);
        return out;
    };
    const QStringList names = column(0);
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    expected.append(expected.takeFirst()); // the window's empty first row stays below the data
    EXPECT_EQ(names, expected);
    // Equal names keep the order they had (here: the order they were found in).
    for (int r = 1; r < model->rowCount() - 1; ++r) {
        if (names[r] == names[r - 1]) {
            ASSERT_LT(model->cellText(r - 1, 3).toInt(), model->cellText(r, 3).toInt()) << r;
        }
    }
    EXPECT_EQ(w.window->MSFlexGrid1->currentIndex().row(), 0);

    w.window->MSFlexGrid1_HeaderClick(1); // sizes descending, by their number
    ASSERT_TRUE(sorted.wait(30000));
    QStringList sizes = column(1);
    std::vector<qint64> numbers;
    for (qsizetype r = 0; r + 1 < sizes.size(); ++r)
        numbers.push_back(QString(sizes[r]).remove(u',').toLongLong());
    EXPECT_TRUE(std::is_sorted(numbers.rbegin(), numbers.rend()));
    EXPECT_EQ(numbers.front(), *std::max_element(numbers.begin(), numbers.end()));
    EXPECT_EQ(sizes[sizes.size() - 2], "0");
    EXPECT_EQ(sizes.back(), ""); // the window's empty first row
}

TEST(frmSearchHelp, RightClickOnALabelShowsItsTopic) {
    World w("help_search", "TXT");
    SearchHelp* help = w.window->help;
    ASSERT_NE(help, nullptr);
    for (const QString& name : searchHelpControlNames()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_NE(w.window->findChild<QWidget*>(name), nullptr);
        QFile topic(QCoreApplication::applicationDirPath() + "/help/" + searchHelpTopicOf(name));
        ASSERT_TRUE(topic.open(QIODevice::ReadOnly));
        EXPECT_TRUE(topic.readAll().contains("<h1>"));
    }
    // The button goes down and up on the control (shown or on a hidden panel).
    auto rightClick = [&](const char* name, bool choose) {
        QWidget* control = w.window->findChild<QWidget*>(name);
        QTimer::singleShot(0, [help, choose, control] {
            EXPECT_EQ(help->HelpControl, control); // remembered while the menu is open
            if (choose)
                help->mnuWhatsThisHelp->trigger();
            help->mnuWhatsThis->close();
        });
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(
                type, QPointF(2, 2), control->mapToGlobal(QPointF(2, 2)), Qt::RightButton,
                type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(control, &event);
        }
        EXPECT_EQ(help->HelpControl, nullptr); // and forgotten when it closes
    };
    QTest::mouseClick(w.window->findChild<QWidget*>("lblType"), Qt::LeftButton);
    rightClick("lblStartDirSearch", false);
    EXPECT_EQ(help->topicWindow(), nullptr);

    rightClick("lblSearchPicture", true);
    ASSERT_NE(help->topicWindow(), nullptr);
    EXPECT_TRUE(help->topicWindow()->isVisible());
    EXPECT_TRUE(help->topicWindow()->source().toLocalFile().endsWith("/search-extensions.html"));
    rightClick("CheckWarning", true);
    EXPECT_TRUE(help->topicWindow()->toPlainText().contains("replace"));
    EXPECT_TRUE(searchHelpTopicOf("txtPattern").isEmpty());
}

TEST(frmSearchFolders, ASingleClickChoosesTheFolderWhenTheListIsLeft) {
    World w("folder_click", "TXT");
    ASSERT_TRUE(test::makeFolder(w.native("/one")));
    ASSERT_TRUE(test::makeFolder(w.native("/two words")));
    w.write("/two words/x.txt", "x");
    w.window->setStartFolder(w.root);
    w.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
    QListWidget* list = w.window->DirList3;
    const QList<QListWidgetItem*> items = list->findItems("two words", Qt::MatchEndsWith);
    ASSERT_EQ(items.size(), 1);

    list->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items[0]).center());
    EXPECT_EQ(w.window->txtDefaultDirectory->text(),
              "C:\\");                                      // a single click alone changes nothing
    w.window->cmdSearchStart->setFocus(Qt::TabFocusReason); // leaving the list chooses it
    EXPECT_EQ(w.window->txtDefaultDirectory->text(), "C:\\two words\\");
    EXPECT_EQ(w.window->txtDefaultDirectoryX->text(), "C:\\two words\\");

    // After a search the folder list no longer moves the folder texts.
    QSignalSpy done(w.window.get(), &frmSearch::searchFinished);
    w.window->cmdSearchStart_Click();
    ASSERT_TRUE(done.wait(20000));
    EXPECT_EQ(w.window->results()->cellText(1, 0), "C:\\two words\\x.txt");
    list->setFocus(Qt::MouseFocusReason);
    list->setCurrentRow(0);
    w.window->cmdCancelSearch->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.window->txtDefaultDirectoryX->text(), "C:\\two words\\");
}

TEST(frmSearchFolders, TheDriveBoxFollowsAFolderOnAnotherDrive) {
    World w("drive_follows", "TXT");
    const QString other = test::freshDir("drive_follows_d");
    ASSERT_TRUE(QDir().mkpath(other + "/docs/old"));
    platform::DriveMap drives = w.drives;
    drives.setDrive(u'D', other);
    drives.setDrive(u'E', w.root); // a second drive on C:'s root
    frmSearch window("TXT", "Text Document", drives, test::freshDir("drive_follows_app"));
    window.popUpMenus = false;
    QComboBox* box = window.DrvList3;
    EXPECT_EQ(box->currentText(), "c:");

    window.setStartFolder(other + "/docs/old");
    EXPECT_EQ(box->currentText(), "d:");
    EXPECT_EQ(window.txtDefaultDirectory->text(), "D:\\docs\\old\\");
    // The list runs from the drive's root down to the folder.
    ASSERT_GE(window.DirList3->count(), 3);
    EXPECT_EQ(window.DirList3->item(0)->text(), "D:\\");
    EXPECT_EQ(window.DirList3->item(2)->text().trimmed(), "old");

    window.setStartFolder(w.root); // back on C:
    EXPECT_EQ(box->currentText(), "c:");
    // A drive that holds the folder keeps it, even where another drive has the same root.
    box->setCurrentIndex(box->findText("e:"));
    window.setStartFolder(w.root);
    EXPECT_EQ(box->currentText(), "e:");
}
