#include "registry/wine_registry.h"

#include <QDir>
#include <algorithm>

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

bool WineRegistry::mayEdit(Edit::Kind kind, const KeyNode* node) {
    switch (kind) {
    case Edit::AddKey:
        return fileOf(node) || isFileRoot(node);
    case Edit::SetValue:
    case Edit::DeleteValue:
        return fileOf(node);
    case Edit::DeleteKey:
        return !isProtected(node) && fileOf(node);
    }
    return false;
}

// The tree is what is saved: an edit only marks what the file's next save must write anew.
Status WineRegistry::applyEdit(const Edit& edit) {
    if (edit.kind == Edit::SetValue || edit.kind == Edit::DeleteValue)
        markValuesChanged(edit.node);
    else
        markStructureChanged(edit.kind == Edit::AddKey ? edit.node : edit.node->parent);
    return status::Success;
}

} // namespace orvanex::reg
