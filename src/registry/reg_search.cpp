#include "registry/reg_search.h"
#include "registry/reg_file.h"

namespace orvanex::reg {

namespace {

struct TypeName {
    std::uint32_t type;
    const char* name;
};
const TypeName TypeNames[] = {
    {type::None, "REG_NONE"},          {type::Sz, "REG_SZ"},
    {type::ExpandSz, "REG_EXPAND_SZ"}, {type::Binary, "REG_BINARY"},
    {type::Dword, "REG_DWORD"},        {type::DwordBigEndian, "REG_DWORD_BIG_ENDIAN"},
    {type::Link, "REG_LINK"},          {type::MultiSz, "REG_MULTI_SZ"},
    {type::Qword, "REG_QWORD"},
};

class Walk {
public:
    Walk(Registry& registry, const RegSearchOptions& options,
         const std::function<void(const RegSearchKey&)>& take)
        : m_registry(registry), m_options(options), m_take(take) {
        const bool anyField = options.keyNames || options.valueNames || options.data;
        m_keyNames = !anyField || options.keyNames;
        m_valueNames = !anyField || options.valueNames;
        m_data = !anyField || options.data;
    }

    // The key at path (open as key): its values, then its subkeys.
    Status visit(HKey key, const QString& path, bool matched, bool recurse) {
        RegSearchKey found{path, matched, {}};
        RegSearchValue v;
        Status s = status::Success;
        for (std::uint32_t i = 0;
             (s = m_registry.enumValue(key, i, &v.name, &v.type, &v.data)) == status::Success; ++i)
            if (valueFound(v))
                found.values.push_back(v);
        if (s != status::NoMoreItems)
            return fail(s, path);
        if (found.matched || !found.values.empty()) {
            m_result.found += int(found.matched) + int(found.values.size());
            m_take(found);
        }
        QStringList children;
        QString name;
        for (std::uint32_t i = 0; (s = m_registry.enumKeyEx(key, i, &name)) == status::Success; ++i)
            children << name;
        if (s != status::NoMoreItems)
            return fail(s, path);
        for (const QString& child : children) {
            const QString childPath = path + u'\\' + child;
            const bool childMatched = m_options.find.isEmpty() ? !m_options.valueType.has_value()
                                                               : m_keyNames && matches(child);
            if (!recurse) {
                if (childMatched) {
                    ++m_result.found;
                    m_take({childPath, true, {}});
                }
                continue;
            }
            HKey h = 0;
            if ((s = m_registry.openKeyEx(key, child, 0, KEY_ALL_USED, &h)) != status::Success)
                return fail(s, childPath);
            s = visit(h, childPath, childMatched, true);
            m_registry.closeKey(h);
            if (s != status::Success)
                return s;
        }
        return status::Success;
    }

    RegSearchResult& result() { return m_result; }

private:
    bool matches(const QString& text) const {
        return m_options.exact ? text.compare(m_options.find, Qt::CaseInsensitive) == 0
                               : text.contains(m_options.find, Qt::CaseInsensitive);
    }

    bool valueFound(const RegSearchValue& v) const {
        if (m_options.valueType && v.type != *m_options.valueType)
            return false;
        if (m_options.find.isEmpty())
            return true;
        return (m_valueNames && matches(v.name)) ||
               (m_data && matches(regDataText(v.type, v.data)));
    }

    Status fail(Status s, const QString& path) {
        m_result.status = s;
        m_result.error = QStringLiteral("cannot read the key %1 (status %2)").arg(path).arg(s);
        return s;
    }

    Registry& m_registry;
    const RegSearchOptions& m_options;
    const std::function<void(const RegSearchKey&)>& m_take;
    bool m_keyNames = true;
    bool m_valueNames = true;
    bool m_data = true;
    RegSearchResult m_result;
};

} // namespace

QString regTypeName(std::uint32_t t) {
    for (const TypeName& n : TypeNames)
        if (n.type == t)
            return QString::fromLatin1(n.name);
    return QStringLiteral("0x%1").arg(t, 0, 16);
}

bool regTypeFromName(const QString& name, std::uint32_t* t) {
    for (const TypeName& n : TypeNames)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            *t = n.type;
            return true;
        }
    // A type without a name, as regTypeName writes it.
    bool ok = false;
    const std::uint32_t number = name.sliced(qMin<qsizetype>(2, name.size())).toUInt(&ok, 16);
    if (!name.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || !ok)
        return false;
    *t = number;
    return true;
}

QString regDataText(std::uint32_t t, const QByteArray& data) {
    if (t == type::Sz || t == type::ExpandSz) {
        const qsizetype nul = data.indexOf('\0');
        return QString::fromUtf8(nul < 0 ? data : data.left(nul));
    }
    if (t == type::MultiSz) {
        QByteArray parts = data;
        while (parts.endsWith('\0'))
            parts.chop(1);
        return QString::fromUtf8(parts).replace(QChar(u'\0'), QLatin1String("\\0"));
    }
    if ((t == type::Dword && data.size() == 4) || (t == type::Qword && data.size() == 8)) {
        quint64 v = 0;
        for (qsizetype i = data.size(); i-- > 0;)
            v = (v << 8) | std::uint8_t(data[i]);
        return QStringLiteral("0x%1").arg(v, 0, 16);
    }
    return QString::fromLatin1(data.toHex()).toUpper();
}

RegSearchResult searchRegistry(Registry& registry, const QString& keyName,
                               const RegSearchOptions& options,
                               const std::function<void(const RegSearchKey&)>& take) {
    RegSearchResult result;
    HKey root = 0;
    QString rootName, subPath;
    if (!splitRegKeyName(keyName, &root, &rootName, &subPath)) {
        result.status = status::InvalidParameter;
        result.error = QStringLiteral("\"%1\" is not a registry key name").arg(keyName);
        return result;
    }
    HKey key = 0;
    const Status s = registry.openKeyEx(root, subPath, 0, KEY_ALL_USED, &key);
    if (s != status::Success) {
        result.status = s;
        result.error = s == status::FileNotFound
                           ? QStringLiteral("the key %1 does not exist").arg(keyName)
                           : QStringLiteral("cannot open %1 (status %2)").arg(keyName).arg(s);
        return result;
    }
    Walk walk(registry, options, take);
    // The key searched is given, not found: only a plain listing shows it for itself.
    const bool listed = options.find.isEmpty() && !options.valueType;
    walk.visit(key, subPath.isEmpty() ? rootName : rootName + u'\\' + subPath, listed,
               options.recursive);
    registry.closeKey(key);
    return walk.result();
}

} // namespace orvanex::reg
