// Reading .reg files the way the registry editor merges them, hand-written ones included.

#include "registry/reg_file.h"
#include "registry/win1252.h"

#include <QStringDecoder>

#include <optional>

namespace orvanex::reg {

namespace {

const QString Header4 = QStringLiteral("REGEDIT4");
const QString Header5 = QStringLiteral("Windows Registry Editor Version 5.00");

struct Line {
    int number = 0;
    QString text;
};

// The registry editor treats only blanks and tabs as white space.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

qsizetype skipBlanks(QStringView s, qsizetype pos) {
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
    return pos;
}

QStringView blankTrimmed(QStringView s) {
    const qsizetype start = skipBlanks(s, 0);
    qsizetype end = s.size();
    while (end > start && isBlank(s[end - 1]))
        --end;
    return s.sliced(start, end - start);
}

// After a value: blanks, then the end of the line or a ";" comment.
bool onlyCommentFrom(QStringView s, qsizetype pos) {
    pos = skipBlanks(s, pos);
    return pos == s.size() || s[pos] == u';';
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The number of hex digits from pos on.
qsizetype hexRun(QStringView s, qsizetype pos) {
    qsizetype end = pos;
    while (end < s.size() && hexValue(s[end]) >= 0)
        ++end;
    return end - pos;
}

template <typename View> qsizetype countKeyAndValueLines(View text) {
    qsizetype lines = 0;
    for (qsizetype at = 0; at < text.size();) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at < text.size() && (text[at] == '[' || text[at] == '"' || text[at] == '@'))
            ++lines;
        const qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            break;
        at = end + 1;
    }
    return lines;
}

// A REGEDIT4 line into out, whose buffer is reused from line to line: most lines are ASCII.
void decodeReg4Into(QByteArrayView bytes, QString* out) {
    out->resize(bytes.size());
    QChar* d = out->data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (std::uint8_t(bytes[i]) >= 0x80) {
            *out = decodeReg4Line(bytes);
            return;
        }
        d[i] = QChar(char16_t(bytes[i]));
    }
}

// Lines one at a time (split on CR LF, LF or CR), decoded as the file's encoding requires, so
// that a large file is never held as text whole. One line can be put back.
class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) {
        if (bytes.startsWith("\xff\xfe")) {
            QStringDecoder utf16(QStringDecoder::Utf16LE);
            m_utf16 = utf16(QByteArrayView(bytes).sliced(2));
            m_encoding = Utf16;
        } else if (bytes.startsWith("\xef\xbb\xbf")) {
            m_bytes = QByteArrayView(bytes).sliced(3);
            m_encoding = Utf8;
        } else {
            m_bytes = QByteArrayView(bytes);
        }
    }

    bool next(Line* line) {
        if (m_back) {
            *line = std::move(*m_back);
            m_back.reset();
            return true;
        }
        line->number = ++m_number;
        if (m_encoding == Utf16)
            return take(QStringView(m_utf16), line, [](QStringView s, QString* out) {
                out->resize(0);
                out->append(s);
            });
        if (m_encoding == Utf8)
            return take(m_bytes, line,
                        [](QByteArrayView s, QString* out) { *out = QString::fromUtf8(s); });
        return take(m_bytes, line, decodeReg4Into);
    }

    void putBack(Line line) { m_back = std::move(line); }

    // At least as many lines as hold a key or a value (each makes one operation at most), to
    // reserve for them at once.
    qsizetype keyAndValueLines() const {
        return m_encoding == Utf16 ? countKeyAndValueLines(QStringView(m_utf16))
                                   : countKeyAndValueLines(m_bytes);
    }

private:
    template <typename View, typename Decode> bool take(View text, Line* line, Decode decode) {
        if (m_pos >= text.size())
            return false;
        qsizetype end = m_pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        decode(text.sliced(m_pos, end - m_pos), &line->text);
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++end;
        m_pos = end + 1;
        return true;
    }

    enum Encoding { Reg4, Utf8, Utf16 } m_encoding = Reg4;
    QString m_utf16;
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_number = 0;
    std::optional<Line> m_back;
};

