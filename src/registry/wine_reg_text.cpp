#include "registry/wine_reg_text.h"

#include "registry/hex_digit.h"
#include "registry/registry.h"

#include <QDateTime>
#include <cstring>

namespace orvanex::reg::wine {

namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t EpochDifference = 11644473600ull;
constexpr std::uint64_t TicksPerSecond = 10000000ull;

bool isStringType(std::uint32_t type) {
    return type == type::Sz || type == type::ExpandSz || type == type::MultiSz;
}

bool isHexUnit(char16_t c) {
    return c < 128 && hexDigit(char(c)) >= 0;
}

// One line of the file: [begin, end) without its '\n' (and without a '\r' before it).
struct Line {
    const char* begin;
    const char* end;
    bool blank() const {
        for (const char* p = begin; p < end; ++p)
            if (*p != ' ' && *p != '\t')
                return false;
        return true;
    }
};

void skipBlanks(const char*& p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
}

// Decodes one UTF-8 sequence at p; a byte that does not start a valid one stands for itself.
char32_t nextChar(const char*& p, const char* end) {
    const auto b = static_cast<unsigned char>(*p++);
    if (b < 0x80)
        return b;
    int more = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
    if (more == 0 || end - p < more)
        return b;
    char32_t c = b & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        const auto n = static_cast<unsigned char>(p[i]);
        if ((n & 0xC0) != 0x80)
            return b;
        c = (c << 6) | (n & 0x3F);
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || (more == 2 && c < 0x800) ||
        (more == 3 && c < 0x10000))
        return b;
    p += more;
    return c;
}

void appendChar(QString* out, char32_t c) {
    if (c > 0xFFFF) {
        out->append(QChar(QChar::highSurrogate(c)));
        out->append(QChar(QChar::lowSurrogate(c)));
    } else {
        out->append(QChar(char16_t(c)));
    }
}

// Reads escaped text up to an unescaped `stop`, which is consumed. False when the line ends first.
bool unescape(const char*& p, const char* end, char stop, QString* out) {
    out->clear();
    while (p < end) {
        const char c = *p;
        if (c == stop) {
            ++p;
            return true;
        }
        if (c != '\\') {
            appendChar(out, nextChar(p, end));
            continue;
        }
        if (++p == end)
            return false;
        const char e = *p++;
        switch (e) {
        case 'a':
            out->append(QChar(7));
            break;
        case 'b':
            out->append(QChar(8));
            break;
        case 'e':
            out->append(QChar(27));
            break;
        case 'f':
            out->append(QChar(12));
            break;
        case 'n':
            out->append(QChar(10));
            break;
        case 'r':
            out->append(QChar(13));
            break;
        case 't':
            out->append(QChar(9));
            break;
        case 'v':
            out->append(QChar(11));
            break;
        case 'x': {
            // Greedy: up to four hex digits.
            unsigned v = 0;
            int n = 0;
            for (; n < 4 && p < end && hexDigit(*p) >= 0; ++n)
                v = v * 16 + unsigned(hexDigit(*p++));
            out->append(n ? QChar(char16_t(v)) : QChar(u'x'));
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned v = unsigned(e - '0');
                for (int n = 1; n < 3 && p < end && *p >= '0' && *p <= '7'; ++n)
                    v = v * 8 + unsigned(*p++ - '0');
                out->append(QChar(char16_t(v)));
            } else {
                --p;
                appendChar(out, nextChar(p, end));
            }
        }
    }
    return false;
}

// The store's form of string data as Wine holds it (UTF-16, normally ending in a NUL).
QByteArray storeFromUtf16(const QByteArray& bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), size_t(text.size()) * 2);
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text.toUtf8();
}

QByteArray storeFromText(const QString& text) {
    return text.toUtf8();
}

class Parser {
public:
    Parser(const QByteArray& bytes, FileText* out) : m_bytes(bytes), m_out(out) {}

