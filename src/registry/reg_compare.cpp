#include "registry/reg_compare.h"

namespace orvanex::reg {

namespace {

// Adds the operations that make the key at path (open as key in registry) with its values and
// subkeys, as an export of it would.
Status addKeyOps(Registry& registry, HKey key, const QString& path, std::vector<RegFileOp>* ops) {
    ops->push_back({RegFileOp::CreateKey, 0, path, {}, 0, {}});
    RegFileOp value{RegFileOp::SetValue, 0, path, {}, 0, {}};
    Status s = status::Success;
    for (std::uint32_t i = 0; (s = registry.enumValue(key, i, &value.valueName, &value.type,
                                                      &value.data)) == status::Success;
         ++i)
        ops->push_back(value);
    if (s != status::NoMoreItems)
        return s;
    QStringList children;
    QString name;
    for (std::uint32_t i = 0; (s = registry.enumKeyEx(key, i, &name)) == status::Success; ++i)
        children << name;
    if (s != status::NoMoreItems)
        return s;
    for (const QString& child : children) {
        HKey h = 0;
        if ((s = registry.openKeyEx(key, child, 0, KEY_ALL_USED, &h)) != status::Success)
            return s;
        s = addKeyOps(registry, h, path + u'\\' + child, ops);
        registry.closeKey(h);
        if (s != status::Success)
            return s;
    }
    return status::Success;
}

// The operations that take away what before holds at the key: the key itself, or for a root
// (which cannot go) its subkeys and values.
Status addClearingOps(Registry& before, HKey key, const QString& path, bool isRoot,
                      std::vector<RegFileOp>* ops) {
    if (!isRoot) {
        ops->push_back({RegFileOp::DeleteKey, 0, path, {}, 0, {}});
        return status::Success;
    }
    QString name;
    std::uint32_t t = 0;
    QByteArray data;
    Status s = status::Success;
    for (std::uint32_t i = 0; (s = before.enumKeyEx(key, i, &name)) == status::Success; ++i)
        ops->push_back({RegFileOp::DeleteKey, 0, path + u'\\' + name, {}, 0, {}});
    if (s != status::NoMoreItems)
        return s;
    for (std::uint32_t i = 0; (s = before.enumValue(key, i, &name, &t, &data)) == status::Success;
         ++i)
        ops->push_back({RegFileOp::DeleteValue, 0, path, name, 0, {}});
    return s == status::NoMoreItems ? status::Success : s;
}

// Opens subPath below root: true when it exists, false when it does not; error set otherwise.
bool openIfThere(Registry& registry, HKey root, const QString& subPath, const QString& keyName,
                 HKey* key, QString* error) {
    const Status s = registry.openKeyEx(root, subPath, 0, KEY_ALL_USED, key);
    if (s != status::Success && s != status::FileNotFound)
        *error = QStringLiteral("cannot open %1 (status %2)").arg(keyName).arg(s);
    return s == status::Success;
}

bool isUnder(const QString& key, QLatin1String top) {
    return key.startsWith(top, Qt::CaseInsensitive) &&
           (key.size() == top.size() || key[top.size()] == u'\\');
}

} // namespace

RegDiff compareRegistryKeys(Registry& before, Registry& after, const QString& keyName) {
    RegDiff diff;
    HKey root = 0;
    QString rootName, subPath;
    if (!splitRegKeyName(keyName, &root, &rootName, &subPath)) {
        diff.error = QStringLiteral("\"%1\" is not a registry key name").arg(keyName);
        return diff;
    }
    const QString path = subPath.isEmpty() ? rootName : rootName + u'\\' + subPath;
    HKey was = 0, now = 0;
    const bool inBefore = openIfThere(before, root, subPath, keyName, &was, &diff.error);
    const bool inAfter = openIfThere(after, root, subPath, keyName, &now, &diff.error);
    RegFileParse parse;
    Status s = status::Success;
    if (diff.error.isEmpty() && !inBefore && !inAfter)
        diff.error = QStringLiteral("the key %1 does not exist in either").arg(keyName);
    if (diff.error.isEmpty() && inBefore)
        s = addClearingOps(before, was, path, subPath.isEmpty(), &parse.ops);
    if (diff.error.isEmpty() && s == status::Success && inAfter)
        s = addKeyOps(after, now, path, &parse.ops);
    if (inBefore)
        before.closeKey(was);
    if (inAfter)
        after.closeKey(now);
    if (diff.error.isEmpty() && s != status::Success)
        diff.error = QStringLiteral("cannot read the key %1 (status %2)").arg(keyName).arg(s);
    if (!diff.error.isEmpty())
        return diff;
    return diffRegParse(before, parse, QByteArray());
}

RegDiff compareRegistries(Registry& before, Registry& after) {
    RegDiff all;
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                             "HKEY_USERS", "HKEY_CURRENT_CONFIG"}) {
        RegDiff one = compareRegistryKeys(before, after, QLatin1String(root));
        if (!one.error.isEmpty())
            return one;
        for (RegChange& c : one.changes)
            // The classes root is compared on its own; it is not listed twice.
            if (!isUnder(c.key, QLatin1String("HKEY_LOCAL_MACHINE\\Software\\Classes")))
                all.changes.push_back(std::move(c));
    }
    return all;
}

} // namespace orvanex::reg
