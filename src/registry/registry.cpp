#include "registry/hive_registry.h"
#include "registry/registry_log.h"

#include <QFile>

namespace orvanex::reg {

namespace {

// Keys that exist on every Windows system and cannot be deleted.
bool isProtected(const KeyNode* node) {
    if (!node->parent || !node->parent->parent)
        return true; // the top or a root
    const KeyNode* p = node->parent;
    if (node->folded == u"SOFTWARE" && !p->parent->parent)
        return p->folded == u"HKEY_LOCAL_MACHINE";
    return node->folded == u"CLASSES" && p->folded == u"SOFTWARE" && p->parent &&
           p->parent->folded == u"HKEY_LOCAL_MACHINE" && !p->parent->parent->parent;
}

// Walks subKey below node. Status 2 for a missing key, 161/87 for a bad path. The whole path is
// checked before any look-up; nothing is allocated (every open comes through here).
Status walk(KeyNode* node, QStringView subKey, KeyNode** found) {
    bool tooLong = false;
    if (!forEachKeyPathPart(subKey, [&](QStringView p) { tooLong |= p.size() > MaxKeyNameLength; }))
        return status::BadPathname;
    if (tooLong)
        return status::InvalidParameter;
    forEachKeyPathPart(subKey, [&](QStringView p) {
        if (node)
            node = node->findChild(p);
    });
    if (!node)
        return status::FileNotFound;
    *found = node;
    return status::Success;
}

} // namespace

std::unique_ptr<Registry> Registry::inMemory() {
    return std::make_unique<HiveRegistry>(nullptr, QString());
}

std::unique_ptr<Registry> Registry::openHive(const QString& hivePath) {
    return openHiveFile(QFile::encodeName(hivePath));
}

std::unique_ptr<Registry> Registry::openHiveFile(const QByteArray& nativePath) {
    auto file = std::make_unique<HiveFile>(nativePath);
    QString path = file->path();
    return std::make_unique<HiveRegistry>(std::move(file), std::move(path));
}

HiveRegistry::HiveRegistry(std::unique_ptr<HiveFile> file, QString path)
    : m_file(std::move(file)), m_path(std::move(path)) {
    m_mergedClasses = false;
    ensureBaseKeys(m_top);
    if (!m_file)
        return;
    QString why;
    if (!m_file->load(m_top, &why)) {
        markUnreadable(why);
    } else if (m_file->notWritable()) {
        m_readOnly = true;
        m_problem = QStringLiteral("the registry hive %1 is read-only").arg(m_path);
    }
}

void HiveRegistry::markUnreadable(const QString& why) {
    m_readOnly = m_unreadable = true;
    m_problem = why + QStringLiteral("; the registry is read-only");
    qCWarning(lcRegistry).noquote() << m_problem;
}

KeyNode* HiveRegistry::machineClasses() const {
    KeyNode* sw = m_top.child(u"HKEY_LOCAL_MACHINE")->child(u"SOFTWARE");
    return sw ? sw->child(u"CLASSES") : nullptr;
}

Status HiveRegistry::resolve(HKey key, KeyNode** node) {
    View view;
    const Status s = resolve(key, &view);
    *node = view.node;
    return s;
}

Status HiveRegistry::readStatus() const {
    return m_unreadable ? status::RegistryCorrupt : status::Success;
}

HKey HiveRegistry::newHandle(KeyNode* node) {
    View view;
    view.node = node;
    return newHandle(view);
}

Status HiveRegistry::startBatch() {
    m_pending.clear();
    if (!m_file)
        return status::Success;
    QString why;
    const Status s = m_file->lockAndSync(m_top, &why);
    if (s == status::RegistryCorrupt)
        markUnreadable(why);
    return s;
}

Status HiveRegistry::commitBatch() {
    if (!m_file)
        return status::Success;
    Status s = m_file->commitAndUnlock(m_pending, m_top);
    if (s != status::Success && !m_pending.empty())
        m_file->reload(m_top); // drops the changes that did not reach the disk
    m_pending.clear();
    return s;
}

Status HiveRegistry::createKey(HKey key, const QString& subKey, HKey* result) {
    if (!result)
        return status::InvalidParameter;
    KeyNode* node = nullptr;
    // An existing key needs no write.
    if (!m_unreadable && resolve(key, &node) == status::Success &&
        walk(node, subKey, &node) == status::Success) {
        *result = newHandle(node);
        return *result ? status::Success : status::NotEnoughMemory;
    }
    KeyNode* created = nullptr;
    const Status s = write([&]() -> Status {
        KeyNode* at = nullptr;
        if (Status r = resolve(key, &at))
            return r;
        std::vector<QStringView> names;
        if (!splitKeyPath(subKey, &names))
            return status::BadPathname;
        int depth = 0;
        for (const KeyNode* p = at; p->parent; p = p->parent)
            ++depth;
        if (depth + int(names.size()) > MaxKeyDepth)
            return status::InvalidParameter;
        for (QStringView p : names)
            if (p.size() > MaxKeyNameLength)
                return status::InvalidParameter;
        for (QStringView p : names)
            at = at->ensureChild(p);
        if (m_file && !names.empty())
            m_pending.push_back({HiveOp::CreateKey, at->path(), {}, 0, {}});
        created = at;
        return status::Success;
    });
    if (s != status::Success)
        return s;
    if (created->deleted)
        return status::CantWrite;
    *result = newHandle(created);
    return *result ? status::Success : status::NotEnoughMemory;
}

Status HiveRegistry::setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                                const char* data, std::uint32_t dataSize) {
    if (valueName.size() > MaxValueNameLength || (!data && dataSize > 0))
        return status::InvalidParameter;
    return write([&]() -> Status {
        KeyNode* node = nullptr;
        if (Status s = resolve(key, &node))
            return s;
        const QByteArray bytes(data, qsizetype(dataSize));
        node->setValue(valueName, valueType, bytes);
        if (m_file)
            m_pending.push_back({HiveOp::SetValue, node->path(), valueName, valueType, bytes});
        return status::Success;
    });
}

Status HiveRegistry::deleteKey(HKey key, const QString& subKey) {
    return write([&]() -> Status {
        KeyNode* node = nullptr;
        if (Status s = resolve(key, &node))
            return s;
        if (Status s = walk(node, subKey, &node))
            return s;
        if (isProtected(node))
            return status::AccessDenied;
        if (m_file)
            m_pending.push_back({HiveOp::DeleteKey, node->path(), {}, 0, {}});
        node->parent->removeChild(node->folded);
        return status::Success;
    });
}

Status HiveRegistry::deleteValue(HKey key, const QString& valueName) {
    return write([&]() -> Status {
        KeyNode* node = nullptr;
        if (Status s = resolve(key, &node))
            return s;
        if (!node->removeValue(valueName))
            return status::FileNotFound;
        if (m_file)
            m_pending.push_back({HiveOp::DeleteValue, node->path(), valueName, 0, {}});
        return status::Success;
    });
}

Status HiveRegistry::refresh() {
    if (!m_file || m_unreadable || inBatch())
        return readStatus();
    QString why;
    const Status s = m_file->lockAndSync(m_top, &why);
    if (s == status::RegistryCorrupt)
        markUnreadable(why);
    if (s == status::Success)
        m_file->unlock();
    return s;
}

Status HiveRegistry::compact() {
    if (!m_file)
        return status::Success;
    if (Status s = beginBatch())
        return s;
    Status s = m_file->compact(m_top);
    const Status e = endBatch();
    return s != status::Success ? s : e;
}

} // namespace orvanex::reg
