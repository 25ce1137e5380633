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
    reg::RegValue value;
    state.LastStatus = reg::QueryValueEx(state, key, valueName, value);
    state.registry->closeKey(key);
    const QString* found = std::get_if<QString>(&value);
    if (state.LastStatus != reg::status::Success || !found || found->size() <= 1)
        return false;
    *text = found->left(found->size() - 1);
    return true;
}

} // namespace orvanex::model::detail
