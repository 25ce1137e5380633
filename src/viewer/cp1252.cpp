#include "viewer/cp1252.h"

#include <QStringDecoder>

#include <array>

namespace orvanex::viewer {
namespace {

// The code page as the platform's converter has it; the hot loops read these tables.
struct Tables {
    std::array<char16_t, 256> unicode{};
    std::array<unsigned char, 256> fold{};
    std::array<bool, 256> word{};
    Tables() {
        char bytes[256];
        for (int b = 0; b < 256; ++b)
            bytes[b] = static_cast<char>(b);
        QStringDecoder decoder("windows-1252");
        const QString text = decoder.isValid() ? decoder.decode(QByteArrayView(bytes, 256))
                                               : QString::fromLatin1(bytes, 256);
        for (int b = 0; b < 256; ++b) {
            // One character per byte; anything else would be a converter fault.
            unicode[b] = text.size() == 256 ? text[b].unicode() : char16_t(b);
            // The five unassigned bytes read as the C1 control of the same value.
            if (unicode[b] == QChar::ReplacementCharacter)
                unicode[b] = char16_t(b);
            fold[b] = static_cast<unsigned char>(b);
            const QChar c(unicode[b]);
            word[b] = c.isLetterOrNumber() || b == '_';
        }
        for (int b = 'A'; b <= 'Z'; ++b)
            fold[b] = static_cast<unsigned char>(b + 32);
        for (int b = 0xC0; b <= 0xDE; ++b)
            if (b != 0xD7)
                fold[b] = static_cast<unsigned char>(b + 32);
        fold[0x8A] = 0x9A; // S caron
        fold[0x8C] = 0x9C; // OE
        fold[0x8E] = 0x9E; // Z caron
        fold[0x9F] = 0xFF; // Y diaeresis
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

QChar cp1252ToUnicode(unsigned char b) {
    return QChar(tables().unicode[b]);
}

unsigned char cp1252Fold(unsigned char b) {
    return tables().fold[b];
}

const unsigned char* cp1252FoldTable() {
    return tables().fold.data();
}

bool cp1252IsWordChar(unsigned char b) {
    return tables().word[b];
}

bool cp1252IsControl(unsigned char b) {
    if (b == '\t')
        return false;
    // The unassigned bytes decode to the C1 control of the same value.
    const char16_t u = tables().unicode[b];
    return u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0);
}

std::optional<QByteArray> unicodeToCp1252(const QString& text) {
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            out.append(static_cast<char>(u));
            continue;
        }
        int found = -1;
        for (int b = 0x80; b < 0xA0 && found < 0; ++b)
            if (t.unicode[b] == u)
                found = b;
        if (found < 0)
            return std::nullopt;
        out.append(static_cast<char>(found));
    }
    return out;
}

QString cp1252ToClipboardText(const char* data, qsizetype size) {
    const Tables& t = tables();
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = QChar(b == 0 ? char16_t(0x2400) : t.unicode[b]);
    }
    return out;
}

} // namespace orvanex::viewer
