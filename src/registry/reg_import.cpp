#include "registry/reg_file.h"
#include "registry/win1252.h"

#include <QStringDecoder>

namespace orvanex::reg {

namespace {

const QString Header4 = QStringLiteral("REGEDIT4");
const QString Header5 = QStringLiteral("Windows Registry Editor Version 5.00");

struct Line {
    int number = 0;
    QString text;
};

// Splits on CR LF, LF or CR.
template <typename View, typename Decode> std::vector<Line> splitLines(View text, Decode decode) {
    std::vector<Line> lines;
    qsizetype start = 0;
    int number = 1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back({number++, decode(text.sliced(start, i - start))});
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (!lines.empty() && lines.back().text.isEmpty())
        lines.pop_back();
    return lines;
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

QString trimmed(QStringView s) {
    return s.trimmed().toString();
}

// A quoted string from pos (at the opening quote); pos ends after the closing quote.
bool readQuoted(const QString& text, qsizetype* pos, QString* out) {
    out->clear();
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

bool readHexBytes(QStringView text, QByteArray* out) {
    out->clear();
    const QString compact = text.toString().remove(u' ').remove(u'\t');
    if (compact.isEmpty())
        return true;
    const QStringList parts = compact.split(u',');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& p = parts[i];
        if (p.isEmpty() && i + 1 == parts.size())
            break; // a trailing comma
        if (p.isEmpty() || p.size() > 2 || hexValue(p[0]) < 0 ||
            (p.size() == 2 && hexValue(p[1]) < 0))
            return false;
        *out += char(p.size() == 2 ? hexValue(p[0]) * 16 + hexValue(p[1]) : hexValue(p[0]));
    }
    return true;
}

QByteArray fromUtf16Le(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8)));
    return text.toUtf8();
}

bool isStringType(std::uint32_t t) {
    return t == type::Sz || t == type::ExpandSz || t == type::MultiSz;
}

// The data after "=": fills op or says what is wrong.
bool parseData(const QString& text, qsizetype pos, RegFormat format, RegFileOp* op, QString* why) {
    const QStringView rest = QStringView(text).sliced(pos).trimmed();
    if (rest == u"-") {
        op->kind = RegFileOp::DeleteValue;
        return true;
    }
    op->kind = RegFileOp::SetValue;
    if (rest.startsWith(u'"')) {
        QString value;
        qsizetype end = 0;
        const QString r = rest.toString();
        if (!readQuoted(r, &end, &value) || !QStringView(r).sliced(end).trimmed().isEmpty()) {
            *why = QStringLiteral("the text is not closed by a double quote");
            return false;
        }
        op->type = type::Sz;
        op->data = value.toUtf8();
        return true;
    }
    if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QStringView digits = rest.sliced(6);
        bool ok = !digits.isEmpty() && digits.size() <= 8;
        for (QChar c : digits)
            ok = ok && hexValue(c) >= 0;
        if (!ok) {
            *why = QStringLiteral("a dword needs 1 to 8 hexadecimal digits");
            return false;
        }
        const std::uint32_t v = digits.toUInt(nullptr, 16);
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        op->type = type::Dword;
        op->data = QByteArray(b, 4);
        return true;
    }
    if (!rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        *why = QStringLiteral("the value is neither a text, a dword nor hex data");
        return false;
    }
    qsizetype colon = rest.indexOf(u':');
    const QStringView kind = colon < 0 ? QStringView() : rest.first(colon);
    if (kind.compare(QLatin1String("hex"), Qt::CaseInsensitive) == 0) {
        op->type = type::Binary;
    } else if (kind.size() > 5 && kind[3] == u'(' && kind.endsWith(u')')) {
        bool ok = false;
        const QStringView number = kind.sliced(4, kind.size() - 5);
        op->type = number.size() <= 8 ? number.toUInt(&ok, 16) : 0;
        if (!ok) {
            *why = QStringLiteral("hex(...) needs a hexadecimal type number");
            return false;
        }
    } else {
        *why = QStringLiteral("hex data needs \"hex:\" or \"hex(type):\"");
        return false;
    }
    if (!readHexBytes(rest.sliced(colon + 1), &op->data)) {
        *why = QStringLiteral("hex data must be two-digit bytes separated by commas");
        return false;
    }
    if (format == RegFormat::Regedit5 && isStringType(op->type)) {
        if (op->data.size() % 2 != 0) {
            *why = QStringLiteral("UTF-16 text data has an odd number of bytes");
            return false;
        }
        op->data = fromUtf16Le(op->data);
    }
    return true;
}

bool parseValueLine(const QString& text, RegFormat format, RegFileOp* op, QString* why) {
    qsizetype pos = 0;
    if (text.startsWith(u'@')) {
        op->valueName.clear();
        pos = 1;
    } else if (!readQuoted(text, &pos, &op->valueName)) {
        *why = QStringLiteral("the value name is not closed by a double quote");
        return false;
    }
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
        ++pos;
    if (pos >= text.size() || text[pos] != u'=') {
        *why = QStringLiteral("\"=\" is missing after the value name");
        return false;
    }
    return parseData(text, pos + 1, format, op, why);
}

} // namespace

