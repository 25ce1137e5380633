// The viewer window: command line, fonts, the search commands, copy and the view itself.

#include "settings/settings_store.h"
#include "support/test_env.h"
#include "viewer/byte_view.h"
#include "viewer_test_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::viewer;
using orvanex::viewer::test::TestWindow;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = orvanex::test::freshDir(QStringLiteral("view")) + u'/' + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QString font(int n) {
    return GetSetting(QString::fromLatin1(kViewerAppName), QStringLiteral("CheckFonts%1").arg(n),
                      QStringLiteral("TheFonts"), QStringLiteral("<none>"));
}

void clearViewerSettings() {
    for (int n = 1; n <= 4; ++n)
        DeleteSetting(QString::fromLatin1(kViewerAppName), QStringLiteral("CheckFonts%1").arg(n));
}

const char kText[] = "The cat sat.\nConcatenate CAT and cat_ and Cat!\nend cat";

} // namespace

TEST(ViewerWindow, CommandLineIsJoinedNotUnquoted) {
    const char* argv[] = {"pelusa", "/tmp/a", "b c.txt"};
    EXPECT_EQ(commandLineOf(3, argv), QStringLiteral("/tmp/a b c.txt"));
    const char* quoted[] = {"pelusa", "\"/tmp/x y.txt\""};
    EXPECT_EQ(commandLineOf(2, quoted), QStringLiteral("\"/tmp/x y.txt\""));
    EXPECT_EQ(commandLineOf(1, argv), QString());
}

TEST(ViewerWindow, PathWithSpacesOpensUnchanged) {
    const QString path = writeFile(QStringLiteral("with  two spaces .txt"), "hello");
    TestWindow w;
    w.Form_Load(path);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + path);
    EXPECT_TRUE(w.messages.isEmpty());
    EXPECT_EQ(w.rtfText()->document().size(), 5);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblDisplay"))->text(), path);
}

TEST(ViewerWindow, QuotedPathIsNotUnquotedAndAFailureIsReported) {
    const QString path = writeFile(QStringLiteral("plain.txt"), "hello");
    const QString quoted = u'"' + path + u'"';
    TestWindow w;
    w.Form_Load(quoted);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + quoted);
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(quoted)) << w.messages[0].toStdString();
    EXPECT_TRUE(w.messages[0].contains(QStringLiteral("does not exist")));
    EXPECT_EQ(w.rtfText()->document().size(), 0);
}

TEST(ViewerWindow, EmptyOrBlankCommandLineShowsNothingAndReadsNoSettings) {
    for (const QString& cmd : {QString(), QStringLiteral(" ")}) {
        clearViewerSettings();
        TestWindow w;
        w.Form_Load(cmd);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + cmd);
        EXPECT_EQ(w.rtfText()->document().size(), 0);
        EXPECT_TRUE(w.messages.isEmpty());
        EXPECT_EQ(w.rtfText()->font().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_DOUBLE_EQ(w.rtfText()->font().pointSizeF(), 8.5);
        EXPECT_EQ(font(1), QStringLiteral("<none>"));
    }
}

TEST(ViewerWindow, FirstRunCreatesTheFontSettings) {
    clearViewerSettings();
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("f.txt"), "x"));
    EXPECT_EQ(font(1), QStringLiteral("Arial"));
    EXPECT_EQ(font(2), QStringLiteral("True"));
    EXPECT_EQ(font(3), QStringLiteral("False"));
    EXPECT_EQ(font(4), QStringLiteral("10"));
    const QFont f = w.rtfText()->font();
    EXPECT_EQ(f.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(f.italic());
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 10.0);
}

TEST(ViewerWindow, MenusCarryTheirNamesAndCaptions) {
    TestWindow w;
    const std::pair<const char*, const char*> items[] = {
        {"mnuSelected", "Print &Selected Text Only"},
        {"mnuPrint", "&Print File"},
        {"mnuExit", "&Exit PELUSA"},
        {"mnuCopy", "&Copy"},
        {"munFonts", "F&onts"},
        {"mnuSelectAll", "&Select All"},
        {"mnuHigh", "Find &All "},
        {"mnuFind", "Find &Whole Word"},
        {"mnuCase", "&Find "},
        {"MnuNext", "  Find &Next"}};
    for (const auto& [name, caption] : items) {
        const auto* a = w.findChild<QAction*>(QLatin1String(name));
        ASSERT_TRUE(a) << name;
        EXPECT_EQ(a->text(), QLatin1String(caption));
    }
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("   &File"), QStringLiteral("    &Edit"),
                                  QStringLiteral("   &Search")}));
    for (const char* sep : {"mnu79", "mnu34", "mnu1", "mnuSA", "mnu912", "mnu2"})
        EXPECT_TRUE(w.findChild<QAction*>(QLatin1String(sep))->isSeparator()) << sep;
}

