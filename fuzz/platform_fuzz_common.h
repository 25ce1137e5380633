#pragma once
// What every platform fuzzer does with the icons of a file: count them and draw a few.

#include "platform/icon_file.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>

namespace orvanex::fuzz {

inline void drawSomeIcons(const QByteArray& bytes) {
    const platform::IconFile file(bytes);
    const int count = file.count();
    if (count < 0)
        std::abort();
    for (int i = 0; i < std::min(count, 3); ++i) {
        const QImage image = file.icon(i);
        if (!image.isNull() && image.size() != QSize(32, 32))
            std::abort();
    }
}

} // namespace orvanex::fuzz
