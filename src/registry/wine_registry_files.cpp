// Reading a prefix's registry files into the key tree and writing the changed ones back.

#include "registry/registry_log.h"
#include "registry/wine_registry.h"

#include <QDir>
#include <QFileInfo>

namespace orvanex::reg {

namespace {

// The names of a block's path; false for a path with an empty name.
bool splitPath(const QString& path, std::vector<QStringView>* parts) {
    return splitKeyPath(path, parts) && !parts->empty();
}

// The "#arch=" line of a header, for a file made new beside it.
QByteArray archLine(const QByteArray& header) {
    const qsizetype at = header.indexOf("\n#arch=");
    if (at < 0)
        return {};
    const qsizetype end = header.indexOf('\n', at + 1);
    return header.mid(at + 1, end < 0 ? -1 : end - at - 1);
}

// What stands before "Machine" in system.reg's ";; All keys relative to" line ("REGISTRY\\\\"
// since Wine 7, "\\\\" before).
QByteArray rootPrefix(const QByteArray& header) {
    const QByteArray marker = ";; All keys relative to ";
    const qsizetype at = header.indexOf(marker);
    const qsizetype machine = header.indexOf("Machine", at);
    if (at < 0 || machine < 0 || header.mid(at, machine - at).contains('\n'))
        return "\\\\";
    return header.mid(at + marker.size(), machine - at - marker.size());
}

} // namespace

bool isWinePrefix(const QString& dir, QString* why) {
    const QFileInfo folder(dir);
    if (!folder.isDir()) {
        *why = QStringLiteral("%1 is not a folder").arg(dir);
        return false;
    }
    if (!QFileInfo(QDir(dir).filePath(QStringLiteral("system.reg"))).isFile()) {
        *why = QStringLiteral("%1 is not a Wine prefix: it has no system.reg").arg(dir);
        return false;
    }
    return true;
}

QString WineRegistry::hivePath() const {
    return m_files[0].path;
}

bool WineRegistry::loadFile(File& file, KeyNode& root, bool mapBlocks, QString* why) {
    file.text = wine::FileText();
    file.blockNodes.clear();
    file.blockOf.clear();
    file.changed.clear();
    file.structureChanged = false;
    file.damaged = false;
    file.present = QFileInfo::exists(file.path);
    if (!file.present) {
        file.stamp = wine::FileStamp();
        return true;
    }
    QByteArray bytes;
    if (!wine::readRegistryFile(file.path, &bytes, &file.stamp, why) ||
        !wine::parseFile(bytes, &file.text, why)) {
        file.damaged = true;
        if (!why->startsWith(file.path))
            *why = file.path + QStringLiteral(": ") + *why;
        return false;
    }
    std::vector<QStringView> parts;
    for (const wine::KeyText& key : file.text.keys) {
        KeyNode* node = &root;
        if (splitPath(key.path, &parts))
            for (QStringView p : parts)
                node = node->ensureChild(p.left(MaxKeyNameLength));
        for (const wine::ValueText& v : key.values)
            node->setValue(v.name, v.type, v.data);
        if (mapBlocks) {
            file.blockOf.insert(node, qsizetype(file.blockNodes.size()));
            file.blockNodes.push_back(node->shared_from_this());
        }
    }
    return true;
}

void WineRegistry::remapBlocks(File& file) {
    file.blockNodes.clear();
    file.blockOf.clear();
    std::vector<QStringView> parts;
    for (const wine::KeyText& key : file.text.keys) {
        KeyNode* node = file.root;
        if (splitPath(key.path, &parts))
            for (QStringView p : parts)
                node = node->ensureChild(p.left(MaxKeyNameLength));
        file.blockOf.insert(node, qsizetype(file.blockNodes.size()));
        file.blockNodes.push_back(node->shared_from_this());
    }
}

void WineRegistry::loadAll() {
    for (File& file : m_files) {
        QString why;
        if (!loadFile(file, *file.root, true, &why)) {
            m_readOnly = true;
            setProblem(why + QStringLiteral("; the registry is read-only"));
        }
    }
    // Wine always has these; a prefix that lacks them gets them in memory.
    m_files[0]
        .root->ensureChild(QStringLiteral("Software"))
        ->ensureChild(QStringLiteral("Classes"));
    indexLinks();
}

// Drops changes that did not reach the disk by reading every file again. Handles stay valid
// where their keys still exist.
void WineRegistry::reloadAfterFailure() {
    KeyNode fresh;
    std::array<KeyNode*, 3> roots{};
    KeyNode* machine = fresh.ensureChild(QStringLiteral("HKEY_LOCAL_MACHINE"));
    roots[0] = machine;
    roots[1] = fresh.ensureChild(QStringLiteral("HKEY_CURRENT_USER"));
    roots[2] = fresh.ensureChild(QStringLiteral("HKEY_USERS"))->ensureChild(u".Default");
    fresh.ensureChild(QStringLiteral("HKEY_CURRENT_CONFIG"));
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        QString why;
        if (!loadFile(m_files[i], *roots[i], false, &why)) {
            m_readOnly = true;
            setProblem(why + QStringLiteral("; the registry is read-only"));
        }
    }
    machine->ensureChild(QStringLiteral("Software"))->ensureChild(QStringLiteral("Classes"));
    m_top.adopt(fresh);
    for (File& file : m_files)
        remapBlocks(file);
    indexLinks();
    ++m_shape;
}

