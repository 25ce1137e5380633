#include "registry/win1252.h"

#include <QHash>
#include <QStringDecoder>

namespace orvanex::reg {

namespace {

// The code page as Qt's converter defines it, read once into tables for the per-line hot path.
// Its five undefined bytes map to U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows does.
struct CodePage {
    char16_t toUnicode[256];
    QHash<char16_t, char> fromUnicode; // characters other than the identical ones below 0x80

    CodePage() {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        QStringDecoder decoder("windows-1252");
        const QString text = decoder(all);
        if (!decoder.isValid() || decoder.hasError() || text.size() != 256)
            qFatal("Qt cannot decode Windows-1252, the code page of REGEDIT4 files");
        for (int b = 0; b < 256; ++b) {
            toUnicode[b] = text[b].unicode();
            if (b >= 0x80)
                fromUnicode.insert(toUnicode[b], char(b));
        }
    }
};

const CodePage& codePage() {
    static const CodePage table;
    return table;
}

bool hasHighByte(QByteArrayView bytes) {
    for (char c : bytes)
        if (std::uint8_t(c) >= 0x80)
            return true;
    return false;
}

} // namespace

QString decode1252(QByteArrayView bytes) {
    const CodePage& page = codePage();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(page.toUnicode[std::uint8_t(bytes[i])]);
    return out;
}

bool encode1252(QStringView text, QByteArray* out) {
    const CodePage& page = codePage();
    out->resize(text.size());
    char* d = out->data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            d[i] = char(c);
            continue;
        }
        const auto found = page.fromUnicode.constFind(c);
        if (found == page.fromUnicode.cend())
            return false;
        d[i] = *found;
    }
    return true;
}

bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int len = c >= 0xF0 && c <= 0xF4   ? 4
                        : c >= 0xE0 && c <= 0xEF ? 3
                        : c >= 0xC2 && c <= 0xDF ? 2
                                                 : 0;
        if (len == 0 || n - i < len)
            return false;
        for (int k = 1; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        if (len == 3 && ((c == 0xE0 && p[i + 1] < 0xA0) || (c == 0xED && p[i + 1] >= 0xA0)))
            return false;
        if (len == 4 && ((c == 0xF0 && p[i + 1] < 0x90) || (c == 0xF4 && p[i + 1] >= 0x90)))
            return false;
        i += len;
    }
    return true;
}

QByteArray encodeReg4Line(QStringView line) {
    QByteArray bytes;
    if (encode1252(line, &bytes) && !(hasHighByte(bytes) && isValidUtf8(bytes)))
        return bytes;
    return line.toUtf8();
}

QString decodeReg4Line(QByteArrayView bytes) {
    if (hasHighByte(bytes) && isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return decode1252(bytes);
}

} // namespace orvanex::reg
