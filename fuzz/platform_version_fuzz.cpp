// Version blocks, 16-bit (single-byte search) and 32-bit (UTF-16 tree).

#include "platform/version_info.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvanex::platform;
    const QByteArrayView block(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<VersionString> strings = versionStrings(block);
    if (strings.size() != 8)
        std::abort();
    for (const VersionString& s : strings)
        if (s.value.size() > qsizetype(size))
            std::abort();
    return 0;
}
