#include "registry/nt_registry.h"

#include <cstring>

namespace orvanex::reg {

namespace {

bool isStringType(std::uint32_t type) {
    return type == type::Sz || type == type::ExpandSz || type == type::MultiSz;
}

// Splits a relative path and checks its names (161 for an empty name, 87 for a long one).
Status splitChecked(const QString& subKey, std::vector<QStringView>* parts) {
    if (!splitKeyPath(subKey, parts))
        return status::BadPathname;
    for (QStringView p : *parts)
        if (p.size() > MaxKeyNameLength)
            return status::InvalidParameter;
    return status::Success;
}

KeyNode* walkDown(KeyNode* node, const QStringList& names) {
    for (const QString& n : names) {
        if (!node)
            return nullptr;
        node = node->findChild(n);
    }
    return node;
}

} // namespace

NtRegistry::NtRegistry(const NtLocation& where) : m_where(where) {
    openHives();
}

KeyNode* NtRegistry::machineClasses() const {
    return m_hives[0].root->child(u"CLASSES");
}

Status NtRegistry::resolve(HKey key, View* view) {
    *view = View();
    switch (key) {
    case HKEY_CLASSES_ROOT:
        view->merged = true;
        view->user = userClasses();
        view->machine = machineClasses();
        return status::Success;
    case HKEY_LOCAL_MACHINE:
        view->node = m_top.child(u"HKEY_LOCAL_MACHINE");
        return status::Success;
    case HKEY_CURRENT_USER:
        view->node = m_top.child(u"HKEY_CURRENT_USER");
        return status::Success;
    case HKEY_USERS:
        view->node = m_top.child(u"HKEY_USERS");
        return status::Success;
    case HKEY_CURRENT_CONFIG:
        view->node = m_top.child(u"HKEY_CURRENT_CONFIG");
        return status::Success;
    default:
        break;
    }
    HandleSlot* handle = m_handles.find(key);
    if (!handle)
        return status::InvalidHandle;
    HandleSlot& slot = *handle;
    if (!slot.merged) {
        if (slot.node->deleted)
            return status::KeyDeleted;
        view->node = slot.node.get();
        return status::Success;
    }
    // Either copy may have been made or deleted since the handle was opened.
    view->merged = true;
    view->relative = slot.relative;
    if (!slot.user || slot.user->deleted) {
        KeyNode* found = walkDown(userClasses(), slot.relative);
        slot.user = found ? found->shared_from_this() : nullptr;
    }
    if (!slot.machine || slot.machine->deleted) {
        KeyNode* found = walkDown(machineClasses(), slot.relative);
        slot.machine = found ? found->shared_from_this() : nullptr;
    }
    view->user = slot.user.get();
    view->machine = slot.machine.get();
    return view->user || view->machine ? status::Success : status::KeyDeleted;
}

HKey NtRegistry::newHandle(const View& view) {
    HKey key = 0;
    HandleSlot* opened = m_handles.open(&key);
    if (!opened)
        return 0;
    HandleSlot& slot = *opened;
    slot.merged = view.merged;
    slot.node = view.node ? view.node->shared_from_this() : nullptr;
    slot.user = view.user ? view.user->shared_from_this() : nullptr;
    slot.machine = view.machine ? view.machine->shared_from_this() : nullptr;
    slot.relative = view.relative;
    return key;
}

NtRegistry::Hive* NtRegistry::hiveOf(const KeyNode* node) {
    for (const KeyNode* n = node; n; n = n->parent)
        for (Hive& hive : m_hives)
            if (n == hive.root)
                return hive.file && hive.file->holds(node) ? &hive : nullptr;
    return nullptr;
}

// The roots, the hives' own roots and the machine's Classes key stay: Windows cannot do without
// them.
bool NtRegistry::isProtected(const KeyNode* node) const {
    if (!node->parent || !node->parent->parent || node == machineClasses())
        return true;
    for (const Hive& hive : m_hives)
        if (node == hive.root)
            return true;
    return false;
}

template <typename Change> Status NtRegistry::write(Change&& change) {
    if (m_readOnly)
        return status::AccessDenied;
    if (Status s = beginBatch())
        return s;
    const Status s = change();
    if (s != status::Success)
        m_batchStatus = s;
    const Status committed = endBatch();
    return s != status::Success ? s : committed;
}

Status NtRegistry::beginBatch() {
    if (m_readOnly)
        return status::AccessDenied;
    if (m_batchDepth++ == 0)
        m_batchStatus = status::Success;
    return status::Success;
}

Status NtRegistry::endBatch() {
    if (m_batchDepth == 0)
        return status::InvalidParameter;
    if (--m_batchDepth > 0)
        return status::Success;
    return commitDirty();
}

NtRegistry::Hive* NtRegistry::hiveBelow(const KeyNode* node) {
    for (const KeyNode* n = node; n; n = n->parent)
        for (Hive& hive : m_hives)
            if (n == hive.root)
                return hive.file && hive.file->holds(n) ? &hive : nullptr;
    return nullptr;
}

bool NtRegistry::addKeys(KeyNode** at, const std::vector<QStringView>& parts, std::size_t from) {
    Hive* hive = hiveBelow(*at);
    if (!hive)
        return false;
    hive->dirty = true;
    ++m_shape;
    // Keys only the tree has (the machine's Classes of a hive without one) go into the hive first.
    std::vector<KeyNode*> missing;
    for (KeyNode* n = *at; !hive->file->holds(n); n = n->parent)
        missing.push_back(n);
    for (auto n = missing.rbegin(); n != missing.rend(); ++n) {
        QString why;
        if (!hive->file->addChild((*n)->parent, *n, &why)) {
            setProblem(why);
            return false;
        }
    }
    for (std::size_t j = from; j < parts.size(); ++j) {
        KeyNode* child = (*at)->ensureChild(parts[j]);
        QString why;
        if (!hive->file->addChild(*at, child, &why)) {
            setProblem(why);
            return false;
        }
        *at = child;
    }
    return true;
}

Status NtRegistry::openKeyEx(HKey key, const QString& subKey, std::uint32_t, std::uint32_t,
                             HKey* result) {
    if (!result)
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    std::vector<QStringView> parts;
    if (Status s = splitChecked(subKey, &parts))
        return s;
    for (QStringView p : parts) {
        if (view.merged) {
            view.user = view.user ? view.user->findChild(p) : nullptr;
            view.machine = view.machine ? view.machine->findChild(p) : nullptr;
            if (!view.user && !view.machine)
                return status::FileNotFound;
            view.relative.append(p.toString());
        } else if (!(view.node = view.node->findChild(p))) {
            return status::FileNotFound;
        }
    }
    *result = newHandle(view);
    return *result ? status::Success : status::NotEnoughMemory;
}

Status NtRegistry::createKey(HKey key, const QString& subKey, HKey* result) {
    if (!result)
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    std::vector<QStringView> parts;
    if (Status s = splitChecked(subKey, &parts))
        return s;
    // Down the existing part of the path.
    std::size_t i = 0;
    for (; i < parts.size(); ++i) {
        if (view.merged) {
            KeyNode* u = view.user ? view.user->findChild(parts[i]) : nullptr;
            KeyNode* m = view.machine ? view.machine->findChild(parts[i]) : nullptr;
            if (!u && !m)
                break;
            view.user = u;
            view.machine = m;
            view.relative.append(parts[i].toString());
        } else {
            KeyNode* n = view.node->findChild(parts[i]);
            if (!n)
                break;
            view.node = n;
        }
    }
    if (i < parts.size()) {
        // A new key goes below the machine's copy when there is one, as Windows does it.
        KeyNode* at = view.merged ? (view.machine ? view.machine : view.user) : view.node;
        if (!at || !hiveBelow(at))
            return status::AccessDenied;
        const Status s = write([&]() -> Status {
            return addKeys(&at, parts, i) ? status::Success : status::CantWrite;
        });
        if (s != status::Success)
            return s;
        if (at->deleted)
            return status::CantWrite; // dropped again because the commit failed
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

Status NtRegistry::queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType,
                                char* data, std::uint32_t* dataSize) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    if (data && !dataSize)
        return status::InvalidParameter;
    KeyNode* node = view.valueNode();
    const StoredValue* v = node ? node->findValue(valueName) : nullptr;
    if (!v)
        return status::FileNotFound;
    const bool addNul = isStringType(v->type) && !v->data.endsWith('\0');
    const auto needed = std::uint32_t(v->data.size() + (addNul ? 1 : 0));
    if (valueType)
        *valueType = v->type;
    if (data) {
        if (*dataSize < needed) {
            *dataSize = needed;
            return status::MoreData;
        }
        if (!v->data.isEmpty())
            std::memcpy(data, v->data.constData(), size_t(v->data.size()));
        if (addNul)
            data[v->data.size()] = '\0';
    }
    if (dataSize)
        *dataSize = needed;
    return status::Success;
}

Status NtRegistry::setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                              const char* data, std::uint32_t dataSize) {
    if (valueName.size() > MaxValueNameLength || (!data && dataSize > 0))
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    Hive* hive = node ? hiveOf(node) : nullptr;
    if (!hive)
        return status::AccessDenied;
    return write([&]() -> Status {
        node->setValue(valueName, valueType, QByteArray(data, qsizetype(dataSize)));
        hive->dirty = true;
        QString why;
        if (!hive->file->setValue(node, *node->findValue(valueName), &why)) {
            setProblem(why);
            return status::CantWrite;
        }
        return status::Success;
    });
}

