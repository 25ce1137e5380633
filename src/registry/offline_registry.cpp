#include "registry/offline_registry.h"

#include <array>

namespace orvanex::reg {

Status OfflineRegistry::resolvePath(HKey key, const QString& subKey, View* view,
                                    std::vector<QStringView>* parts) {
    if (Status s = resolve(key, view))
        return s;
    return splitChecked(subKey, parts);
}

Status OfflineRegistry::createKey(HKey key, const QString& subKey, HKey* result) {
    if (!result)
        return status::InvalidParameter;
    View view;
    std::vector<QStringView> parts;
    if (Status s = resolvePath(key, subKey, &view, &parts))
        return s;
    // Down the existing part of the path. A link that leads nowhere is not made into a key.
    std::size_t i = 0;
    for (bool broken = false; i < parts.size(); ++i)
        if (stepDown(&view, parts[i], &broken) != status::Success) {
            if (broken)
                return status::FileNotFound;
            break;
        }
    if (i < parts.size()) {
        // A new key goes below the machine's copy when there is one, as Windows does it.
        KeyNode* at = view.merged ? (view.machine ? view.machine : view.user) : view.node;
        if (!at || !mayEdit(Edit::AddKey, at))
            return status::AccessDenied;
        const Status s = write([&]() -> Status {
            for (std::size_t j = i; j < parts.size(); ++j) {
                at = at->ensureChild(parts[j]);
                if (Status e = applyEdit({Edit::AddKey, at, {}}))
                    return e;
            }
            return status::Success;
        });
        if (s != status::Success)
            return s;
        if (at->deleted)
            return status::CantWrite; // dropped again because the save failed
        if (!view.merged) {
            view.node = at;
        } else {
            for (std::size_t j = i; j < parts.size(); ++j)
                view.relative.append(parts[j].toString());
            // The other copy has no such key.
            const bool onMachine = view.machine != nullptr;
            view.machine = onMachine ? at : nullptr;
            view.user = onMachine ? nullptr : at;
        }
    }
    *result = newHandle(view);
    return *result ? status::Success : status::NotEnoughMemory;
}

Status OfflineRegistry::setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                                   const char* data, std::uint32_t dataSize) {
    if (valueName.size() > MaxValueNameLength || (!data && dataSize > 0))
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    if (!node || !mayEdit(Edit::SetValue, node))
        return status::AccessDenied;
    return write([&]() {
        node->setValue(valueName, valueType, QByteArray(data, qsizetype(dataSize)));
        return applyEdit({Edit::SetValue, node, valueName});
    });
}

Status OfflineRegistry::deleteKey(HKey key, const QString& subKey) {
    View view;
    std::vector<QStringView> parts;
    if (Status s = resolvePath(key, subKey, &view, &parts))
        return s;
    if (view.merged && view.relative.isEmpty() && parts.empty())
        return status::AccessDenied;
    // Through the links on the way; the last name is the key itself, a link is never deleted.
    for (std::size_t i = 0; i + 1 < parts.size(); ++i)
        if (Status s = stepDown(&view, parts[i]))
            return s;
    std::vector<KeyNode*> targets;
    // Both copies go, or the machine's would show again in the user's place.
    const std::array<KeyNode*, 2> copies = view.merged
                                               ? std::array<KeyNode*, 2>{view.user, view.machine}
                                               : std::array<KeyNode*, 2>{view.node, nullptr};
    for (KeyNode* n : copies)
        if (n && (parts.empty() || (n = n->findChild(parts.back()))))
            targets.push_back(n);
    if (targets.empty())
        return status::FileNotFound;
    for (KeyNode* n : targets)
        if ((m_hasLinks && isLink(n)) || !mayEdit(Edit::DeleteKey, n))
            return status::AccessDenied;
    return write([&]() -> Status {
        for (KeyNode* n : targets) {
            if (Status s = applyEdit({Edit::DeleteKey, n, {}}))
                return s;
            n->parent->removeChild(n->folded);
        }
        return status::Success;
    });
}

Status OfflineRegistry::deleteValue(HKey key, const QString& valueName) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    if (!node || !node->findValue(valueName))
        return status::FileNotFound;
    if (!mayEdit(Edit::DeleteValue, node))
        return status::AccessDenied;
    return write([&]() -> Status {
        if (Status s = applyEdit({Edit::DeleteValue, node, valueName}))
            return s;
        node->removeValue(valueName);
        return status::Success;
    });
}

} // namespace orvanex::reg
