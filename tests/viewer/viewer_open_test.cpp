// Files the viewer cannot show (a FIFO, a device, a missing file) are refused at once, at start and
// from File > Open; without a printer, printing goes to the preview.

#include "support/test_env.h"
#include "viewer/byte_view.h"
#include "viewer_test_window.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>

using orvanex::viewer::test::TestWindow;

namespace {

QString fileWith(const QString& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir + u'/' + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QString makeFifo(const QString& dir) {
    const QString fifo = dir + QStringLiteral("/a fifo");
    return ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0 ? fifo : QString();
}

} // namespace

TEST(ViewerOpen, AFifoADeviceOrAMissingFileIsRefusedAtStartWithoutWaiting) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("refuse"));
    const QString fifo = makeFifo(dir);
    ASSERT_FALSE(fifo.isEmpty());
    const struct {
        QString path;
        const char* reason;
    } cases[] = {{fifo, "It is not a regular file."},
                 {QStringLiteral("/dev/null"), "It is not a regular file."},
                 {dir, "It is a folder, not a file."},
                 {dir + QStringLiteral("/missing.txt"), "The file does not exist."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        TestWindow w;
        // Returns at once (a blocking open of the FIFO would wait here for a writer).
        EXPECT_FALSE(w.Form_Load(c.path));
        ASSERT_EQ(w.messages.size(), 1);
        EXPECT_EQ(w.messages[0], QStringLiteral("Cannot show the file \"%1\": %2")
                                     .arg(c.path, QString::fromLatin1(c.reason)));
        EXPECT_EQ(w.rtfText()->document().size(), 0);
    }
    TestWindow shown;
    EXPECT_TRUE(shown.Form_Load(fileWith(dir, QStringLiteral("ok.txt"), "fine")));
    EXPECT_TRUE(shown.messages.isEmpty());
}

TEST(ViewerOpen, TheProgramSaysWhyAndEndsInsteadOfHanging) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("refuse-program"));
    const QString fifo = makeFifo(dir);
    ASSERT_FALSE(fifo.isEmpty());
    QProcess pelusa;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    pelusa.setProcessEnvironment(env);
    pelusa.start(QStringLiteral(PELUSA_PROGRAM), {fifo});
    ASSERT_TRUE(pelusa.waitForStarted());
    // The reason comes before the message box waits for its OK; the box is not answered here.
    const bool said = QTest::qWaitFor(
        [&] { return pelusa.readAllStandardError().contains("It is not a regular file."); }, 20000);
    pelusa.kill();
    pelusa.waitForFinished();
    EXPECT_TRUE(said);
}

TEST(ViewerOpen, FileOpenShowsAnotherFileOrKeepsTheShownOne) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("open-menu"));
    const QString first = fileWith(dir, QStringLiteral("first.txt"), "first file");
    const QString second = fileWith(dir, QStringLiteral("second.txt"), "the second one");
    const QString fifo = makeFifo(dir);
    TestWindow w;
    ASSERT_TRUE(w.Form_Load(QString())); // started without a file: a window to open one from
    w.chosenFiles = {first, fifo, second};
    w.mnuOpen_Click();
    EXPECT_EQ(w.rtfText()->document().size(), 10);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + first);
    EXPECT_EQ(w.rtfText()->font().family(), QStringLiteral("Arial")); // the settings' font

    w.answers = {QStringLiteral("file")};
    w.mnuCase_Click();
    EXPECT_EQ(w.FoundPos(), 6);
    w.mnuOpen_Click(); // the FIFO: refused, the first file stays
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].endsWith(QStringLiteral("It is not a regular file.")));
    EXPECT_EQ(w.rtfText()->document().size(), 10);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + first);
    EXPECT_EQ(w.rtfText()->selLength(), 4);

    w.mnuOpen_Click();
    EXPECT_EQ(w.rtfText()->document().size(), 14);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("PELUSA - ") + second);
    EXPECT_EQ(w.FoundPos(), 0); // the next search starts in the new file
    w.mnuOpen_Click();          // Cancel changes nothing
    EXPECT_EQ(w.rtfText()->document().size(), 14);
}

TEST(ViewerOpen, OpenFindAndFindNextHaveTheirKeys) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("keys"));
    const QString path = fileWith(dir, QStringLiteral("k.txt"), "ab ab ab");
    TestWindow w;
    ASSERT_TRUE(w.Form_Load(path));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.answers = {QStringLiteral("ab")};
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(w.prompts.size(), 1);
    EXPECT_EQ(w.prompts[0], QStringLiteral("PELUSA Find Text String|Enter Text String"));
    EXPECT_EQ(w.FoundPos(), 0);
    QTest::keyClick(&w, Qt::Key_F3);
    EXPECT_EQ(w.FoundPos(), 3);
    QTest::keyClick(&w, Qt::Key_F3);
    EXPECT_EQ(w.FoundPos(), 6);
    w.chosenFiles = {fileWith(dir, QStringLiteral("other.txt"), "other")};
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w.rtfText()->document().size(), 5);
    // File > Open comes first in the File menu.
    const QMenu* file = w.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->actions().first()->objectName(), QStringLiteral("mnuOpen"));
}

TEST(ViewerOpen, WithoutAPrinterPrintingOpensThePreview) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("preview"));
    TestWindow w;
    ASSERT_TRUE(w.Form_Load(fileWith(dir, QStringLiteral("p.txt"), "Printed through the preview")));
    w.printerPresent = false;
    w.pdfPath = dir + QStringLiteral("/never.pdf"); // the printer dialog must not be asked
    w.previewPdf = dir + QStringLiteral("/preview.pdf");
    w.mnuPrint_Click();
    EXPECT_EQ(w.previews, 1);
    EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(w.pdfPath));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {w.previewPdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("Printed through the preview"));
    w.mnuSelected_Click();
    EXPECT_EQ(w.previews, 2);
}
