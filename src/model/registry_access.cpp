#include "model/registry_access.h"

namespace orvanex::model::detail {

bool keyOpens(reg::RegState& state, const QString& keyPath) {
    state.RootKey = reg::HKEY_CLASSES_ROOT;
    state.KeyPath = keyPath;
    reg::HKey key = 0;
    state.LastStatus =
        state.registry->openKeyEx(state.RootKey, keyPath, 0, reg::KEY_ALL_USED, &key);
    if (state.LastStatus != reg::status::Success)
        return false;
    state.OpenKey = key;
    state.registry->closeKey(key);
    return true;
}

namespace {

bool queryText(reg::RegState& state, reg::HKey key, const QString& valueName, QString* text) {
    reg::RegValue value;
    state.LastStatus = reg::QueryValueEx(state, key, valueName, value);
    QString* found = std::get_if<QString>(&value);
    if (state.LastStatus != reg::status::Success || !found || found->size() <= 1)
        return false;
    found->chop(1); // the text is not shared: no copy
    *text = std::move(*found);
    return true;
}

} // namespace

bool readText(reg::RegState& state, const QString& keyPath, const QString& valueName, QString* text,
              bool* opened) {
    state.RootKey = reg::HKEY_CLASSES_ROOT;
    state.KeyPath = keyPath;
    reg::HKey key = 0;
    state.LastStatus =
        state.registry->openKeyEx(state.RootKey, keyPath, 0, reg::KEY_ALL_USED, &key);
    *opened = state.LastStatus == reg::status::Success;
    if (!*opened)
        return false;
    state.OpenKey = key;
    const bool found = queryText(state, key, valueName, text);
    state.registry->closeKey(key);
    return found;
}

OpenedKey::OpenedKey(reg::RegState& state, const QString& keyPath) : m_state(state) {
    state.RootKey = reg::HKEY_CLASSES_ROOT;
    state.KeyPath = keyPath;
    reg::HKey key = 0;
    state.LastStatus =
        state.registry->openKeyEx(state.RootKey, keyPath, 0, reg::KEY_ALL_USED, &key);
    if (state.LastStatus == reg::status::Success)
        m_key = key;
}

OpenedKey::OpenedKey(OpenedKey& parent, const QString& subPath) : m_state(parent.m_state) {
    if (!parent.m_key)
        return;
    reg::HKey key = 0;
    m_state.LastStatus =
        m_state.registry->openKeyEx(parent.m_key, subPath, 0, reg::KEY_ALL_USED, &key);
    if (m_state.LastStatus == reg::status::Success)
        m_key = key;
}

OpenedKey::~OpenedKey() {
    if (m_key)
        m_state.registry->closeKey(m_key);
}

bool OpenedKey::readText(const QString& subPath, const QString& valueName, QString* text) {
    if (!m_key)
        return false;
    if (subPath.isEmpty())
        return queryText(m_state, m_key, valueName, text);
    reg::HKey key = 0;
    m_state.LastStatus = m_state.registry->openKeyEx(m_key, subPath, 0, reg::KEY_ALL_USED, &key);
    if (m_state.LastStatus != reg::status::Success)
        return false;
    const bool found = queryText(m_state, key, valueName, text);
    m_state.registry->closeKey(key);
    return found;
}

QStringList OpenedKey::subkeys() {
    return m_key ? reg::EnumerateSubkeys(m_state, m_key) : QStringList();
}

} // namespace orvanex::model::detail
