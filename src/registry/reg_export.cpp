#include "registry/reg_file.h"
#include "registry/win1252.h"

#include <QStringEncoder>
#include <iterator>

namespace orvanex::reg {

namespace {

struct RootName {
    const char* full;
    const char* shortName;
    HKey key;
};
const RootName Roots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
};

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out;
}

bool isStringType(std::uint32_t t) {
    return t == type::Sz || t == type::ExpandSz || t == type::MultiSz;
}

// Whether the stored bytes of a REG_SZ can be written as a quoted string in this format. Text
// ends at its first NUL, as Windows exports it; bytes after it that are not NULs would be lost
// by that, so such data is written as hex(1) instead.
bool quotable(const QByteArray& data, RegFormat format, QString* text) {
    QByteArrayView body(data);
    if (const qsizetype nul = body.indexOf('\0'); nul >= 0) {
        for (qsizetype i = nul; i < body.size(); ++i)
            if (body[i] != '\0')
                return false;
        body.truncate(nul);
    }
    if (!isValidUtf8(body) || body.contains('\r') || body.contains('\n'))
        return false;
    *text = QString::fromUtf8(body);
    QByteArray ignored;
    return format == RegFormat::Regedit5 || encode1252(*text, &ignored);
}

// hex data wrapped the way the registry editor wraps it: a line is broken after the comma that
// takes it past column 76, and continues indented by two blanks.
void appendHex(QString& line, const QByteArray& data, QStringList* lines) {
    qsizetype column = line.size();
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = std::uint8_t(data[i]);
        line += QChar(digits[b >> 4]);
        line += QChar(digits[b & 15]);
        if (i + 1 == data.size())
            break;
        line += u',';
        column += 3;
        if (column > 76) {
            line += u'\\';
            lines->append(line);
            line = QStringLiteral("  ");
            column = 2;
        }
    }
    lines->append(line);
}

QByteArray toUtf16Le(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

void appendValue(const QString& name, std::uint32_t valueType, const QByteArray& data,
                 RegFormat format, QStringList* lines) {
    QString line =
        name.isEmpty() ? QStringLiteral("@=") : u'"' + escaped(name) + QStringLiteral("\"=");
    QString text;
    if (valueType == type::Sz && quotable(data, format, &text)) {
        lines->append(line + u'"' + escaped(text) + u'"');
        return;
    }
    if (valueType == type::Dword && data.size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(data.data());
        const std::uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
        lines->append(line + QStringLiteral("dword:%1").arg(v, 8, 16, QChar(u'0')));
        return;
    }
    line += valueType == type::Binary ? QStringLiteral("hex:")
                                      : QStringLiteral("hex(%1):").arg(valueType, 0, 16);
    appendHex(line,
              format == RegFormat::Regedit5 && isStringType(valueType) ? toUtf16Le(data) : data,
              lines);
}

bool badName(const QString& name) {
    return name.contains(u'\r') || name.contains(u'\n');
}

Status exportKey(Registry& registry, HKey key, const QString& header, RegFormat format,
                 QStringList* lines, QString* error) {
    if (badName(header)) {
        *error = QStringLiteral("the key name \"%1\" holds a line break, which a .reg file "
                                "cannot carry")
                     .arg(header);
        return status::InvalidParameter;
    }
    lines->append(u'[' + header + u']');
    QString name;
    std::uint32_t valueType = 0;
    QByteArray data;
    Status s = status::Success;
    for (std::uint32_t i = 0; (s = registry.enumValue(key, i, &name, &valueType, &data)) == 0;
         ++i) {
        if (badName(name)) {
            *error = QStringLiteral("the value name \"%1\" of [%2] holds a line break, which a "
                                    ".reg file cannot carry")
                         .arg(name, header);
            return status::InvalidParameter;
        }
        // A version 5 file holds text as UTF-16: bytes that are not UTF-8 would come back
        // changed, so such a value is refused rather than silently altered.
        if (format == RegFormat::Regedit5 && isStringType(valueType) && !isValidUtf8(data)) {
            *error = QStringLiteral("the value \"%1\" of [%2] is not valid text, which a version 5 "
                                    "file cannot hold unchanged; export as REGEDIT4")
                         .arg(name, header);
            return status::InvalidParameter;
        }
        appendValue(name, valueType, data, format, lines);
    }
    if (s != status::NoMoreItems)
        return s;
    lines->append(QString());
    for (std::uint32_t i = 0; (s = registry.enumKeyEx(key, i, &name)) == 0; ++i) {
        HKey child = 0;
        if ((s = registry.openKeyEx(key, name, 0, KEY_ALL_USED, &child)) != 0)
            return s;
        s = exportKey(registry, child, header + u'\\' + name, format, lines, error);
        registry.closeKey(child);
        if (s != status::Success)
            return s;
    }
    return s == status::NoMoreItems ? status::Success : s;
}

} // namespace

