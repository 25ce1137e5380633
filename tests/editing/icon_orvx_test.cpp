// orvx icon-files and icon-panel, run as a script runs them, on the default registry the test's
// own home gets.

#include "model/icon_file_writer.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

struct OrvxRun {
    int status = -1;
    QString out;
    QString err;
};

OrvxRun orvx(const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(test::tempRoot());
    // The default registry (made on first use, with its icon files) rather than the test hive.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ORVANEX_HIVE"));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("ORVANEX_BINARY_DIR") + QStringLiteral("/bin/orvx"), args);
    OrvxRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(OrvxIcons, IconFilesListsThePickersFiles) {
    const OrvxRun r = orvx({QStringLiteral("icon-files")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    const QString header = lines.first();
    EXPECT_EQ(header, QString::number(lines.size() - 1) + QString(35, u' ') +
                          " Icon files listed - Please make the desired selection!");
    EXPECT_TRUE(lines.contains("C:\\WINDOWS\\SYSTEM\\shell32.dll"));
    // Each file once, though many types name it.
    EXPECT_EQ(lines.count("C:\\WINDOWS\\SYSTEM\\shell32.dll"), 1);
}

TEST(OrvxIcons, IconPanelCountsAndDrawsSevenARow) {
    OrvxRun r =
        orvx({QStringLiteral("icon-panel"), QStringLiteral("C:\\WINDOWS\\SYSTEM\\SHELL32.DLL")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, " 40 Icons Found for C:\\WINDOWS\\SYSTEM\\SHELL32.DLL\n");

    // Ten solid icons: the picture has two rows, icon 9 in the second row's third cell.
    const QString dir = test::freshDir(QStringLiteral("orvx-icons"));
    QList<QImage> icons;
    for (int i = 0; i < 10; ++i) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(QColor(20 * i, 255 - 20 * i, 100));
        icons.append(image);
    }
    QFile lib(dir + QStringLiteral("/ten.dll"));
    ASSERT_TRUE(lib.open(QIODevice::WriteOnly));
    lib.write(model::peIconLibraryBytes(icons, true));
    lib.close();
    const QString png = dir + QStringLiteral("/panel.png");
    r = orvx({QStringLiteral("icon-panel"), lib.fileName(), QStringLiteral("--png"), png});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, " 10 Icons Found for " + lib.fileName() + "\n");
    const QImage picture(png);
    ASSERT_EQ(picture.size(), QSize(7 * 47, 2 * 47));
    EXPECT_EQ(picture.pixelColor(2 * 47 + 10, 47 + 10), QColor(180, 75, 100));
    EXPECT_EQ(picture.pixelColor(6 * 47 + 10, 10), QColor(120, 135, 100));
}

TEST(OrvxIcons, IconPanelRefusesFilesWithoutIcons) {
    OrvxRun r = orvx({QStringLiteral("icon-panel"), QStringLiteral("%1")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "No Icons Found for %1\n");
    EXPECT_TRUE(r.err.contains("not a kind of file that holds icons")) << r.err.toStdString();
    r = orvx({QStringLiteral("icon-panel"), QStringLiteral("C:\\WINDOWS\\gone.dll")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "No Icons Found for C:\\WINDOWS\\gone.dll\n");
    r = orvx({QStringLiteral("icon-panel")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("usage: orvx icon-panel FILE")) << r.err.toStdString();
}
