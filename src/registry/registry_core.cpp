#include "registry/registry_core.h"

#include <cstring>
#include <utility>

namespace orvanex::reg {

namespace {

bool isStringType(std::uint32_t type) {
    return type == type::Sz || type == type::ExpandSz || type == type::MultiSz;
}

bool isAncestorOrSelf(const KeyNode* above, const KeyNode* node) {
    for (; node; node = node->parent)
        if (node == above)
            return true;
    return false;
}

// 161 for an empty name, 87 for a long one; the whole path is checked before any look-up.
Status checkPath(QStringView subKey) {
    bool tooLong = false;
    if (!forEachKeyPathPart(subKey, [&](QStringView p) { tooLong |= p.size() > MaxKeyNameLength; }))
        return status::BadPathname;
    return tooLong ? status::InvalidParameter : status::Success;
}

// The predefined keys that are one node of the tree each.
constexpr std::pair<HKey, QStringView> Roots[] = {
    {HKEY_LOCAL_MACHINE, u"HKEY_LOCAL_MACHINE"},
    {HKEY_CURRENT_USER, u"HKEY_CURRENT_USER"},
    {HKEY_USERS, u"HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, u"HKEY_CURRENT_CONFIG"},
};

} // namespace

Status RegistryCore::splitChecked(const QString& subKey, std::vector<QStringView>* parts) {
    if (!splitKeyPath(subKey, parts))
        return status::BadPathname;
    for (QStringView p : *parts)
        if (p.size() > MaxKeyNameLength)
            return status::InvalidParameter;
    return status::Success;
}

KeyNode* RegistryCore::walkDown(KeyNode* node, const QStringList& names) {
    for (const QString& n : names) {
        if (!node)
            return nullptr;
        node = node->findChild(n);
    }
    return node;
}

void RegistryCore::setProblem(const QString& problem) {
    if (m_problem.isEmpty())
        m_problem = problem;
    else if (!m_problem.contains(problem))
        m_problem += QStringLiteral("; ") + problem;
}

Status RegistryCore::resolve(HKey key, View* view) {
    if (key == HKEY_CLASSES_ROOT) {
        if (!m_mergedClasses) {
            view->node = machineClasses();
            return view->node ? status::Success : status::FileNotFound;
        }
        view->merged = true;
        view->user = userClasses();
        view->machine = machineClasses();
        return status::Success;
    }
    for (const auto& [root, name] : Roots)
        if (key == root) {
            view->node = m_top.child(name);
            return status::Success;
        }
    HandleSlot* handle = m_handles.find(key);
    if (!handle)
        return status::InvalidHandle;
    HandleSlot& slot = *handle;
    if (!slot.links.empty())
        view->links = slot.links;
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

Status RegistryCore::readView(HKey key, View* view) {
    if (Status s = readStatus())
        return s;
    return resolve(key, view);
}

HKey RegistryCore::newHandle(const View& view) {
    HKey key = 0;
    HandleSlot* opened = m_handles.open(&key);
    if (!opened)
        return 0; // a million keys open at once
    HandleSlot& slot = *opened;
    slot.merged = view.merged;
    slot.node = view.node ? view.node->shared_from_this() : nullptr;
    slot.user = view.user ? view.user->shared_from_this() : nullptr;
    slot.machine = view.machine ? view.machine->shared_from_this() : nullptr;
    slot.relative = view.relative;
    slot.links = view.links;
    return key;
}

KeyNode* RegistryCore::linkTarget(const KeyNode* link, int hops) const {
    KeyNode* at = nullptr;
    QStringList names;
    if (hops > MaxLinkHops || !linkPath(link, &at, &names))
        return nullptr;
    for (const QString& name : names) {
        if (!(at = at->findChild(name)))
            return nullptr;
        if (isLink(at) && !(at = linkTarget(at, hops + 1)))
            return nullptr;
    }
    return isLink(at) ? linkTarget(at, hops + 1) : at;
}

// A target at or above a link already passed (or this one) holds the way back to it: a walk
// down would never end.
bool RegistryCore::closesLoop(const View& view, const KeyNode* link, const KeyNode* target) const {
    if (isAncestorOrSelf(target, link))
        return true;
    for (const auto& passed : view.links)
        if (!passed->deleted && isAncestorOrSelf(target, passed.get()))
            return true;
    return false;
}

Status RegistryCore::stepDown(View* view, QStringView name, bool* brokenLink) const {
    if (brokenLink)
        *brokenLink = false;
    KeyNode* link = nullptr;
    KeyNode* user = nullptr;
    KeyNode* machine = nullptr;
    if (view->merged) {
        user = view->user ? view->user->findChild(name) : nullptr;
        machine = view->machine ? view->machine->findChild(name) : nullptr;
        if (!user && !machine)
            return status::FileNotFound;
        if (m_hasLinks)
            link = user && isLink(user) ? user : machine && isLink(machine) ? machine : nullptr;
    } else {
        KeyNode* n = view->node->findChild(name);
        if (!n)
            return status::FileNotFound;
        if (!m_hasLinks || !isLink(n)) {
            view->node = n;
            return status::Success;
        }
        link = n;
    }
    if (!link) {
        view->user = user;
        view->machine = machine;
        view->relative.append(name.toString());
        return status::Success;
    }
    // Past a link the view is its target alone: that key is not merged with another copy.
    KeyNode* target = linkTarget(link);
    if (!target || closesLoop(*view, link, target)) {
        if (brokenLink)
            *brokenLink = true;
        return status::FileNotFound;
    }
    view->merged = false;
    view->node = target;
    view->user = view->machine = nullptr;
    view->relative.clear();
    view->links.push_back(link->shared_from_this());
    return status::Success;
}

Status RegistryCore::openKeyEx(HKey key, const QString& subKey, std::uint32_t, std::uint32_t,
                               HKey* result) {
    if (!result)
        return status::InvalidParameter;
    View view;
    if (Status s = readView(key, &view))
        return s;
    if (Status s = checkPath(subKey))
        return s;
    Status s = status::Success;
    forEachKeyPathPart(subKey, [&](QStringView p) {
        if (s == status::Success)
            s = stepDown(&view, p);
    });
    if (s != status::Success)
        return s;
    *result = newHandle(view);
    return *result ? status::Success : status::NotEnoughMemory;
}

Status RegistryCore::queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType,
                                  char* data, std::uint32_t* dataSize) {
    View view;
    if (Status s = readView(key, &view))
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

// The subkey names in order: one node's children, or both copies' union with the user's
// spelling first.
void RegistryCore::collectNames(const View& view, std::vector<QString>* names) const {
    names->clear();
    const bool both = view.merged && view.user && view.machine && !view.user->children().empty() &&
                      !view.machine->children().empty();
    if (!both) {
        const KeyNode* node =
            view.merged ? (view.user && !view.user->children().empty() ? view.user : view.machine)
                        : view.node;
        if (node)
            for (const auto& child : node->children())
                names->push_back(child->name);
        return;
    }
    const auto& a = view.user->children();
    const auto& b = view.machine->children();
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i]->folded <= b[j]->folded)) {
            if (j < b.size() && a[i]->folded == b[j]->folded)
                ++j;
            names->push_back(a[i++]->name);
        } else {
            names->push_back(b[j++]->name);
        }
    }
}

