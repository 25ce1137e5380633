// A stored window position of any text: a parsed one is in range and reads back the same.

#include "settings/position_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto rect = orvanex::parseWindowPosition(text);
    if (!rect)
        return 0;
    if (rect->width() <= 0 || rect->height() <= 0 || rect->x() < -32768 || rect->x() > 32767 ||
        rect->y() < -32768 || rect->y() > 32767 || rect->width() > 32767 || rect->height() > 32767)
        std::abort();
    if (orvanex::parseWindowPosition(orvanex::formatWindowPosition(*rect)) != rect)
        std::abort();
    return 0;
}