TEST(ViewerWindow, FindSelectsTheFirstMatchIgnoringCase) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    w.answers = {QStringLiteral("CAT")};
    w.mnuCase_Click();
    EXPECT_EQ(w.prompts, QStringList{QStringLiteral("PELUSA Find Text String|Enter Text String")});
    EXPECT_EQ(w.SearchKind(), QStringLiteral("c"));
    EXPECT_EQ(w.FoundPos(), 4);
    EXPECT_EQ(w.rtfText()->selStart(), 4);
    EXPECT_EQ(w.rtfText()->selLength(), 3);
    EXPECT_TRUE(w.messages.isEmpty());

    w.MnuNext_Click(); // inside "Concatenate"
    EXPECT_EQ(w.FoundPos(), 16);
    w.answers = {QStringLiteral("dog")};
    w.mnuCase_Click();
    EXPECT_EQ(w.FoundPos(), -1);
    EXPECT_EQ(w.messages, QStringList{QStringLiteral("Text not found.")});
}

TEST(ViewerWindow, WholeWordSkipsPartsOfWordsAndFindNextKeepsTheOption) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    w.answers = {QStringLiteral("cat")};
    w.mnuFind_Click();
    EXPECT_EQ(w.prompts.last(),
              QStringLiteral("PELUSA Find Whole Word Text String|Enter Whole Word Text String"));
    EXPECT_EQ(w.SearchKind(), QStringLiteral("w"));
    EXPECT_EQ(w.FoundPos(), 4);
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), 25); // "CAT"; "Concatenate" and "cat_" are no whole words
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), 42); // "Cat!"
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), 51);
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), -1);
    EXPECT_EQ(w.messages, QStringList{QStringLiteral("End Of File")});
    EXPECT_EQ(w.rtfText()->selStart(), 51); // the last match stays selected
}

TEST(ViewerWindow, FindAllMarksFromTheVeryStartAndLeavesFoundPosAndSelection) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), "cat at start, cat, CAT\nxcatx"));
    w.answers = {QStringLiteral("Cat"), QStringLiteral("cat")};
    w.mnuFind_Click(); // FoundPos 0
    w.MnuNext_Click(); // FoundPos 14
    w.rtfText()->setSelection(3, 4);
    w.mnuHigh_Click();
    EXPECT_EQ(w.prompts.last(),
              QStringLiteral("PELUSA Find Text String And HighLight Red|Enter Text String"));
    EXPECT_EQ(w.SearchKind(), QStringLiteral("h"));
    EXPECT_EQ(w.FoundPos(), 14);
    EXPECT_EQ(w.rtfText()->selStart(), 3);
    EXPECT_EQ(w.rtfText()->selLength(), 4);
    EXPECT_EQ(w.rtfText()->marks().ranges(),
              (std::vector<ByteRange>{{0, 3}, {14, 3}, {19, 3}, {24, 3}}));
    EXPECT_EQ(w.rtfText()->markColour(), QColor(255, 0, 0));
    EXPECT_TRUE(w.messages.isEmpty());

    // Find Next goes on after the last match of Find Whole Word, searching without the option.
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), 19);
    w.answers = {QStringLiteral("nothing here")};
    w.mnuHigh_Click();
    EXPECT_TRUE(w.messages.isEmpty());
    EXPECT_EQ(w.rtfText()->marks().ranges().size(), 4u);
}

TEST(ViewerWindow, FindNextAfterAFailedSearchStartsAtLengthMinusOne) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), "abcabc"));
    w.answers = {QStringLiteral("zz")};
    w.mnuCase_Click();
    ASSERT_EQ(w.FoundPos(), -1);
    w.MnuNext_Click(); // from 1: nothing
    EXPECT_EQ(w.FoundPos(), -1);
    w.answers = {QStringLiteral("bc")};
    w.mnuCase_Click();
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), 4);
    w.MnuNext_Click();
    EXPECT_EQ(w.FoundPos(), -1);
    w.MnuNext_Click(); // again from length minus one: finds the first "bc"
    EXPECT_EQ(w.FoundPos(), 1);
    EXPECT_EQ(w.messages,
              (QStringList{QStringLiteral("Text not found."), QStringLiteral("End Of File"),
                           QStringLiteral("End Of File")}));
}

