// A settings file of any bytes: parsing never crashes, and whatever parses survives a write and a
// second read unchanged.

#include "settings/settings_format.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool same(const QVector<orvanex::settings::Section>& a,
          const QVector<orvanex::settings::Section>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].entries.size() != b[i].entries.size())
            return false;
        for (qsizetype j = 0; j < a[i].entries.size(); ++j)
            if (a[i].entries[j].key != b[i].entries[j].key ||
                a[i].entries[j].value != b[i].entries[j].value)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanex::settings;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QVector<Section> first;
    int badLine = 0;
    if (!parse(bytes, &first, &badLine))
        return 0;
    // Sections without keys are not written; drop them before comparing.
    first.removeIf([](const Section& s) { return s.entries.isEmpty(); });
    QVector<Section> second;
    if (!parse(serialise(first), &second, &badLine) || !same(first, second))
        std::abort();
    return 0;
}
