// ICO files and the image decoders: every colour depth, PNG entries, the 32 x 32 choice and
// hostile image headers.

#include "fixture_images.h"
#include "pixel_checks.h"
#include "platform/icon_extract.h"
#include "platform/icon_file.h"
#include "platform/icon_image.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::platform;
using orvanex::test::hasPattern;
using orvanex::test::image;
using orvanex::test::makeIco;

namespace {

QString writeIco(const QString& name, const QByteArray& bytes) {
    const QString path = test::freshDir("ico") + "/" + name;
    test::writeFile(path, bytes);
    return path;
}

ByteView view(const QByteArray& b) {
    return ByteView(QByteArrayView(b));
}

} // namespace

TEST(IcoFile, EveryDepthDecodesWithMaskAndOrientation) {
    const QColor colour(30, 90, 200);
    for (int bits : {1, 4, 8, 16, 24, 32, 0}) {
        SCOPED_TRACE(bits);
        const QString path = writeIco("depth.ico", makeIco({image(32, 32, bits, colour)}));
        EXPECT_EQ(extractIconCount(path), 1);
        const QImage icon = extractIcon(path, 0);
        EXPECT_EQ(icon.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_TRUE(hasPattern(icon, colour, true, bits));
    }
}

TEST(IcoFile, AlphaChannelRulesOverTheMask) {
    const QString path = writeIco("alpha.ico", makeIco({image(32, 32, 32, Qt::red)}));
    const QImage icon = extractIcon(path, 0);
    EXPECT_EQ(icon.pixelColor(31, 0).alpha(), 128);
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
}

TEST(IcoFile, ThirtyTwoBitWithoutAlphaUsesTheMask) {
    // Older 32-bit images leave the alpha bytes zero and rely on the AND mask.
    QByteArray dib = test::makeImage(32, 32, 32, Qt::blue);
    for (qsizetype i = 40 + 3; i < 40 + 32 * 32 * 4; i += 4)
        dib[i] = 0;
    test::TestImage entry{32, 32, 32, Qt::blue, dib};
    const QImage icon = extractIcon(writeIco("noalpha.ico", makeIco({entry})), 0);
    EXPECT_TRUE(hasPattern(icon, Qt::blue, true, 32));
}

TEST(IcoFile, ChoosesExactSizeThenDepthThenNearestLarger) {
    const QColor low(10, 10, 10), high(0, 200, 0), near(200, 0, 0), far(0, 0, 200);
    QImage icon =
        extractIcon(writeIco("a.ico", makeIco({image(16, 16, 32, far), image(32, 32, 4, low),
                                               image(32, 32, 24, high), image(48, 48, 32, near)})),
                    0);
    EXPECT_TRUE(hasPattern(icon, high, true, 24));

    // No 32 x 32: 40 and 24 are equally near; the larger one is scaled down.
    icon = extractIcon(
        writeIco("b.ico", makeIco({image(24, 24, 32, far), image(40, 40, 32, near)})), 0);
    EXPECT_TRUE(hasPattern(icon, near, false, 32));

    icon = extractIcon(
        writeIco("c.ico", makeIco({image(256, 256, 0, far), image(16, 16, 8, near)})), 0);
    EXPECT_TRUE(hasPattern(icon, near, false, 8));
}

TEST(IcoFile, OtherSizesForHiDpi) {
    const QString path =
        writeIco("hidpi.ico", makeIco({image(32, 32, 32, Qt::red), image(64, 64, 32, Qt::green)}));
    IconFile file(path);
    EXPECT_EQ(file.icon(0, 64).size(), QSize(64, 64));
    EXPECT_EQ(file.icon(0, 64).pixelColor(40, 40), QColor(Qt::green));
    EXPECT_EQ(file.icon(0).pixelColor(20, 20), QColor(Qt::red));
    EXPECT_TRUE(file.icon(0, 0).isNull());
    EXPECT_TRUE(file.icon(0, 100000).isNull());
}

TEST(IcoFile, DamagedImageGivesWayToTheNextBest) {
    test::TestImage broken = image(32, 32, 32, Qt::red);
    broken.data[14] = 7; // no such depth
    const QImage icon = extractIcon(
        writeIco("broken.ico", makeIco({broken, image(16, 16, 8, QColor(0, 0, 255))})), 0);
    EXPECT_TRUE(hasPattern(icon, QColor(0, 0, 255), false, 8));
}

TEST(IcoFile, NotAnIconFile) {
    EXPECT_EQ(extractIconCount(writeIco("text.ico", "just some text, not an icon")), 0);
    EXPECT_EQ(extractIconCount(writeIco("empty.ico", QByteArray())), 0);
    EXPECT_EQ(extractIconCount(test::freshDir("missing") + "/none.ico"), 0);
    EXPECT_EQ(extractIconCount(test::freshDir("dir")), 0);
    // A cursor file and an icon file without images.
    QByteArray cursor = makeIco({image(32, 32, 8, Qt::red)});
    cursor[2] = 2;
    EXPECT_EQ(extractIconCount(writeIco("c.cur", cursor)), 0);
    EXPECT_EQ(extractIconCount(writeIco("none.ico", QByteArray("\0\0\1\0\0\0", 6))), 0);
    // Index out of range.
    const QString good = writeIco("good.ico", makeIco({image(32, 32, 8, Qt::red)}));
    EXPECT_TRUE(extractIcon(good, 1).isNull());
    EXPECT_TRUE(extractIcon(good, -1).isNull());
}

TEST(IconImage, HostileHeadersAreRefused) {
    const QByteArray good = test::makeImage(32, 32, 8, Qt::red);
    ASSERT_FALSE(decodeIconImage(view(good)).isNull());
    auto patched = [&](int at, quint32 value) {
        QByteArray b = good;
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((value >> (8 * i)) & 0xff);
        return decodeIconImage(view(b));
    };
    EXPECT_TRUE(patched(4, 0x7fffffff).isNull()); // width
    EXPECT_TRUE(patched(4, 0xffffffff).isNull()); // negative width
    EXPECT_TRUE(patched(8, 0).isNull());          // height
    EXPECT_TRUE(patched(8, 0x80000000).isNull()); // most negative height
    EXPECT_TRUE(patched(8, 2 * 400).isNull());    // rows beyond the data
    EXPECT_TRUE(patched(32, 300).isNull());       // palette larger than the depth allows
    EXPECT_TRUE(patched(16, 1).isNull());         // run-length compression
    EXPECT_TRUE(patched(0, 0xfffffff0).isNull()); // header size
    EXPECT_TRUE(decodeIconImage(view(good.left(100))).isNull());
    // A top-down image (negative height) is read top row first.
    const QImage topDown = patched(8, quint32(-64));
    ASSERT_FALSE(topDown.isNull());
    EXPECT_EQ(topDown.pixelColor(31, 0), QColor(Qt::white));
}

TEST(IconImage, PngWithHugeDeclaredSizeIsRefusedBeforeDecoding) {
    QByteArray png = test::makeImage(16, 16, 0, Qt::red);
    ASSERT_FALSE(decodeIconImage(view(png)).isNull());
    png[16] = 0x7f; // width 0x7f000010
    EXPECT_TRUE(decodeIconImage(view(png)).isNull());
    EXPECT_TRUE(decodeIconImage(view(png.left(30))).isNull());
}

TEST(IcoFile, RewrittenFileIsReadAgain) {
    // Repeated calls on one file share its directory; a changed file must not be served stale.
    const QString path = writeIco("changing.ico", makeIco({image(32, 32, 8, Qt::red)}));
    EXPECT_EQ(extractIcon(path, 0).pixelColor(20, 20), QColor(Qt::red));
    test::writeFile(path, makeIco({image(16, 16, 8, Qt::blue), image(32, 32, 24, Qt::green)}));
    EXPECT_EQ(extractIcon(path, 0).pixelColor(20, 20), QColor(Qt::green));
    QFile::remove(path);
    EXPECT_EQ(extractIconCount(path), 0);
}