TEST(ViewerWindow, CancelledSearchChangesNothing) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    w.answers = {QStringLiteral("sat")};
    w.mnuCase_Click();
    w.answers = {QString()};
    w.mnuHigh_Click();
    w.answers = {QString()};
    w.mnuFind_Click();
    EXPECT_EQ(w.SearchKind(), QStringLiteral("c"));
    EXPECT_EQ(w.SearchText(), QStringLiteral("sat"));
    EXPECT_EQ(w.FoundPos(), 8);
    EXPECT_TRUE(w.rtfText()->marks().ranges().empty());
    EXPECT_TRUE(w.messages.isEmpty());

    TestWindow fresh; // Find Next before any search does nothing
    fresh.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    fresh.MnuNext_Click();
    EXPECT_TRUE(fresh.messages.isEmpty());
}

TEST(ViewerWindow, TheRealInputBoxAsksAndItsCancelDoesNothing) {
    frmViewX w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        title = dlg->windowTitle();
        dlg->setTextValue(QStringLiteral("SAT"));
        dlg->accept();
    });
    w.mnuCase_Click();
    EXPECT_EQ(title, QStringLiteral("PELUSA Find Text String"));
    EXPECT_EQ(w.FoundPos(), 8);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    w.mnuFind_Click();
    EXPECT_EQ(w.SearchKind(), QStringLiteral("c"));
}

TEST(ViewerWindow, CopyAndSelectAllGiveUnicodeText) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("b.bin"), QByteArray("A\0\x80\xe9\r\nz", 7)));
    w.mnuSelectAll_Click();
    EXPECT_EQ(w.rtfText()->selLength(), 7);
    w.mnuCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("A\u2400\u20ac\u00e9\r\nz"));
}

TEST(ViewerWindow, FontsAreChosenAppliedAndStored) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    w.onFont = [](QFont& f) {
        // Preset from the settings, as the family that draws it.
        EXPECT_EQ(f.family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
        EXPECT_TRUE(f.bold());
        f = QFont(QStringLiteral("Liberation Serif"));
        f.setItalic(true);
        f.setBold(false);
        f.setPointSizeF(10.5);
        return true;
    };
    w.munFonts_Click();
    EXPECT_EQ(w.rtfText()->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(font(1), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(font(2), QStringLiteral("False"));
    EXPECT_EQ(font(3), QStringLiteral("True"));
    EXPECT_EQ(font(4), QStringLiteral("10.5"));

    w.onFont = nullptr; // Cancel
    w.munFonts_Click();
    EXPECT_EQ(font(1), QStringLiteral("Liberation Serif"));
    clearViewerSettings();
}

TEST(ViewerWindow, TheFontDialogOpensOnTheCurrentFontAndOkAloneChangesNothing) {
    TestWindow w;
    w.Form_Load(writeFile(QStringLiteral("t.txt"), kText));
    const QFont before = w.rtfText()->font();
    QFont offered;
    w.onFont = [&](QFont& f) {
        offered = f;
        return true; // OK without a change
    };
    w.munFonts_Click();
    EXPECT_EQ(font(1), QStringLiteral("Arial"));
    EXPECT_EQ(font(2), QStringLiteral("True"));
    EXPECT_EQ(font(3), QStringLiteral("False"));
    EXPECT_EQ(font(4), QStringLiteral("10"));
    EXPECT_EQ(w.rtfText()->font(), before);

    // The real dialog shows the offered font as its current one, bold included.
    QFontDialog dialog;
    dialog.setCurrentFont(offered);
    EXPECT_EQ(dialog.currentFont().family(), offered.family());
    EXPECT_TRUE(dialog.currentFont().bold());
    EXPECT_FALSE(dialog.currentFont().italic());
    EXPECT_DOUBLE_EQ(dialog.currentFont().pointSizeF(), 10.0);
    clearViewerSettings();
}

TEST(ViewerWindow, AFileShortenedWhileShownIsReportedNotACrash) {
    TestWindow w;
    QByteArray text;
    for (int i = 0; i < 200000; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    const QString path = writeFile(QStringLiteral("shrinks.txt"), text);
    w.Form_Load(path);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QFile::resize(path, 100));
    w.answers = {QStringLiteral("line 199999")};
    w.mnuHigh_Click(); // Find All reads every byte
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.messages.isEmpty(); }, 60000));
    EXPECT_TRUE(w.messages[0].contains(QLatin1String("was shortened while shown")))
        << w.messages[0].toStdString();
    EXPECT_TRUE(w.rtfText()->marks().ranges().empty());
    // Reported once, however much more is read.
    w.rtfText()->selectAll();
    w.rtfText()->scrollToSelection();
    QApplication::processEvents();
    EXPECT_EQ(w.messages.size(), 1);
    w.close();
}