    bool run(QString* why);

private:
    bool fail(qsizetype lineIndex, const QString& what) {
        m_why = QStringLiteral("line %1: %2").arg(lineIndex + 1).arg(what);
        return false;
    }
    bool parseKeyLine(qsizetype i, KeyText* key);
    // Parses the value starting on line *i; *i ends on its last continuation line.
    bool parseValue(qsizetype* i, ValueText* value);
    bool parseHex(qsizetype* i, const char* p, QByteArray* bytes);

    const QByteArray& m_bytes;
    FileText* m_out;
    std::vector<Line> m_lines;
    std::vector<qsizetype> m_starts; // each line's offset
    QString m_why;
};

bool Parser::run(QString* why) {
    const char* data = m_bytes.constData();
    const char* end = data + m_bytes.size();
    if (m_bytes.isEmpty() || m_bytes.back() != '\n') {
        *why = m_bytes.isEmpty() ? QStringLiteral("the file is empty")
                                 : QStringLiteral("the file ends in the middle of a line");
        return false;
    }
    for (const char* p = data; p < end;) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = nl > p && nl[-1] == '\r' ? nl - 1 : nl;
        m_starts.push_back(p - data);
        m_lines.push_back({p, lineEnd});
        p = nl + 1;
    }
    m_starts.push_back(m_bytes.size());
    const Line& first = m_lines[0];
    if (QByteArray(first.begin, first.end - first.begin) != FirstLine) {
        *why = QStringLiteral("line 1: not a Wine registry file (\"%1\" expected)")
                   .arg(QLatin1String(FirstLine));
        return false;
    }
    const auto count = qsizetype(m_lines.size());
    // Where each key's block starts: at the blank lines before its key line.
    auto blockStart = [&](qsizetype keyLine) {
        qsizetype s = keyLine;
        while (s > 1 && m_lines[size_t(s - 1)].blank())
            --s;
        return s;
    };
    qsizetype i = 1;
    for (; i < count && *m_lines[size_t(i)].begin != '['; ++i) {
        const Line& l = m_lines[size_t(i)];
        if (!l.blank() && *l.begin != ';' && *l.begin != '#') {
            *why = QStringLiteral("line %1: a value before the first key").arg(i + 1);
            return false;
        }
    }
    // Without keys the whole file is header, its closing blank lines too.
    m_out->header = i < count ? m_bytes.left(m_starts[size_t(blockStart(i))]) : m_bytes;
    while (i < count) {
        KeyText key;
        if (!parseKeyLine(i, &key)) {
            *why = m_why;
            return false;
        }
        const qsizetype keyLine = i;
        for (++i; i < count && *m_lines[size_t(i)].begin != '['; ++i) {
            const Line& l = m_lines[size_t(i)];
            if (l.blank() || (l.end - l.begin >= 6 && std::memcmp(l.begin, "#time=", 6) == 0))
                continue;
            if (*l.begin == '#' || *l.begin == ';') {
                key.meta.append(QByteArray(l.begin, l.end - l.begin));
                continue;
            }
            const qsizetype valueLine = i;
            ValueText value;
            if (!parseValue(&i, &value)) {
                *why = m_why;
                return false;
            }
            value.raw = m_bytes.mid(m_starts[size_t(valueLine)],
                                    m_starts[size_t(i + 1)] - m_starts[size_t(valueLine)]);
            key.values.push_back(std::move(value));
        }
        const qsizetype from = m_starts[size_t(blockStart(keyLine))];
        const qsizetype to = i < count ? m_starts[size_t(blockStart(i))] : m_bytes.size();
        key.raw = m_bytes.mid(from, to - from);
        m_out->keys.push_back(std::move(key));
    }
    return true;
}

