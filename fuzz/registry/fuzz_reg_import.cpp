// .reg import: any bytes are merged into a memory registry without harm, and whatever got in
// exports, re-imports and exports again to the same bytes.

#include "registry/reg_file.h"

#include <cstdlib>

using namespace orvanex::reg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto registry = Registry::inMemory();
    const RegImport in = importRegFile(*registry, bytes);
    if (in.refused)
        return 0;
    // UTF-16 input may hold lone surrogates, which no UTF-8 store keeps; check the rest.
    const bool checkRoundTrip = !bytes.startsWith("\xff\xfe");
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"})
        for (RegFormat format : {RegFormat::Regedit4, RegFormat::Regedit5}) {
            const RegExport first = exportRegFile(*registry, QLatin1String(root), format);
            if (first.status != status::Success || !checkRoundTrip)
                continue;
            auto again = Registry::inMemory();
            importRegFile(*again, first.bytes);
            const RegExport second = exportRegFile(*again, QLatin1String(root), format);
            if (second.bytes != first.bytes)
                std::abort();
        }
    return 0;
}