TEST(ViewerWindow, PositionIsSavedOnClose) {
    DeleteSetting(QString::fromLatin1(kViewerAppName), QStringLiteral("FormPosition"));
    TestWindow w;
    w.Form_Load(QString());
    w.show();
    w.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(w.isVisible());
    const QString pos = GetSetting(QString::fromLatin1(kViewerAppName),
                                   QStringLiteral("FormPosition"), QStringLiteral("frmView"));
    EXPECT_EQ(pos.count(u','), 3) << pos.toStdString();
}

TEST(ByteViewWidget, ControlBytesAreDrawnAsBoxes) {
    // The same text with NULs and with blanks: only the NULs leave ink between "A" and "B".
    auto inkBetween = [](const QByteArray& bytes) {
        ByteView v;
        v.resize(300, 100);
        v.setBytes(bytes);
        const QImage img = v.viewport()->grab().toImage();
        const Row row = v.layout().rowAt(0);
        const int x0 = int(3 + v.layout().xOf(row, 1)) + 1;
        const int x1 = int(3 + v.layout().xOf(row, 4)) - 1;
        int ink = 0;
        for (int y = 0; y < int(v.layout().lineHeight()); ++y)
            for (int x = x0; x < x1; ++x)
                ink += qGray(img.pixel(x, y)) < 128;
        return ink;
    };
    EXPECT_GT(inkBetween(QByteArray("A\0\x01\x7f"
                                    "B",
                                    5)),
              6);
    EXPECT_EQ(inkBetween(QByteArray("A   B")), 0);
}

TEST(ByteViewWidget, MarksAreDrawnInTheirColour) {
    auto redPixels = [](bool marked) {
        ByteView v;
        v.resize(300, 60);
        v.setBytes("find the needle here");
        if (marked)
            v.addMarks({{9, 6}});
        const QImage img = v.viewport()->grab().toImage();
        int red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                red += c.red() > 160 && c.green() < 90 && c.blue() < 90;
            }
        return red;
    };
    EXPECT_EQ(redPixels(false), 0);
    EXPECT_GT(redPixels(true), 10);
}

TEST(ByteViewWidget, KeyboardAndMouseSelectAndScroll) {
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    ByteView v;
    v.resize(300, 200);
    v.setBytes(text);
    v.show();
    // The idle-time index and the scroll range, however long the machine takes for them.
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.isSettled(); }, 60000));
    QTest::keyClick(&v, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(v.selStart(), text.size());
    EXPECT_GT(v.topPosition(), text.size() - 400);
    EXPECT_EQ(v.verticalScrollBar()->value(), v.verticalScrollBar()->maximum());
    QTest::keyClick(&v, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(v.topPosition(), 0);
    QTest::keyClick(&v, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&v, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(v.selStart(), 0);
    EXPECT_EQ(v.selLength(), 8); // "line 0\n" and one byte
    QTest::keyClick(&v, Qt::Key_Left);
    EXPECT_EQ(v.selLength(), 0);
    EXPECT_EQ(v.selStart(), 7);

    // Drag over the first row's text.
    const qreal lh = v.layout().lineHeight();
    const Row first = v.layout().rowAt(0);
    const QPoint a(3, int(lh / 2));
    const QPoint b(int(3 + v.layout().xOf(first, 4)), int(lh / 2));
    QTest::mousePress(v.viewport(), Qt::LeftButton, {}, a);
    QMouseEvent move(QEvent::MouseMove, b, v.viewport()->mapToGlobal(b), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v.viewport(), &move);
    QTest::mouseRelease(v.viewport(), Qt::LeftButton, {}, b);
    EXPECT_EQ(v.selectedBytes(), QByteArray("line"));

    // One scroll step moves one row, a page step a screen's worth.
    v.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.topPosition(), 7);
    v.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(v.topPosition(), v.layout().stepRows(v.layout().rowAt(7), v.visibleRows() - 1).start);
}

TEST(ByteViewWidget, ALongLineWithoutBreaksWrapsAndScrolls) {
    ByteView v;
    v.resize(400, 300);
    v.setBytes(QByteArray(2'000'000, 'w'));
    v.show();
    const Row top = v.layout().rowAt(0);
    EXPECT_GT(top.end, 10);
    EXPECT_LT(top.end, 200);
    v.verticalScrollBar()->setValue(1'000'000); // drag to the middle
    const qint64 mid = v.topPosition();
    EXPECT_LE(mid, 1'000'000);
    EXPECT_GT(mid, 1'000'000 - 200);
    EXPECT_EQ(v.layout().rowAt(mid).start, mid);
    v.setSelection(1'999'990, 5);
    v.scrollToSelection();
    EXPECT_GT(v.topPosition(), 1'990'000);
}
