#include "registry/win1252.h"

namespace orvanex::reg {

namespace {

// 0x80..0x9F; the undefined bytes keep their own code point.
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool hasHighByte(QByteArrayView bytes) {
    for (char c : bytes)
        if (std::uint8_t(c) >= 0x80)
            return true;
    return false;
}

} // namespace

QString decode1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = std::uint8_t(bytes[i]);
        d[i] = QChar(b >= 0x80 && b < 0xA0 ? High[b - 0x80] : char16_t(b));
    }
    return out;
}

bool encode1252(QStringView text, QByteArray* out) {
    out->resize(text.size());
    char* d = out->data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            d[i] = char(c);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32; ++k)
            if (High[k] == c)
                found = k;
        if (found < 0)
            return false;
        d[i] = char(0x80 + found);
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