bool Parser::parseKeyLine(qsizetype i, KeyText* key) {
    const Line& l = m_lines[size_t(i)];
    const char* p = l.begin + 1;
    const char* textStart = p;
    if (!unescape(p, l.end, ']', &key->path))
        return fail(i, QStringLiteral("a key line without its closing bracket"));
    key->pathText = QByteArray(textStart, p - 1 - textStart);
    skipBlanks(p, l.end);
    while (p < l.end && *p >= '0' && *p <= '9')
        ++p;
    skipBlanks(p, l.end);
    if (p != l.end)
        return fail(i, QStringLiteral("unexpected text after a key name"));
    if (key->path.isEmpty() || key->path.startsWith(u'\\') || key->path.endsWith(u'\\') ||
        key->path.contains(QStringLiteral("\\\\")))
        return fail(i, QStringLiteral("an empty key name"));
    return true;
}

bool Parser::parseValue(qsizetype* i, ValueText* value) {
    const Line& l = m_lines[size_t(*i)];
    const char* p = l.begin;
    if (*p == '@') {
        ++p;
    } else if (*p == '"') {
        ++p;
        if (!unescape(p, l.end, '"', &value->name))
            return fail(*i, QStringLiteral("a value name without its closing quote"));
    } else {
        return fail(*i, QStringLiteral("neither a key, a value nor a comment"));
    }
    if (p == l.end || *p++ != '=')
        return fail(*i, QStringLiteral("'=' expected after the value name"));
    auto startsWith = [&](const char* word) {
        const auto n = qsizetype(std::strlen(word));
        if (l.end - p < n || std::memcmp(p, word, size_t(n)) != 0)
            return false;
        p += n;
        return true;
    };
    std::uint32_t stringType = 0;
    if (startsWith("\"") || startsWith("str:\""))
        stringType = type::Sz;
    else if (startsWith("str(2):\""))
        stringType = type::ExpandSz;
    else if (startsWith("str(7):\""))
        stringType = type::MultiSz;
    if (stringType) {
        QString text;
        if (!unescape(p, l.end, '"', &text))
            return fail(*i, QStringLiteral("a text without its closing quote"));
        skipBlanks(p, l.end);
        if (p != l.end)
            return fail(*i, QStringLiteral("unexpected text after a closing quote"));
        value->type = stringType;
        value->data = storeFromText(text);
        return true;
    }
    if (startsWith("dword:")) {
        std::uint32_t v = 0;
        int n = 0;
        for (; n < 8 && p < l.end && hexDigit(*p) >= 0; ++n)
            v = v * 16 + std::uint32_t(hexDigit(*p++));
        skipBlanks(p, l.end);
        if (n == 0 || p != l.end)
            return fail(*i, QStringLiteral("a dword value that is not 1 to 8 hex digits"));
        value->type = type::Dword;
        const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        value->data = QByteArray(bytes, 4);
        return true;
    }
    if (startsWith("hex:")) {
        value->type = type::Binary;
    } else if (startsWith("hex(")) {
        std::uint32_t t = 0;
        int n = 0;
        for (; n < 8 && p < l.end && hexDigit(*p) >= 0; ++n)
            t = t * 16 + std::uint32_t(hexDigit(*p++));
        if (n == 0 || !startsWith("):"))
            return fail(*i, QStringLiteral("a value type that is not 1 to 8 hex digits"));
        value->type = t;
    } else {
        return fail(*i, QStringLiteral("a value of unknown form"));
    }
    QByteArray bytes;
    if (!parseHex(i, p, &bytes))
        return false;
    value->data = isStringType(value->type) ? storeFromUtf16(bytes) : bytes;
    return true;
}

bool Parser::parseHex(qsizetype* i, const char* p, QByteArray* bytes) {
    const char* end = m_lines[size_t(*i)].end;
    for (;;) {
        skipBlanks(p, end);
        if (p == end)
            return true;
        if (*p == '\\') {
            ++p;
            skipBlanks(p, end);
            if (p != end)
                return fail(*i, QStringLiteral("text after a continuation mark"));
            if (++*i == qsizetype(m_lines.size()))
                return fail(*i - 1, QStringLiteral("the file ends after a continuation mark"));
            p = m_lines[size_t(*i)].begin;
            end = m_lines[size_t(*i)].end;
            continue;
        }
        const int high = hexDigit(*p);
        if (high < 0)
            return fail(*i, QStringLiteral("a byte that is not two hex digits"));
        ++p;
        int v = high;
        if (p < end && hexDigit(*p) >= 0)
            v = v * 16 + hexDigit(*p++);
        bytes->append(char(v));
        skipBlanks(p, end);
        if (p < end && *p == ',')
            ++p;
        else if (p < end && *p != '\\')
            return fail(*i, QStringLiteral("',' expected between bytes"));
    }
}

} // namespace

