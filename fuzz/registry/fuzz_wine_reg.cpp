// The reader of a Wine prefix's registry files: any bytes either read or are refused; what reads
// keeps every byte in its blocks, and every value written back reads as the same value.

#include "registry/wine_reg_text.h"

#include <cstdlib>

using namespace orvanex::reg::wine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FileText text;
    QString why;
    if (!parseFile(bytes, &text, &why)) {
        if (why.isEmpty() || !text.keys.empty())
            std::abort();
        return 0;
    }
    QByteArray joined = text.header;
    for (const KeyText& key : text.keys)
        joined += key.raw;
    if (joined != bytes)
        std::abort();
    for (const KeyText& key : text.keys)
        for (const ValueText& v : key.values) {
            FileText again;
            const QByteArray one = QByteArray(FirstLine) + "\n[" + pathText(key.path) + "] 1\n" +
                                   formatValue(v.name, v.type, v.data);
            if (!parseFile(one, &again, &why) || again.keys.size() != 1 ||
                again.keys[0].path != key.path || again.keys[0].values.size() != 1)
                std::abort();
            const ValueText& w = again.keys[0].values[0];
            if (w.name != v.name || w.type != v.type || w.data != v.data)
                std::abort();
        }
    return 0;
}