// A quoted string from pos (at the opening quote) to its closing quote on the same line; pos
// ends after the closing quote.
bool readQuoted(QStringView text, qsizetype* pos, QString* out) {
    out->clear();
    // Most strings hold no escape: taken whole, without growing the text a character at a time.
    const qsizetype close = text.indexOf(u'"', *pos + 1);
    if (close >= 0 && !text.sliced(*pos + 1, close - *pos - 1).contains(u'\\')) {
        *out = text.sliced(*pos + 1, close - *pos - 1).toString();
        *pos = close + 1;
        return true;
    }
    for (qsizetype i = *pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            *pos = i + 1;
            return true;
        }
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'\\' || text[i + 1] == u'"'))
            ++i;
        *out += text[i];
    }
    return false;
}

enum class HexEnd { Done, Continued, Void };

// Bytes "01,2f,..." from pos to the end of the line, appended to out. A backslash continues the
// data on the next line, but only where a byte could start (after "hex:" or a comma).
HexEnd scanHex(QStringView s, qsizetype pos, QByteArray* out, QString* why) {
    bool byteMayStart = true;
    for (;;) {
        pos = skipBlanks(s, pos);
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
// are skipped; a continuation cut short by the end of the file keeps what it read.
bool readHexData(LineReader& reader, QStringView first, qsizetype pos, QByteArray* out,
                 QString* why) {
    HexEnd end = scanHex(first, pos, out, why);
    Line next;
    while (end == HexEnd::Continued) {
        if (!reader.next(&next))
            return true;
        const QStringView text = blankTrimmed(next.text);
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        if (text.startsWith(u'[') || text.startsWith(u'"') || text.startsWith(u'@')) {
            *why = QStringLiteral("the hex data continued by a backslash end at line %1 without "
                                  "their last byte")
                       .arg(next.number);
            reader.putBack(std::move(next));
            return false;
        }
        end = scanHex(next.text, 0, out, why);
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
    if (!op->data.endsWith('\0'))
        op->data.append('\0');
    return true;
}

// The data after "=": fills op or says what is wrong.
bool parseData(LineReader& reader, QStringView text, qsizetype pos, RegFormat format, RegFileOp* op,
               QString* why) {
    pos = skipBlanks(text, pos);
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
        if (!readQuoted(text, &end, &value)) {
            *why = QStringLiteral("the text is not closed by a double quote on its line");
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
        const qsizetype start = skipBlanks(text, pos + 6);
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

bool parseValueLine(LineReader& reader, QStringView text, RegFormat format, RegFileOp* op,
                    QString* why) {
    qsizetype pos = skipBlanks(text, 0);
    if (text[pos] == u'@') {
        op->valueName.clear();
        ++pos;
    } else if (!readQuoted(text, &pos, &op->valueName)) {
        *why = QStringLiteral("the value name is not closed by a double quote");
        return false;
    }
    pos = skipBlanks(text, pos);
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
    LineReader reader(bytes);
    Line line;
    const QString first = reader.next(&line) ? blankTrimmed(line.text).toString() : QString();
    if (first != Header4 && first != Header5) {
        result.refused = true;
        result.error = QStringLiteral("not a registry file: its first line is neither \"%1\" nor "
                                      "\"%2\"")
                           .arg(Header4, Header5);
        return result;
    }
    result.format = first == Header4 ? RegFormat::Regedit4 : RegFormat::Regedit5;
    if (!take)
        result.ops.reserve(std::size_t(reader.keyAndValueLines()));
    const auto add = [&](RegFileOp&& op) {
        if (take)
            take(std::move(op));
        else
            result.ops.push_back(std::move(op));
    };

    QString currentKey;
    bool keyValid = false; // false: no key yet, or one that cannot take values
    while (reader.next(&line)) {
        const int number = line.number;
        const QStringView text = blankTrimmed(line.text);
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