bool parseFile(const QByteArray& bytes, FileText* out, QString* why) {
    *out = FileText();
    Parser parser(bytes, out);
    if (parser.run(why))
        return true;
    *out = FileText();
    return false;
}

QByteArray escapeText(QStringView text, char escapeA, char escapeB) {
    static const char escapes[33] = ".......abtnvfr.............e....";
    QByteArray out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool hexFollows = i + 1 < text.size() && isHexUnit(text[i + 1].unicode());
        if (c > 127) {
            out += (hexFollows ? QByteArray::number(c + 0x10000, 16).mid(1)
                               : QByteArray::number(c, 16))
                       .prepend("\\x");
        } else if (c < 32) {
            if (escapes[c] != '.') {
                out += '\\';
                out += escapes[c];
            } else {
                const bool octalFollows =
                    i + 1 < text.size() && text[i + 1] >= u'0' && text[i + 1] <= u'7';
                out += '\\';
                out += octalFollows ? QByteArray::number(c + 01000, 8).mid(1)
                                    : QByteArray::number(c, 8);
            }
        } else {
            if (c == u'\\' || c == char16_t(escapeA) || c == char16_t(escapeB))
                out += '\\';
            out += char(c);
        }
    }
    return out;
}

QByteArray pathText(QStringView path) {
    QByteArray out;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != u'\\')
            continue;
        if (from > 0)
            out += "\\\\";
        out += escapeText(path.mid(from, i - from), '[', ']');
        from = i + 1;
    }
    return out;
}

QByteArray formatValue(const QString& name, std::uint32_t valueType, const QByteArray& data) {
    QByteArray out = name.isEmpty() ? QByteArray("@=") : '"' + escapeText(name, '"', '"') + "\"=";
    if (isStringType(valueType)) {
        if (valueType != type::Sz)
            out += "str(" + QByteArray::number(valueType, 16) + "):";
        out += '"' + escapeText(QString::fromUtf8(data), '"', '"') + "\"\n";
        return out;
    }
    if (valueType == type::Dword && data.size() == 4) {
        std::uint32_t v = 0;
        for (int b = 3; b >= 0; --b)
            v = (v << 8) | static_cast<unsigned char>(data[b]);
        return out + "dword:" + QByteArray::number(v + 0x100000000ull, 16).mid(1) + '\n';
    }
    out += valueType == type::Binary ? QByteArray("hex:")
                                     : "hex(" + QByteArray::number(valueType, 16) + "):";
    // Wine wraps after 76 characters, counting from the start of the line.
    qsizetype count = out.size();
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
        count += 2;
        if (i < data.size() - 1) {
            out += ',';
            if (++count > 76) {
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    return out + '\n';
}

QByteArray formatKeyHead(const QByteArray& path, const QList<QByteArray>& meta,
                         std::uint64_t fileTime) {
    const std::uint64_t unixTime = fileTime / TicksPerSecond - EpochDifference;
    QByteArray out = "\n[" + path + "] " + QByteArray::number(unixTime) +
                     "\n#time=" + QByteArray::number(std::uint32_t(fileTime >> 32), 16) +
                     QByteArray::number(std::uint32_t(fileTime) + 0x100000000ull, 16).mid(1) + '\n';
    for (const QByteArray& line : meta)
        out += line + '\n';
    return out;
}

std::uint64_t currentFileTime() {
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    return (std::uint64_t(ms) / 1000 + EpochDifference) * TicksPerSecond +
           std::uint64_t(ms % 1000) * 10000;
}

} // namespace orvanex::reg::wine
