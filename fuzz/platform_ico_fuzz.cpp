// ICO files and the DIB and PNG image decoders.

#include "platform/icon_image.h"
#include "platform_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvanex::platform;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    orvanex::fuzz::drawSomeIcons(bytes);
    // The bytes also go straight to the image decoder, as one icon resource.
    const QImage image = decodeIconImage(ByteView(QByteArrayView(bytes)));
    if (!image.isNull() && (image.width() > kMaxIconSide || image.height() > kMaxIconSide))
        std::abort();
    return 0;
}
