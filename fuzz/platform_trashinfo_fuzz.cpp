// Trash records in either form: whatever path one yields is written back encoded and read again
// unchanged.

#include "platform/trash.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvanex::platform;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TrashInfo info = parseTrashInfo(bytes);
    if (!info.valid)
        return 0;
    if (info.path.isEmpty() || info.path.size() > bytes.size())
        std::abort();
    const TrashInfo again = parseTrashInfo(trashInfoText(info.path, QStringLiteral("2024-01-02")));
    if (!again.valid || again.path != info.path)
        std::abort();
    return 0;
}