bool WineRegistry::filesChangedOnDisk() const {
    for (const File& file : m_files)
        if (wine::stampOf(file.path) != file.stamp)
            return true;
    return false;
}

Status WineRegistry::refresh() {
    if (inBatch() || !filesChangedOnDisk())
        return status::Success;
    reloadAfterFailure();
    return status::Success;
}

QString WineRegistry::relativePath(const File& file, const KeyNode* node) const {
    QStringList names;
    for (; node && node != file.root; node = node->parent)
        names.prepend(node->name);
    return names.join(u'\\');
}

QByteArray WineRegistry::buildFile(File& file, wine::FileText* text,
                                   std::vector<std::shared_ptr<KeyNode>>* nodes) const {
    const std::uint64_t now = wine::currentFileTime();
    const auto blocks = qsizetype(file.text.keys.size());
    // Keys that need a block of their own and have none go after the block of the key before
    // them in Wine's order (depth first, names in order).
    std::vector<std::vector<KeyNode*>> added(size_t(blocks) + 1);
    if (file.structureChanged) {
        qsizetype after = 0;
        std::vector<KeyNode*> stack{file.root};
        while (!stack.empty()) {
            KeyNode* node = stack.back();
            stack.pop_back();
            if (node != file.root) {
                const auto it = file.blockOf.constFind(node);
                if (it != file.blockOf.cend())
                    after = std::max(after, *it + 1);
                else if (!node->values().empty() || node->children().empty())
                    added[size_t(after)].push_back(node);
            }
            const auto& children = node->children();
            for (auto c = children.rbegin(); c != children.rend(); ++c)
                stack.push_back(c->get());
        }
    }
    // A key whose values changed is written anew, values that stayed keep their lines.
    auto rewrite = [&](KeyNode* node, const wine::KeyText* old) {
        wine::KeyText key;
        key.path = old ? old->path : relativePath(file, node);
        key.pathText = old ? old->pathText : wine::pathText(key.path);
        if (old)
            key.meta = old->meta;
        key.raw = wine::formatKeyHead(key.pathText, key.meta, now);
        for (const StoredValue& v : node->values()) {
            wine::ValueText value{v.name, v.type, v.data, {}};
            if (old)
                for (const wine::ValueText& o : old->values)
                    if (o.name == v.name && o.type == v.type && o.data == v.data)
                        value.raw = o.raw;
            if (value.raw.isEmpty())
                value.raw = wine::formatValue(v.name, v.type, v.data);
            key.raw += value.raw;
            key.values.push_back(std::move(value));
        }
        return key;
    };
    auto emit = [&](wine::KeyText&& key, KeyNode* node) {
        nodes->push_back(node->shared_from_this());
        text->keys.push_back(std::move(key));
    };
    text->header = file.text.header;
    if (!file.present)
        text->header = QByteArray(wine::FirstLine) + "\n;; All keys relative to " +
                       rootPrefix(m_files[0].text.header) + file.rootName + '\n' +
                       (archLine(m_files[0].text.header).isEmpty()
                            ? QByteArray()
                            : '\n' + archLine(m_files[0].text.header) + '\n');
    for (KeyNode* node : added[0])
        emit(rewrite(node, nullptr), node);
    for (qsizetype i = 0; i < blocks; ++i) {
        KeyNode* node = file.blockNodes[size_t(i)].get();
        const bool first = file.blockOf.value(node, -1) == i;
        if (!node->deleted) {
            if (!file.changed.contains(node))
                emit(wine::KeyText(file.text.keys[size_t(i)]), node);
            else if (first) // the later copies of a key written twice are folded into it
                emit(rewrite(node, &file.text.keys[size_t(i)]), node);
        }
        for (KeyNode* n : added[size_t(i) + 1])
            emit(rewrite(n, nullptr), n);
    }
    QByteArray bytes = text->header;
    for (const wine::KeyText& key : text->keys)
        bytes += key.raw;
    return bytes;
}

Status WineRegistry::saveFile(File& file) {
    if (wine::wineServerRunning(m_prefix)) {
        m_readOnly = true;
        setProblem(wine::prefixInUseMessage(m_prefix));
        return status::AccessDenied;
    }
    if (file.damaged)
        return status::AccessDenied;
    if (wine::stampOf(file.path) != file.stamp) {
        setProblem(QStringLiteral("%1 was changed by another program; the change was not saved")
                       .arg(file.path));
        return status::CantWrite;
    }
    wine::FileText text;
    std::vector<std::shared_ptr<KeyNode>> nodes;
    const QByteArray bytes = buildFile(file, &text, &nodes);
    QString why;
    wine::FileStamp stamp;
    if (!wine::writeRegistryFileAtomically(file.path, bytes, &stamp, &why)) {
        setProblem(why);
        return status::CantWrite;
    }
    file.text = std::move(text);
    file.blockNodes = std::move(nodes);
    file.blockOf.clear();
    for (qsizetype i = 0; i < qsizetype(file.blockNodes.size()); ++i)
        file.blockOf.insert(file.blockNodes[size_t(i)].get(), i);
    file.stamp = stamp;
    file.present = true;
    file.changed.clear();
    file.structureChanged = false;
    indexLinks();
    return status::Success;
}

Status WineRegistry::commitBatch() {
    Status result = status::Success;
    for (File& file : m_files)
        if (file.dirty() && result == status::Success)
            result = saveFile(file);
    if (result != status::Success) {
        qCWarning(lcRegistry).noquote() << m_problem;
        reloadAfterFailure();
    }
    return result;
}

} // namespace orvanex::reg
