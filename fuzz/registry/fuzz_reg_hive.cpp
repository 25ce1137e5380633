// The hive reader: any bytes either load or are rejected as damaged, and what loads writes back
// as a snapshot that loads to the same tree.

#include "registry/hive_format.h"

#include <cstdlib>

using namespace orvanex::reg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    KeyNode top;
    ensureBaseKeys(top);
    const HiveParse parse = applyHiveText(bytes, true, top);
    if (!parse.ok)
        return 0;
    if (parse.committedEnd > bytes.size())
        std::abort();
    const QByteArray snapshot = encodeSnapshot(top, 1);
    KeyNode again;
    ensureBaseKeys(again);
    const HiveParse reparse = applyHiveText(snapshot, true, again);
    if (!reparse.ok || reparse.tornTail || encodeSnapshot(again, 1) != snapshot)
        std::abort();
    return 0;
}
