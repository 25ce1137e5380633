// Reading .reg files the way the registry editor merges them, hand-written ones included.

#include "registry/hex_digit.h"
#include "registry/reg_file.h"
#include "registry/reg_lines.h"
#include "registry/win1252.h"

namespace orvanex::reg {

namespace {

const QString Header4 = QStringLiteral("REGEDIT4");
const QString Header5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString Header31 = QStringLiteral("REGEDIT");

// After a value: blanks, then the end of the line or a ";" comment.
bool onlyCommentFrom(QStringView s, qsizetype pos) {
    pos = skipRegBlanks(s, pos);
    return pos == s.size() || s[pos] == u';';
}

int hexValue(QChar c) {
    return hexDigit(c.unicode());
}

// The number of hex digits from pos on.
qsizetype hexRun(QStringView s, qsizetype pos) {
    qsizetype end = pos;
    while (end < s.size() && hexValue(s[end]) >= 0)
        ++end;
    return end - pos;
}

enum class Quoted { Closed, Open, BadEscape };

// A quoted string from pos (at the opening quote) to its closing quote on the same line; pos
// ends after the closing quote. The registry editor knows only the escapes \\ and \";
// any other backslash makes the line one it does not read.
Quoted readQuoted(QStringView text, qsizetype* pos, QString* out) {
    out->clear();
    // Most strings hold no escape: taken whole, without growing the text a character at a time.
    const qsizetype close = text.indexOf(u'"', *pos + 1);
    if (close >= 0 && !text.sliced(*pos + 1, close - *pos - 1).contains(u'\\')) {
        *out = text.sliced(*pos + 1, close - *pos - 1).toString();
        *pos = close + 1;
        return Quoted::Closed;
    }
    for (qsizetype i = *pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            *pos = i + 1;
            return Quoted::Closed;
        }
        if (c == u'\\' && i + 1 < text.size()) {
            if (text[i + 1] != u'\\' && text[i + 1] != u'"')
                return Quoted::BadEscape;
            ++i;
        }
        *out += text[i];
    }
    return Quoted::Open;
}

QString badEscapeWhy() {
    return QStringLiteral("a backslash in quotes escapes only \\ or \"");
}

enum class HexEnd { Done, Continued, Void };

// Bytes "01,2f,..." from pos to the end of the line, appended to out. A backslash continues the
// data on the next line, but only where a byte could start (after "hex:" or a comma).
HexEnd scanHex(QStringView s, qsizetype pos, QByteArray* out, QString* why) {
    bool byteMayStart = true;
    for (;;) {
        pos = skipRegBlanks(s, pos);
        if (pos == s.size() || s[pos] == u';')
            return HexEnd::Done;
        if (s[pos] == u'\\') {
            if (!byteMayStart) {
                *why = QStringLiteral("a backslash continues hex data only after a comma");
                return HexEnd::Void;
            }
            if (!onlyCommentFrom(s, pos + 1)) {
                *why = QStringLiteral("only a \";\" comment may follow the backslash");
                return HexEnd::Void;
            }
            return HexEnd::Continued;
        }
        if (!byteMayStart) {
            if (s[pos] != u',') {
                *why = QStringLiteral("hex data must be bytes of two digits separated by commas");
                return HexEnd::Void;
            }
            byteMayStart = true;
            ++pos;
            continue;
        }
        const qsizetype digits = hexRun(s, pos);
        if (digits < 1 || digits > 2) {
            *why = QStringLiteral("hex data must be bytes of two digits separated by commas");
            return HexEnd::Void;
        }
        const int value =
            digits == 2 ? hexValue(s[pos]) * 16 + hexValue(s[pos + 1]) : hexValue(s[pos]);
        out->append(char(value));
        pos += digits;
        byteMayStart = false;
    }
}

// Hex data from pos on, over the continuation lines that follow. Blank and comment lines within
// are skipped; a continuation cut short by the end of the file keeps what it read. As in the
// registry editor, the line after a backslash is taken as hex data whatever it looks like: a
// key or value line there is swallowed and voids the value.
bool readHexData(RegLineReader& reader, QStringView first, qsizetype pos, QByteArray* out,
                 QString* why) {
    HexEnd end = scanHex(first, pos, out, why);
    RegLine next;
    while (end == HexEnd::Continued) {
        if (!reader.next(&next))
            return true;
        const QStringView text = regBlankTrimmed(next.text);
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        end = scanHex(next.text, 0, out, why);
        if (end == HexEnd::Void)
            *why = QStringLiteral("line %1, which continues the hex data, is not hex data: %2")
                       .arg(next.number)
                       .arg(*why);
    }
    return end == HexEnd::Done;
}

bool isStringType(std::uint32_t t) {
    return t == type::Sz || t == type::ExpandSz || t == type::MultiSz;
}

QByteArray fromUtf16Le(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8)));
    return text.toUtf8();
}

