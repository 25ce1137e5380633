#include "platform/version_info.h"

#include "platform/byte_view.h"
#include "platform/exe_resources.h"
#include "platform/mapped_file.h"

#include <algorithm>

namespace orvanex::platform {

const QList<VersionKey>& versionKeys() {
    static const QList<VersionKey> keys = {
        {QLatin1StringView("CompanyName"), 12},    {QLatin1StringView("FileDescription"), 16},
        {QLatin1StringView("FileVersion"), 12},    {QLatin1StringView("InternalName"), 16},
        {QLatin1StringView("LegalCopyright"), 16}, {QLatin1StringView("OriginalFilename"), 20},
        {QLatin1StringView("ProductName"), 12},    {QLatin1StringView("ProductVersion"), 16},
    };
    return keys;
}

QByteArray versionInfoFromData(QByteArrayView bytes) {
    const ByteView file(bytes);
    const std::optional<ResourceIndex> index = readResources(file);
    if (!index)
        return {};
    for (const ResourceEntry& e : index->entries) {
        if (e.type != kResourceVersion)
            continue;
        ByteView block = file.sub(e.offset, e.size);
        // The block states its own length; resources are often padded past it.
        const qint64 stated = block.u16(0);
        if (stated > 0 && stated < block.size())
            block = block.sub(0, stated);
        return block.bytes().toByteArray();
    }
    return {};
}

QByteArray fileVersionInfo(const QString& path) {
    const MappedFile file(path);
    QByteArray block = versionInfoFromData(file.bytes().bytes());
    return file.changed() ? QByteArray() : block;
}

qint64 fileVersionInfoSize(const QString& path) {
    return fileVersionInfo(path).size();
}

QString findVersionStringSingleByte(QByteArrayView block, QLatin1StringView key, int valueOffset) {
    const qsizetype p = block.indexOf(QByteArrayView(key.data(), key.size()));
    if (p < 0 || valueOffset < 0 || p + valueOffset >= block.size())
        return {};
    const QByteArrayView rest = block.sliced(p + valueOffset);
    const qsizetype nul = rest.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? rest : rest.first(nul));
}

namespace {

const char16_t kRootKey[] = u"VS_VERSION_INFO";

// One node of a 32-bit block: length, value length, type, UTF-16 key, value, children.
struct Node {
    qint64 end = 0;
    QString key;
    qint64 valueAt = 0;
    qint64 childrenAt = 0;
};

bool readNode(ByteView b, qint64 at, qint64 limit, Node& n) {
    if (at + 6 > limit || !b.has(at, 6))
        return false;
    const qint64 length = b.u16(at);
    if (length < 6)
        return false;
    n.end = std::min(at + length, limit);
    const qint64 valueLength = b.u16(at + 2);
    const bool text = b.u16(at + 4) == 1;
    n.key.clear();
    qint64 p = at + 6;
    for (; p + 2 <= n.end && b.u16(p) != 0; p += 2)
        n.key.append(QChar(b.u16(p)));
    n.valueAt = std::min(alignUp4(p + 2), n.end);
    const qint64 valueBytes = std::min(text ? valueLength * 2 : valueLength, n.end - n.valueAt);
    n.childrenAt = alignUp4(n.valueAt + valueBytes);
    return true;
}

template <typename F> void forEachChild(ByteView b, const Node& parent, F&& visit) {
    qint64 at = parent.childrenAt;
    Node child;
    while (readNode(b, at, parent.end, child)) {
        if (!visit(child))
            return;
        at = alignUp4(child.end); // a node is at least 6 bytes long, so this always advances
    }
}

QString textValue(ByteView b, const Node& n) {
    QString s;
    for (qint64 p = n.valueAt; p + 2 <= n.end && b.u16(p) != 0; p += 2)
        s.append(QChar(b.u16(p)));
    return s;
}

QList<VersionString> unicodeStrings(ByteView b) {
    QList<VersionString> out;
    for (const VersionKey& k : versionKeys())
        out.append({QString(k.key), QString()});
    Node root;
    if (!readNode(b, 0, b.size(), root))
        return out;
    forEachChild(b, root, [&](const Node& info) {
        if (info.key != QLatin1String("StringFileInfo"))
            return true;
        forEachChild(b, info, [&](const Node& table) {
            forEachChild(b, table, [&](const Node& string) {
                for (VersionString& v : out)
                    if (v.key == string.key && v.value.isEmpty())
                        v.value = textValue(b, string);
                return true;
            });
            return false; // the first language table only
        });
        return false;
    });
    return out;
}

} // namespace

bool isUnicodeVersionBlock(QByteArrayView block) {
    const ByteView b(block);
    const qint64 keyBytes = qint64(sizeof(kRootKey)) - 2;
    if (!b.has(6, keyBytes))
        return false;
    for (qint64 i = 0; i < keyBytes / 2; ++i)
        if (b.u16(6 + i * 2) != kRootKey[i])
            return false;
    return true;
}

QList<VersionString> versionStrings(QByteArrayView block) {
    if (isUnicodeVersionBlock(block))
        return unicodeStrings(ByteView(block));
    QList<VersionString> out;
    for (const VersionKey& k : versionKeys())
        out.append({QString(k.key), findVersionStringSingleByte(block, k.key, k.valueOffset)});
    return out;
}

} // namespace orvanex::platform
