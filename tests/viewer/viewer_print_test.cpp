// Printing the whole file or the selection, checked through the PDF's text.

#include "support/test_env.h"
#include "viewer/byte_view.h"
#include "viewer_test_window.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using orvanex::viewer::test::TestWindow;

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QString fixture(QByteArray bytes) {
    const QString path = orvanex::test::freshDir(QStringLiteral("print")) + "/doc.txt";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST(ViewerPrint, PrintFilePrintsEveryLineOverSeveralPages) {
    QByteArray text;
    for (int i = 0; i < 200; ++i)
        text += "Row number " + QByteArray::number(i) + " of the printout\r\n";
    TestWindow w;
    w.Form_Load(fixture(text));
    w.pdfPath = orvanex::test::freshDir(QStringLiteral("pdf")) + "/all.pdf";
    w.mnuPrint_Click();
    EXPECT_FALSE(w.lastSelectionPreset);
    const QString out = pdfText(w.pdfPath);
    for (int i : {0, 1, 99, 150, 199})
        EXPECT_TRUE(out.contains(QStringLiteral("Row number %1 of the printout").arg(i))) << i;
    EXPECT_GT(pdfPages(w.pdfPath), 2);
    EXPECT_TRUE(w.messages.isEmpty());
}

TEST(ViewerPrint, WithASelectionOnlyTheSelectionIsPrinted) {
    TestWindow w;
    w.Form_Load(fixture("first line stays out\nsecond keeps\nthird\nfourth stays out\n"));
    w.rtfText()->setSelection(28, 13); // "keeps\nthird\nf"
    w.pdfPath = orvanex::test::freshDir(QStringLiteral("pdf")) + "/sel.pdf";
    w.mnuSelected_Click();
    EXPECT_TRUE(w.lastSelectionPreset);
    const QString out = pdfText(w.pdfPath);
    EXPECT_TRUE(out.contains(QStringLiteral("keeps"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("third")));
    EXPECT_FALSE(out.contains(QStringLiteral("second")));
    EXPECT_FALSE(out.contains(QStringLiteral("first")));
    EXPECT_FALSE(out.contains(QStringLiteral("stays")));
    EXPECT_EQ(pdfPages(w.pdfPath), 1);

    // Print File also prints only the selection when there is one.
    w.pdfPath = orvanex::test::freshDir(QStringLiteral("pdf")) + "/sel2.pdf";
    w.mnuPrint_Click();
    EXPECT_FALSE(pdfText(w.pdfPath).contains(QStringLiteral("first")));
}

TEST(ViewerPrint, CancelPrintsNothing) {
    TestWindow w;
    w.Form_Load(fixture("text"));
    w.mnuPrint_Click(); // no PDF path: the dialog is cancelled
    EXPECT_TRUE(w.messages.isEmpty());
}
