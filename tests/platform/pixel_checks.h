#pragma once
// Pixel comparisons shared by the icon tests.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdlib>

namespace orvanex::test {

inline bool sameColour(const QColor& a, const QColor& b, int tolerance = 10) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The pattern of fixture_images.h seen at 32 x 32: transparent top-left quarter, opaque colour
// elsewhere. `exact` images (not scaled) also have the white (or, with two colours, black)
// bottom-right pixel.
inline ::testing::AssertionResult hasPattern(const QImage& image, const QColor& colour, bool exact,
                                             int bits) {
    if (image.size() != QSize(32, 32))
        return ::testing::AssertionFailure() << "size " << image.width() << "x" << image.height();
    if (image.pixelColor(2, 2).alpha() != 0)
        return ::testing::AssertionFailure() << "top-left not transparent";
    const QColor middle = image.pixelColor(20, 24);
    if (middle.alpha() != 255 || !sameColour(middle, colour))
        return ::testing::AssertionFailure()
               << "colour " << middle.name().toStdString() << " alpha " << middle.alpha()
               << ", expected " << colour.name().toStdString();
    if (exact) {
        const QColor corner = image.pixelColor(31, 31);
        const QColor expected = bits == 1 ? QColor(Qt::black) : QColor(Qt::white);
        if (!sameColour(corner, expected) || corner.alpha() != 255)
            return ::testing::AssertionFailure() << "bottom-right " << corner.name().toStdString();
    }
    return ::testing::AssertionSuccess();
}

} // namespace orvanex::test