bool splitRegKeyName(QStringView keyName, HKey* root, QString* rootName, QStringView* subPath) {
    const qsizetype slash = keyName.indexOf(u'\\');
    const QStringView first = slash < 0 ? keyName : keyName.first(slash);
    for (const RootName& r : Roots)
        if (first.compare(QLatin1String(r.full), Qt::CaseInsensitive) == 0 ||
            first.compare(QLatin1String(r.shortName), Qt::CaseInsensitive) == 0) {
            // The names made once: every key line of a large file names its root.
            static const QString fullNames[std::size(Roots)] = {
                QString::fromLatin1(Roots[0].full), QString::fromLatin1(Roots[1].full),
                QString::fromLatin1(Roots[2].full), QString::fromLatin1(Roots[3].full),
                QString::fromLatin1(Roots[4].full)};
            *root = r.key;
            *rootName = fullNames[&r - Roots];
            *subPath = slash < 0 ? QStringView() : keyName.sliced(slash + 1);
            if (subPath->endsWith(u'\\'))
                subPath->chop(1);
            return !subPath->startsWith(u'\\') && !subPath->contains(QLatin1String("\\\\"));
        }
    return false;
}

bool splitRegKeyName(const QString& keyName, HKey* root, QString* rootName, QString* subPath) {
    QStringView below;
    if (!splitRegKeyName(QStringView(keyName), root, rootName, &below))
        return false;
    *subPath = below.toString();
    return true;
}

Status exportRegLines(Registry& registry, const QString& keyName, RegFormat format,
                      QStringList* lines, QString* error) {
    HKey root = 0;
    QString rootName, subPath;
    if (!splitRegKeyName(keyName, &root, &rootName, &subPath)) {
        *error = QStringLiteral("\"%1\" is not a registry key name").arg(keyName);
        return status::InvalidParameter;
    }
    HKey key = 0;
    Status s = registry.openKeyEx(root, subPath, 0, KEY_ALL_USED, &key);
    if (s == status::FileNotFound) {
        *error = QStringLiteral("the key %1 does not exist").arg(keyName);
        return s;
    }
    if (s == status::Success) {
        const QString header = subPath.isEmpty() ? rootName : rootName + u'\\' + subPath;
        s = exportKey(registry, key, header, format, lines, error);
        registry.closeKey(key);
    }
    if (s != status::Success && error->isEmpty())
        *error = QStringLiteral("cannot read the key %1 (status %2)").arg(keyName).arg(s);
    return s;
}

RegExport exportRegFile(Registry& registry, const QString& keyName, RegFormat format) {
    RegExport result;
    QStringList lines;
    lines << (format == RegFormat::Regedit4
                  ? QStringLiteral("REGEDIT4")
                  : QStringLiteral("Windows Registry Editor Version 5.00"))
          << QString();
    result.status = exportRegLines(registry, keyName, format, &lines, &result.error);
    if (result.status != status::Success)
        return result;
    if (format == RegFormat::Regedit4) {
        for (const QString& line : lines)
            result.bytes += encodeReg4Line(line) + "\r\n";
        return result;
    }
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    QStringEncoder toUtf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    result.bytes = toUtf16(text);
    return result;
}

} // namespace orvanex::reg
