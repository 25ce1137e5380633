// Drawing an icon at the top-left corner of a picture, and the HiDPI form that takes the image
// made for the physical size.

#include "fixture_images.h"
#include "platform/icon_draw.h"
#include "support/test_env.h"

#include <QPixmap>

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::platform;

namespace {

QString iconFile() {
    const QString path = test::freshDir("draw") + "/draw.ico";
    test::writeFile(path, test::makeIco({test::image(32, 32, 32, Qt::red),
                                         test::image(64, 64, 32, Qt::green)}));
    return path;
}

} // namespace

TEST(IconDraw, DrawsAtTopLeftKeepingTransparency) {
    QPixmap picture(48, 48);
    picture.fill(Qt::white);
    ASSERT_TRUE(drawIcon(picture, iconFile(), 0));
    const QImage out = picture.toImage();
    EXPECT_EQ(out.pixelColor(2, 2), QColor(Qt::white)); // transparent part of the icon
    EXPECT_EQ(out.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(out.pixelColor(40, 40), QColor(Qt::white)); // outside the 32 x 32 icon
    EXPECT_FALSE(drawIcon(picture, iconFile(), 1));
}

TEST(IconDraw, HiDpiTakesTheLargerImage) {
    const QString path = iconFile();
    const QPixmap sharp = iconPixmap(path, 0, 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.toImage().pixelColor(40, 40), QColor(Qt::green));

    QPixmap picture(64, 64);
    picture.setDevicePixelRatio(2.0);
    picture.fill(Qt::white);
    ASSERT_TRUE(drawIcon(picture, path, 0));
    const QImage out = picture.toImage();
    EXPECT_EQ(out.pixelColor(40, 40), QColor(Qt::green));
    EXPECT_EQ(out.pixelColor(2, 2), QColor(Qt::white));

    const QPixmap plain = iconPixmap(path, 0, 1.0);
    EXPECT_EQ(plain.size(), QSize(32, 32));
    EXPECT_EQ(plain.toImage().pixelColor(20, 20), QColor(Qt::red));
    EXPECT_TRUE(iconPixmap(path, 3, 1.0).isNull());
}