RegFileParse parseRegFile(const QByteArray& bytes) {
    RegFileParse result;
    std::vector<Line> lines;
    if (bytes.startsWith("\xff\xfe")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        const QString text = utf16(QByteArrayView(bytes).sliced(2));
        lines = splitLines(QStringView(text), [](QStringView s) { return s.toString(); });
    } else if (bytes.startsWith("\xef\xbb\xbf")) {
        lines = splitLines(QByteArrayView(bytes).sliced(3),
                           [](QByteArrayView s) { return QString::fromUtf8(s); });
    } else {
        lines =
            splitLines(QByteArrayView(bytes), [](QByteArrayView s) { return decodeReg4Line(s); });
    }
    const QString first = lines.empty() ? QString() : trimmed(lines.front().text);
    if (first != Header4 && first != Header5) {
        result.refused = true;
        result.error = QStringLiteral("not a registry file: its first line is neither \"%1\" nor "
                                      "\"%2\"")
                           .arg(Header4, Header5);
        return result;
    }
    result.format = first == Header4 ? RegFormat::Regedit4 : RegFormat::Regedit5;

    QString currentKey; // empty: no key, or a key that could not be used
    bool keyValid = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const int number = lines[i].number;
        QString text = trimmed(lines[i].text);
        // Hex data go on over lines that end in a backslash.
        const bool valueLine = text.startsWith(u'"') || text.startsWith(u'@');
        while (valueLine && text.endsWith(u'\\') && i + 1 < lines.size()) {
            text.chop(1);
            text += trimmed(lines[++i].text);
        }
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        auto warn = [&](const QString& why) {
            result.warnings << QStringLiteral("line %1: %2").arg(number).arg(why);
        };
        if (text.startsWith(u'[')) {
            const qsizetype close = text.lastIndexOf(u']');
            keyValid = false;
            if (close < 0 || !text.sliced(close + 1).trimmed().isEmpty()) {
                warn(QStringLiteral("a key line must end with \"]\""));
                continue;
            }
            const bool remove = text.size() > 1 && text[1] == u'-';
            currentKey = text.mid(remove ? 2 : 1, close - (remove ? 2 : 1));
            HKey root = 0;
            QString rootName, subPath;
            if (!splitRegKeyName(currentKey, &root, &rootName, &subPath)) {
                warn(QStringLiteral("\"%1\" is not a key of the registry").arg(currentKey));
                continue;
            }
            RegFileOp op;
            op.kind = remove ? RegFileOp::DeleteKey : RegFileOp::CreateKey;
            op.line = number;
            op.key = currentKey;
            result.ops.push_back(op);
            keyValid = !remove;
            continue;
        }
        if (text.startsWith(u'"') || text.startsWith(u'@')) {
            RegFileOp op;
            QString why;
            if (!parseValueLine(text, result.format, &op, &why)) {
                warn(why);
                continue;
            }
            if (!keyValid) {
                warn(QStringLiteral("a value outside a key that can be written"));
                continue;
            }
            op.line = number;
            op.key = currentKey;
            result.ops.push_back(std::move(op));
            continue;
        }
        warn(QStringLiteral("not a key, a value or a comment"));
    }
    return result;
}

RegImport importRegFile(Registry& registry, const QByteArray& bytes) {
    RegImport result;
    RegFileParse parse = parseRegFile(bytes);
    result.warnings = parse.warnings;
    if (parse.refused) {
        result.refused = true;
        result.error = parse.error;
        return result;
    }
    WriteBatch batch(registry);
    if (!batch.isOpen()) {
        result.error =
            QStringLiteral("the registry cannot be written (status %1)").arg(batch.finish());
        return result;
    }
    HKey current = 0;
    QString currentName;
    auto warn = [&](const RegFileOp& op, const QString& what, Status s) {
        result.warnings
            << QStringLiteral("line %1: cannot %2 (status %3)").arg(op.line).arg(what).arg(s);
    };
    for (const RegFileOp& op : parse.ops) {
        HKey root = 0;
        QString rootName, subPath;
        splitRegKeyName(op.key, &root, &rootName, &subPath);
        if (op.kind == RegFileOp::DeleteKey) {
            const Status s = registry.deleteKey(root, subPath);
            if (s == status::Success)
                ++result.keysDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the key %1").arg(op.key), s);
            continue;
        }
        if (op.kind == RegFileOp::CreateKey || op.key != currentName) {
            if (current)
                registry.closeKey(current);
            current = 0;
            currentName = op.key;
            const Status s = registry.createKey(root, subPath, &current);
            if (s != status::Success) {
                current = 0;
                warn(op, QStringLiteral("create the key %1").arg(op.key), s);
            } else if (op.kind == RegFileOp::CreateKey) {
                ++result.keysCreated;
            }
        }
        if (!current || op.kind == RegFileOp::CreateKey)
            continue;
        if (op.kind == RegFileOp::DeleteValue) {
            const Status s = registry.deleteValue(current, op.valueName);
            if (s == status::Success)
                ++result.valuesDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the value \"%1\"").arg(op.valueName), s);
            continue;
        }
        const Status s = registry.setValueEx(current, op.valueName, op.type, op.data.constData(),
                                             std::uint32_t(op.data.size()));
        if (s == status::Success)
            ++result.valuesSet;
        else
            warn(op, QStringLiteral("set the value \"%1\"").arg(op.valueName), s);
    }
    if (current)
        registry.closeKey(current);
    const Status committed = batch.finish();
    if (committed != status::Success) {
        result.error = QStringLiteral("the changes could not be written (status %1); nothing was "
                                      "imported")
                           .arg(committed);
        result.keysCreated = result.keysDeleted = result.valuesSet = result.valuesDeleted = 0;
    }
    return result;
}

} // namespace orvanex::reg
