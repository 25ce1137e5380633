#include "registry/wine_registry.h"

#include <QDir>
#include <algorithm>
#include <array>

namespace orvanex::reg {

namespace {

// The roots, HKLM\Software and both Classes keys stay: Wine and Windows cannot do without them.
bool isProtected(const KeyNode* node) {
    const KeyNode* p = node->parent;
    if (!p || !p->parent)
        return true;
    if (!p->parent->parent)
        return node->folded == u"SOFTWARE" && p->folded == u"HKEY_LOCAL_MACHINE";
    return node->folded == u"CLASSES" && p->folded == u"SOFTWARE" && !p->parent->parent->parent;
}

} // namespace

std::unique_ptr<Registry> openWineRegistry(const QString& prefix) {
    return std::make_unique<WineRegistry>(prefix);
}

WineRegistry::WineRegistry(const QString& prefix) : m_prefix(QDir(prefix).absolutePath()) {
    KeyNode* machine = m_top.ensureChild(QStringLiteral("HKEY_LOCAL_MACHINE"));
    KeyNode* user = m_top.ensureChild(QStringLiteral("HKEY_CURRENT_USER"));
    KeyNode* users = m_top.ensureChild(QStringLiteral("HKEY_USERS"));
    m_top.ensureChild(QStringLiteral("HKEY_CURRENT_CONFIG"));
    const QDir dir(m_prefix);
    m_files[0].path = dir.filePath(QStringLiteral("system.reg"));
    m_files[0].rootName = "Machine";
    m_files[0].root = machine;
    m_files[1].path = dir.filePath(QStringLiteral("user.reg"));
    m_files[1].rootName = "User\\\\S-1-5-21-0-0-0-1000";
    m_files[1].root = user;
    m_files[2].path = dir.filePath(QStringLiteral("userdef.reg"));
    m_files[2].rootName = "User\\\\.Default";
    m_files[2].root = users->ensureChild(u".Default");
    loadAll();
    if (!m_files[0].present) {
        m_readOnly = true;
        setProblem(QStringLiteral("%1 is not a Wine prefix: it has no system.reg").arg(m_prefix));
    }
    if (wine::wineServerRunning(m_prefix)) {
        m_readOnly = true;
        setProblem(wine::prefixInUseMessage(m_prefix));
    }
}

KeyNode* WineRegistry::machineClasses() const {
    KeyNode* sw = m_files[0].root->child(u"SOFTWARE");
    return sw ? sw->child(u"CLASSES") : nullptr;
}

KeyNode* WineRegistry::userClasses() const {
    KeyNode* sw = m_files[1].root->child(u"SOFTWARE");
    return sw ? sw->child(u"CLASSES") : nullptr;
}

WineRegistry::File* WineRegistry::fileOf(const KeyNode* node) {
    for (const KeyNode* n = node; n; n = n->parent)
        for (File& file : m_files)
            if (n == file.root)
                return n == node ? nullptr : &file; // a file's root itself is not written
    return nullptr;
}

bool WineRegistry::isFileRoot(const KeyNode* node) const {
    return std::any_of(m_files.begin(), m_files.end(),
                       [node](const File& f) { return f.root == node; });
}

void WineRegistry::markValuesChanged(KeyNode* node) {
    File* file = fileOf(node);
    if (!file)
        return;
    file->changed.insert(node);
    // A key only implied by the paths below it gets a block of its own for its values.
    if (!file->blockOf.contains(node))
        file->structureChanged = true;
}

void WineRegistry::markStructureChanged(KeyNode* node) {
    ++m_shape;
    for (const KeyNode* n = node; n; n = n->parent)
        for (File& file : m_files)
            if (n == file.root)
                file.structureChanged = true;
}

template <typename Change> Status WineRegistry::write(Change&& change) {
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

Status WineRegistry::beginBatch() {
    if (m_readOnly)
        return status::AccessDenied;
    if (m_batchDepth++ == 0)
        m_batchStatus = status::Success;
    return status::Success;
}

Status WineRegistry::endBatch() {
    if (m_batchDepth == 0)
        return status::InvalidParameter;
    if (--m_batchDepth > 0)
        return status::Success;
    return saveDirtyFiles();
}

Status WineRegistry::createKey(HKey key, const QString& subKey, HKey* result) {
    if (!result)
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    std::vector<QStringView> parts;
    if (Status s = splitChecked(subKey, &parts))
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
        if (!at || !(fileOf(at) || isFileRoot(at)))
            return status::AccessDenied;
        const Status s = write([&]() -> Status {
            for (std::size_t j = i; j < parts.size(); ++j)
                at = at->ensureChild(parts[j]);
            markStructureChanged(at);
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

Status WineRegistry::setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                                const char* data, std::uint32_t dataSize) {
    if (valueName.size() > MaxValueNameLength || (!data && dataSize > 0))
        return status::InvalidParameter;
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    if (!fileOf(node))
        return status::AccessDenied;
    return write([&]() -> Status {
        node->setValue(valueName, valueType, QByteArray(data, qsizetype(dataSize)));
        markValuesChanged(node);
        return status::Success;
    });
}

Status WineRegistry::deleteKey(HKey key, const QString& subKey) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    std::vector<QStringView> parts;
    if (Status s = splitChecked(subKey, &parts))
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
        if (isLink(n) || isProtected(n) || !fileOf(n))
            return status::AccessDenied;
    return write([&]() -> Status {
        for (KeyNode* n : targets) {
            KeyNode* parent = n->parent;
            markStructureChanged(parent);
            parent->removeChild(n->folded);
        }
        return status::Success;
    });
}

Status WineRegistry::deleteValue(HKey key, const QString& valueName) {
    View view;
    if (Status s = resolve(key, &view))
        return s;
    KeyNode* node = view.valueNode();
    if (!node || !node->findValue(valueName))
        return status::FileNotFound;
    if (!fileOf(node))
        return status::AccessDenied;
    return write([&]() -> Status {
        node->removeValue(valueName);
        markValuesChanged(node);
        return status::Success;
    });
}

} // namespace orvanex::reg
