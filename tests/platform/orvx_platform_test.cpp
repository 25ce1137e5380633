// The orvx commands icons, icon, exetype and version, run as a user or script runs them.

#include "fixture_images.h"
#include "pe_fixtures.h"
#include "support/test_env.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace orvanex;

namespace {

QString orvx() {
    return qEnvironmentVariable("ORVANEX_BINARY_DIR") + "/bin/orvx";
}

int run(const QStringList& args, QString* output) {
    return test::runProgram(orvx(), args, test::tempRoot(), output);
}

} // namespace

TEST(OrvxPlatform, CommandsOnABuiltLibrary) {
    const QString dir = test::freshDir("orvx");
    QString errors;
    const QMap<QString, QString> files = test::buildFixtureSet(dir, &errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.toStdString();
    QString out;

    EXPECT_EQ(run({"icons", files["pe64.dll"]}, &out), 0);
    EXPECT_EQ(out, "7\n");

    EXPECT_EQ(run({"icon", files["pe64.dll"], "2", dir + "/mono.png"}, &out), 0);
    const QImage icon(dir + "/mono.png");
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixelColor(20, 20), QColor(255, 0, 255));
    EXPECT_EQ(icon.pixelColor(2, 2).alpha(), 0);

    EXPECT_EQ(run({"exetype", files["pe32gui.exe"]}, &out), 0);
    EXPECT_EQ(out, "PE 4.00 0x04004550\n");
    EXPECT_EQ(run({"exetype", files["pe64con.exe"]}, &out), 0);
    EXPECT_EQ(out, "PE 0x00004550\n");
    EXPECT_EQ(run({"exetype", dir + "/icons.rc"}, &out), 0);
    EXPECT_EQ(out, "none 0x00000000\n");

    EXPECT_EQ(run({"version", files["pe32.dll"]}, &out), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QString::fromUtf8("CompanyName: \u00d8rvik \u00a9 M\u00fcller"));
    EXPECT_EQ(lines[5], "OriginalFilename: fixture.dll");
}

TEST(OrvxPlatform, ErrorsAreReported) {
    const QString dir = test::freshDir("orvx-bad");
    const QString ico = dir + "/one.ico";
    test::writeFile(ico, test::makeIco({test::image(32, 32, 8, Qt::red)}));
    QString out;
    EXPECT_EQ(run({"icons", ico}, &out), 0);
    EXPECT_EQ(out, "1\n");
    EXPECT_EQ(run({"icon", ico, "1", dir + "/x.png"}, &out), 1);
    EXPECT_TRUE(out.contains("has no icon 1")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(dir + "/x.png"));
    EXPECT_EQ(run({"icon", ico, "first", dir + "/x.png"}, &out), 1);
    EXPECT_EQ(run({"icon", ico, "0", dir + "/no/such/dir/x.png"}, &out), 1);
    EXPECT_TRUE(out.contains("cannot write")) << out.toStdString();
    EXPECT_EQ(run({"icons", dir + "/missing.dll"}, &out), 1);
    EXPECT_TRUE(out.contains("cannot read")) << out.toStdString();
    EXPECT_EQ(run({"version"}, &out), 1);
    EXPECT_TRUE(out.contains("usage: orvx version FILE")) << out.toStdString();
}
