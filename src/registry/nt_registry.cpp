#include "registry/nt_registry.h"

namespace orvanex::reg {

NtRegistry::NtRegistry(const NtLocation& where) : m_where(where) {
    openHives();
}

KeyNode* NtRegistry::machineClasses() const {
    return m_hives[0].root->child(u"CLASSES");
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

} // namespace orvanex::reg
