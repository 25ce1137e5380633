#include "registry/faulty_registry.h"

namespace orvanex::reg {

void FaultyRegistry::failWritesAt(const QString& keyPath, Status code) {
    m_failPaths.insert(keyPath.toLower(), code);
}

bool FaultyRegistry::classesPath(HKey key, const QString& subKey, QString* path) const {
    QString base;
    if (key != HKEY_CLASSES_ROOT) {
        const auto it = m_paths.constFind(key);
        if (it == m_paths.constEnd())
            return false;
        base = *it;
    }
    *path = base.isEmpty() ? subKey : subKey.isEmpty() ? base : base + u'\\' + subKey;
    return true;
}

bool FaultyRegistry::refuses(const QString& path, Status* code) {
    const QString lower = path.toLower();
    for (auto it = m_failPaths.constBegin(); it != m_failPaths.constEnd(); ++it)
        if (it.key().isEmpty() || lower == it.key() || lower.startsWith(it.key() + u'\\')) {
            *code = it.value();
            ++m_failed;
            return true;
        }
    return false;
}

void FaultyRegistry::remember(HKey handle, HKey parent, const QString& subKey) {
    QString path;
    if (classesPath(parent, subKey, &path))
        m_paths.insert(handle, path);
}

Status FaultyRegistry::openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                                 std::uint32_t samDesired, HKey* result) {
    const Status s = m_inner.openKeyEx(key, subKey, options, samDesired, result);
    if (s == status::Success)
        remember(*result, key, subKey);
    return s;
}

Status FaultyRegistry::createKey(HKey key, const QString& subKey, HKey* result) {
    QString path;
    Status code = status::Success;
    if (classesPath(key, subKey, &path) && refuses(path, &code))
        return code;
    const Status s = m_inner.createKey(key, subKey, result);
    if (s == status::Success)
        remember(*result, key, subKey);
    return s;
}

Status FaultyRegistry::setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                                  const char* data, std::uint32_t dataSize) {
    QString path;
    Status code = status::Success;
    if (classesPath(key, QString(), &path) && refuses(path, &code))
        return code;
    return m_inner.setValueEx(key, valueName, valueType, data, dataSize);
}

Status FaultyRegistry::deleteKey(HKey key, const QString& subKey) {
    QString path;
    Status code = status::Success;
    if (classesPath(key, subKey, &path) && refuses(path, &code))
        return code;
    return m_inner.deleteKey(key, subKey);
}

Status FaultyRegistry::deleteValue(HKey key, const QString& valueName) {
    QString path;
    Status code = status::Success;
    if (classesPath(key, QString(), &path) && refuses(path, &code))
        return code;
    return m_inner.deleteValue(key, valueName);
}

Status FaultyRegistry::closeKey(HKey key) {
    m_paths.remove(key);
    return m_inner.closeKey(key);
}

} // namespace orvanex::reg
