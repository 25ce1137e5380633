#include "model/icon_location.h"

#include "model/registry_access.h"

#include <algorithm>
#include <climits>

namespace orvanex::model {

namespace {

QString unquoted(QString text) {
    return reg::StripQuotes(text);
}

// The number its leading digits make ("12x" gives 12, "x" gives 0), capped at the 32-bit range.
std::int32_t leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qint64 n = 0;
    for (const QChar c : t) {
        if (c < u'0' || c > u'9')
            break;
        n = std::min<qint64>(n * 10 + (c.unicode() - u'0'), INT32_MAX);
    }
    return static_cast<std::int32_t>(n);
}

} // namespace

IconLocation SplitIconLocation(const QString& value) {
    IconLocation icon;
    icon.Present = true;
    icon.Raw = unquoted(value);
    const qsizetype comma = icon.Raw.lastIndexOf(u',');
    if (comma >= 0) {
        icon.File = unquoted(icon.Raw.left(comma));
        icon.IndexText = icon.Raw.mid(comma + 1);
        // Text comparison as the original: anything sorting below "0" (a minus sign, an empty
        // text) means the first icon; a text that is not a number reads as 0 too.
        if (icon.IndexText.compare(QLatin1String("0")) >= 0)
            icon.Index = leadingNumber(icon.IndexText);
    } else {
        icon.File = unquoted(icon.Raw);
    }
    const qsizetype dot = icon.File.lastIndexOf(u'.');
    icon.Kind = icon.File.mid(dot + 1).toUpper();
    return icon;
}

bool isIconContainerKind(const QString& kind) {
    static const QStringList kinds{QStringLiteral("EXE"), QStringLiteral("DLL"),
                                   QStringLiteral("CPL"), QStringLiteral("PKG"),
                                   QStringLiteral("ICL")};
    return kinds.contains(kind);
}

bool isIconKind(const QString& kind) {
    return isIconContainerKind(kind) || kind == QLatin1String("ICO");
}

bool FileExists(const platform::DriveMap& drives, const QString& path) {
    return drives.fileExists(path);
}

bool FileExistsMemo::exists(const platform::DriveMap& drives, const QString& path) {
    const QString key = path.toUpper(); // Windows names ignore case
    const auto it = m_known.constFind(key);
    if (it != m_known.cend())
        return it.value();
    const bool found = FileExists(drives, path);
    m_known.insert(key, found);
    return found;
}

IconLocation ReadDefaultIcon(detail::OpenedKey& typeKey, const platform::DriveMap& drives,
                             FileExistsMemo* memo) {
    QString value;
    if (!typeKey.readText(QStringLiteral("DefaultIcon"), QString(), &value))
        return IconLocation();
    return IconFromValue(value, drives, memo);
}

IconLocation ReadDefaultIcon(reg::RegState& state, const platform::DriveMap& drives,
                             const QString& typeName, FileExistsMemo* memo) {
    detail::OpenedKey key(state, typeName);
    return ReadDefaultIcon(key, drives, memo);
}

IconLocation IconFromValue(const QString& value, const platform::DriveMap& drives,
                           FileExistsMemo* memo) {
    IconLocation icon = SplitIconLocation(value);
    if (isIconKind(icon.Kind) &&
        ((icon.File.size() > 1 && icon.File[1] == u':') || icon.File.startsWith(u'%')))
        icon.Exists = memo ? memo->exists(drives, icon.File) : FileExists(drives, icon.File);
    return icon;
}

} // namespace orvanex::model
