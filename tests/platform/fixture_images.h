#pragma once
// Icon images and ICO files made in the tests. Every image has the same recognisable pattern:
// its main colour everywhere, the top-left quarter transparent and the bottom-right pixel white,
// so a test can tell which image was chosen, that rows are not upside down and that the mask
// (or alpha) was applied.

#include <QByteArray>
#include <QColor>
#include <QList>

namespace orvanex::test {

struct TestImage {
    int width = 32;
    int height = 32;
    int bits = 32; // 1, 4, 8, 16, 24, 32; 0 for PNG
    QColor colour;
    QByteArray data; // filled by makeImage
};

// The DIB (with AND mask) or PNG bytes of the pattern.
QByteArray makeImage(int width, int height, int bits, const QColor& colour);
TestImage image(int width, int height, int bits, const QColor& colour);

// An ICO file holding the images in this order.
QByteArray makeIco(const QList<TestImage>& images);
// An icon group resource naming the images by the ids firstId, firstId + 1, ...
QByteArray makeIconGroup(const QList<TestImage>& images, int firstId);

bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace orvanex::test
