// NE headers and resource tables (16-bit programs, ICL libraries).

#include "platform/exe_resources.h"
#include "platform/exe_type.h"
#include "platform/version_info.h"
#include "platform_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvanex::platform;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    readNeResources(ByteView(QByteArrayView(bytes)));
    orvanex::fuzz::drawSomeIcons(bytes);
    versionStrings(versionInfoFromData(bytes));
    executableTypeOfData(bytes, QStringLiteral("f.icl"));
    return 0;
}