Status NtRegistry::deleteKey(HKey key, const QString& subKey) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    std::vector<QStringView> parts;
    if (Status s = splitChecked(subKey, &parts))
        return s;
    std::vector<KeyNode*> targets;
    if (view.merged) {
        if (view.relative.isEmpty() && parts.empty())
            return status::AccessDenied;
        QStringList names = view.relative;
        for (QStringView p : parts)
            names.append(p.toString());
        // Both copies go, or the machine's would show again in the user's place.
        for (KeyNode* classes : {userClasses(), machineClasses()})
            if (KeyNode* n = walkDown(classes, names))
                targets.push_back(n);
    } else {
        KeyNode* n = view.node;
        for (QStringView p : parts)
            if (n)
                n = n->findChild(p);
        if (n)
            targets.push_back(n);
    }
    if (targets.empty())
        return status::FileNotFound;
    for (KeyNode* n : targets)
        if (isProtected(n) || !hiveOf(n))
            return status::AccessDenied;
    return write([&]() -> Status {
        for (KeyNode* n : targets) {
            Hive* hive = hiveOf(n);
            hive->dirty = true;
            ++m_shape;
            QString why;
            if (!hive->file->deleteKey(n, &why)) {
                setProblem(why);
                return status::CantWrite;
            }
            n->parent->removeChild(n->folded);
        }
        return status::Success;
    });
}