// "hex:" or "hex(N):" with N in hex digits; pos ends after the colon.
bool readHexType(QStringView s, qsizetype* pos, std::uint32_t* valueType) {
    QStringView rest = s.sliced(*pos);
    if (rest.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        *valueType = type::Binary;
        *pos += 4;
        return true;
    }
    if (!rest.startsWith(QLatin1String("hex("), Qt::CaseInsensitive))
        return false;
    const qsizetype digits = hexRun(rest, 4);
    if (digits < 1 || digits > 8 || rest.size() < 6 + digits || rest[4 + digits] != u')' ||
        rest[5 + digits] != u':')
        return false;
    *valueType = rest.sliced(4, digits).toUInt(nullptr, 16);
    *pos += 6 + digits;
    return true;
}

// The hex data of a typed value, as the store keeps it.
bool storeHexData(RegFormat format, RegFileOp* op, QString* why) {
    if (format == RegFormat::Regedit5 && isStringType(op->type)) {
        if (op->data.size() % 2 != 0) {
            *why = QStringLiteral("UTF-16 text data has an odd number of bytes");
            return false;
        }
        op->data = fromUtf16Le(op->data);
    }
    if (op->type != type::ExpandSz && op->type != type::MultiSz)
        return true;
    // 8-bit text of a REGEDIT4 file is Windows-1252; UTF-8 is this project's way of keeping
    // text the code page cannot hold, so valid UTF-8 stays as it is.
    if (format == RegFormat::Regedit4 && !isValidUtf8(op->data))
        op->data = decode1252(op->data).toUtf8();
    // "hex(7):" with no bytes is a value with no data, as the registry editor stores it.
    if (!op->data.isEmpty() && !op->data.endsWith('\0'))
        op->data.append('\0');
    return true;
}

// The data after "=": fills op or says what is wrong.
bool parseData(RegLineReader& reader, QStringView text, qsizetype pos, RegFormat format,
               RegFileOp* op, QString* why) {
    pos = skipRegBlanks(text, pos);
    const QStringView rest = text.sliced(pos);
    if (rest.startsWith(u'-')) {
        op->kind = RegFileOp::DeleteValue;
        if (onlyCommentFrom(text, pos + 1))
            return true;
        *why = QStringLiteral("only a \";\" comment may follow \"=-\"");
        return false;
    }
    op->kind = RegFileOp::SetValue;
    if (rest.startsWith(u'"')) {
        QString value;
        qsizetype end = pos;
        const Quoted quoted = readQuoted(text, &end, &value);
        if (quoted != Quoted::Closed) {
            *why = quoted == Quoted::BadEscape
                       ? badEscapeWhy()
                       : QStringLiteral("the text is not closed by a double quote on its line");
            return false;
        }
        if (!onlyCommentFrom(text, end)) {
            *why = QStringLiteral("only a \";\" comment may follow the closing double quote");
            return false;
        }
        op->type = type::Sz;
        op->data = value.toUtf8();
        return true;
    }
    if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const qsizetype start = skipRegBlanks(text, pos + 6);
        const qsizetype digits = hexRun(text, start);
        if (digits < 1 || digits > 8 || !onlyCommentFrom(text, start + digits)) {
            *why = QStringLiteral("a dword needs 1 to 8 hexadecimal digits and nothing else");
            return false;
        }
        const std::uint32_t v = text.sliced(start, digits).toUInt(nullptr, 16);
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        op->type = type::Dword;
        op->data = QByteArray(b, 4);
        return true;
    }
    if (!rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        *why = QStringLiteral("the value is neither a text, a dword nor hex data");
        return false;
    }
    if (!readHexType(text, &pos, &op->type)) {
        *why = QStringLiteral("hex data need \"hex:\" or \"hex(type):\" with the type in "
                              "hexadecimal digits");
        return false;
    }
    return readHexData(reader, text, pos, &op->data, why) && storeHexData(format, op, why);
}