Status RegistryCore::childName(HandleSlot* slot, const View& view, std::uint32_t index,
                               QString* name) {
    const bool links = m_hasLinks && (hasLinkChildren(view.node) || hasLinkChildren(view.user) ||
                                      hasLinkChildren(view.machine));
    const bool both = view.merged && view.user && view.machine && !view.user->children().empty() &&
                      !view.machine->children().empty();
    if (!links && !both) {
        const KeyNode* node =
            view.merged ? (view.user && !view.user->children().empty() ? view.user : view.machine)
                        : view.node;
        if (!node || index >= node->children().size())
            return status::NoMoreItems;
        *name = node->children()[index]->name;
        return status::Success;
    }
    HandleSlot temporary;
    HandleSlot& s = slot ? *slot : temporary;
    if (s.namesShape != m_shape || s.names.empty()) {
        collectNames(view, &s.names);
        // A link that leads nowhere is no key to open: it is left out, as a walk would lose it.
        if (links)
            std::erase_if(s.names, [&](const QString& n) {
                View below = view;
                return stepDown(&below, n) != status::Success;
            });
        s.namesShape = m_shape;
    }
    if (index >= s.names.size())
        return status::NoMoreItems;
    *name = s.names[index];
    return status::Success;
}

Status RegistryCore::enumKeyEx(HKey key, std::uint32_t index, QString* name) {
    if (!name)
        return status::InvalidParameter;
    View view;
    if (Status s = readView(key, &view))
        return s;
    HandleSlot* slot = key == HKEY_CLASSES_ROOT ? &m_rootNames : m_handles.find(key);
    return childName(slot, view, index, name);
}

Status RegistryCore::enumValue(HKey key, std::uint32_t index, QString* name,
                               std::uint32_t* valueType, QByteArray* data) {
    View view;
    if (Status s = readView(key, &view))
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

Status RegistryCore::beginBatch() {
    if (m_readOnly)
        return status::AccessDenied;
    if (m_batchDepth++ > 0)
        return status::Success;
    m_batchStatus = status::Success;
    const Status s = startBatch();
    if (s != status::Success)
        m_batchDepth = 0;
    return s;
}

Status RegistryCore::endBatch() {
    if (m_batchDepth == 0)
        return status::InvalidParameter;
    if (--m_batchDepth > 0)
        return status::Success;
    return commitBatch();
}

Status RegistryCore::closeKey(HKey key) {
    if (isPredefinedKey(key))
        return status::Success;
    return m_handles.close(key) ? status::Success : status::InvalidHandle;
}

} // namespace orvanex::reg