Status NtRegistry::deleteValue(HKey key, const QString& valueName) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    if (!node || !node->findValue(valueName))
        return status::FileNotFound;
    Hive* hive = hiveOf(node);
    if (!hive)
        return status::AccessDenied;
    return write([&]() -> Status {
        hive->dirty = true;
        QString why;
        if (!hive->file->deleteValue(node, valueName, &why)) {
            setProblem(why);
            return status::CantWrite;
        }
        node->removeValue(valueName);
        return status::Success;
    });
}

Status NtRegistry::childName(HandleSlot* slot, const View& view, std::uint32_t index,
                             QString* name) {
    if (!view.merged || !view.user || !view.machine || view.user->children().empty() ||
        view.machine->children().empty()) {
        const KeyNode* node =
            view.merged ? (view.user && !view.user->children().empty() ? view.user : view.machine)
                        : view.node;
        if (!node || index >= node->children().size())
            return status::NoMoreItems;
        *name = node->children()[index]->name;
        return status::Success;
    }
    // Both copies have subkeys: their union in name order, the user's spelling first.
    HandleSlot temporary;
    HandleSlot& s = slot ? *slot : temporary;
    if (s.namesShape != m_shape || s.names.empty()) {
        s.names.clear();
        const auto& a = view.user->children();
        const auto& b = view.machine->children();
        std::size_t i = 0, j = 0;
        while (i < a.size() || j < b.size()) {
            if (j == b.size() || (i < a.size() && a[i]->folded <= b[j]->folded)) {
                if (j < b.size() && a[i]->folded == b[j]->folded)
                    ++j;
                s.names.push_back(a[i++]->name);
            } else {
                s.names.push_back(b[j++]->name);
            }
        }
        s.namesShape = m_shape;
    }
    if (index >= s.names.size())
        return status::NoMoreItems;
    *name = s.names[index];
    return status::Success;
}

Status NtRegistry::enumKeyEx(HKey key, std::uint32_t index, QString* name) {
    if (!name)
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    HandleSlot* slot = nullptr;
    if (key == HKEY_CLASSES_ROOT)
        slot = &m_rootNames;
    else
        slot = m_handles.find(key);
    return childName(slot, view, index, name);
}

Status NtRegistry::enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                             QByteArray* data) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    const KeyNode* node = view.valueNode();
    if (!node || index >= node->values().size())
        return status::NoMoreItems;
    const StoredValue& v = node->values()[index];
    if (name)
        *name = v.name;
    if (valueType)
        *valueType = v.type;
    if (data)
        *data = v.data;
    return status::Success;
}

Status NtRegistry::closeKey(HKey key) {
    if (isPredefinedKey(key))
        return status::Success;
    return m_handles.close(key) ? status::Success : status::InvalidHandle;
}

} // namespace orvanex::reg