bool parseValueLine(RegLineReader& reader, QStringView text, RegFormat format, RegFileOp* op,
                    QString* why) {
    qsizetype pos = skipRegBlanks(text, 0);
    if (text[pos] == u'@') {
        op->valueName.clear();
        ++pos;
    } else if (const Quoted quoted = readQuoted(text, &pos, &op->valueName);
               quoted != Quoted::Closed) {
        *why = quoted == Quoted::BadEscape
                   ? badEscapeWhy()
                   : QStringLiteral("the value name is not closed by a double quote");
        return false;
    }
    pos = skipRegBlanks(text, pos);
    if (pos >= text.size() || text[pos] != u'=') {
        *why = QStringLiteral("\"=\" is missing after the value name");
        return false;
    }
    return parseData(reader, text, pos + 1, format, op, why);
}

} // namespace

RegFileParse parseRegFile(const QByteArray& bytes) {
    return parseRegFile(bytes, {});
}

RegFileParse parseRegFile(const QByteArray& bytes, const std::function<void(RegFileOp&&)>& take) {
    RegFileParse result;
    RegLineReader reader(bytes);
    RegLine line;
    const QString first = reader.next(&line) ? regBlankTrimmed(line.text).toString() : QString();
    const bool win31 = first == Header31;
    if (first != Header4 && first != Header5 && !win31) {
        result.refused = true;
        result.error = QStringLiteral("not a registry file: its first line is neither \"%1\" nor "
                                      "\"%2\" nor \"%3\"")
                           .arg(Header4, Header5, Header31);
        return result;
    }
    result.format = first == Header5 ? RegFormat::Regedit5 : RegFormat::Regedit4;
    result.windows31 = win31;
    if (!take && !win31)
        result.ops.reserve(std::size_t(reader.keyAndValueLines()));
    const auto add = [&](RegFileOp&& op) {
        if (take)
            take(std::move(op));
        else
            result.ops.push_back(std::move(op));
    };
    if (win31) {
        readWin31Lines(reader, add, &result.warnings);
        return result;
    }

    QString currentKey;
    bool keyValid = false; // false: no key yet, or one that cannot take values
    while (reader.next(&line)) {
        const int number = line.number;
        const QStringView text = regBlankTrimmed(line.text);
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        auto warn = [&](const QString& why) {
            result.warnings << QStringLiteral("line %1: %2").arg(number).arg(why);
        };
        if (text.startsWith(u'[')) {
            const qsizetype close = text.lastIndexOf(u']');
            keyValid = false;
            if (close != text.size() - 1) {
                warn(QStringLiteral("a key line must end with \"]\""));
                continue;
            }
            const bool remove = text.size() > 1 && text[1] == u'-';
            const QStringView keyName = text.sliced(remove ? 2 : 1, close - (remove ? 2 : 1));
            HKey root = 0;
            QString rootName;
            QStringView subPath;
            if (!splitRegKeyName(keyName, &root, &rootName, &subPath)) {
                warn(QStringLiteral("\"%1\" is not a key of the registry").arg(keyName));
                continue;
            }
            currentKey = keyName.toString();
            RegFileOp op;
            op.kind = remove ? RegFileOp::DeleteKey : RegFileOp::CreateKey;
            op.line = number;
            op.key = currentKey;
            add(std::move(op));
            keyValid = !remove;
            continue;
        }
        if (text.startsWith(u'"') || text.startsWith(u'@')) {
            RegFileOp op;
            QString why;
            if (!parseValueLine(reader, line.text, result.format, &op, &why)) {
                warn(why);
                continue;
            }
            if (!keyValid) {
                warn(QStringLiteral("a value outside a key that can be written"));
                continue;
            }
            op.line = number;
            op.key = currentKey;
            op.data.squeeze();
            add(std::move(op));
            continue;
        }
        warn(QStringLiteral("not a key, a value or a comment"));
    }
    return result;
}

} // namespace orvanex::reg
