#include "platform/exe_resources.h"

#include "platform/exe_header.h"

#include <algorithm>

namespace orvanex::platform {

QList<ResourceEntry> ResourceIndex::ofType(std::uint32_t type) const {
    QList<ResourceEntry> out;
    for (const ResourceEntry& e : entries)
        if (e.type == type)
            out.append(e);
    return out;
}

const ResourceEntry* ResourceIndex::find(std::uint32_t type, std::uint32_t id) const {
    for (const ResourceEntry& e : entries)
        if (e.type == type && e.name.isEmpty() && e.id == id)
            return &e;
    return nullptr;
}

namespace {

bool wanted(std::uint32_t type) {
    return type == kResourceIcon || type == kResourceGroupIcon || type == kResourceVersion;
}

// Walks the three-level PE resource tree (type, name, language). Directory offsets can point
// anywhere, even back up the tree, so the work is capped by the file's size rather than trusted.
class PeWalker {
public:
    PeWalker(ByteView file, const ExecutableHeader& header, qint64 base)
        : file_(file), header_(header), base_(base),
          budget_(std::max<qint64>(4096, file.size() / 4)) {}

    void walk(ResourceIndex& index) {
        forEachEntry(base_, [&](std::uint32_t typeName, std::uint32_t typeTarget) {
            if ((typeName & 0x80000000u) || !wanted(typeName) || !(typeTarget & 0x80000000u))
                return true;
            forEachEntry(base_ + (typeTarget & 0x7fffffff),
                         [&](std::uint32_t name, std::uint32_t target) {
                             addResource(index, typeName, name, target);
                             return true;
                         });
            return true;
        });
    }

private:
    // Calls visit(name, target) for each entry until it returns false or the budget is spent.
    template <typename F> void forEachEntry(qint64 dir, F&& visit) {
        if (!file_.has(dir, 16))
            return;
        const qint64 count = qint64(file_.u16(dir + 12)) + file_.u16(dir + 14);
        for (qint64 i = 0; i < count && budget_ > 0; ++i, --budget_) {
            const qint64 at = dir + 16 + i * 8;
            if (!file_.has(at, 8))
                return;
            if (!visit(file_.u32(at), file_.u32(at + 4)))
                return;
        }
    }

    void addResource(ResourceIndex& index, std::uint32_t type, std::uint32_t name,
                     std::uint32_t target) {
        ResourceEntry e;
        e.type = type;
        if (name & 0x80000000u) {
            e.name = readName(base_ + (name & 0x7fffffff));
            if (e.name.isEmpty())
                return;
        } else {
            e.id = name;
        }
        // The first language of the name; a data entry directly under the name is accepted too.
        qint64 dataEntry = -1;
        if (target & 0x80000000u) {
            const qint64 langDir = base_ + (target & 0x7fffffff);
            forEachEntry(langDir, [&](std::uint32_t, std::uint32_t langTarget) {
                if (!(langTarget & 0x80000000u))
                    dataEntry = base_ + langTarget;
                return dataEntry < 0;
            });
        } else {
            dataEntry = base_ + target;
        }
        if (dataEntry < 0 || !file_.has(dataEntry, 16))
            return;
        const std::uint32_t rva = file_.u32(dataEntry);
        const std::uint32_t size = file_.u32(dataEntry + 4);
        const qint64 offset = peRvaToOffset(file_, header_, rva, size);
        if (offset < 0)
            return;
        e.offset = offset;
        e.size = size;
        index.entries.append(e);
    }

    QString readName(qint64 at) const {
        const qint64 length = file_.u16(at);
        if (length == 0 || !file_.has(at + 2, length * 2))
            return {};
        QString s(length, Qt::Uninitialized);
        for (qint64 i = 0; i < length; ++i)
            s[i] = QChar(file_.u16(at + 2 + i * 2));
        return s;
    }

    ByteView file_;
    const ExecutableHeader& header_;
    qint64 base_;
    qint64 budget_;
};

} // namespace

std::optional<ResourceIndex> readPeResources(ByteView file) {
    const ExecutableHeader header = readExecutableHeader(file);
    if (!header.isPe())
        return std::nullopt;
    ResourceIndex index;
    if (header.resourceRva == 0)
        return index;
    const qint64 base = peRvaToOffset(file, header, header.resourceRva, 16);
    if (base < 0)
        return index;
    PeWalker(file, header, base).walk(index);
    return index;
}

std::optional<ResourceIndex> readNeResources(ByteView file) {
    const ExecutableHeader header = readExecutableHeader(file);
    if (header.format != ExecutableFormat::Ne)
        return std::nullopt;
    ResourceIndex index;
    index.sixteenBit = true;
    const qint64 ne = header.newHeaderOffset;
    const qint64 table = ne + file.u16(ne + 0x24);
    // A resource table offset equal to the resident-name table's means there are no resources.
    if (table == ne + file.u16(ne + 0x26) || !file.has(table, 2))
        return index;
    const int shift = file.u16(table);
    if (shift > 16)
        return index;
    qint64 at = table + 2;
    while (file.has(at, 2)) {
        const std::uint16_t type = file.u16(at);
        if (type == 0 || !file.has(at, 8))
            break;
        const qint64 count = file.u16(at + 2);
        at += 8;
        for (qint64 i = 0; i < count; ++i, at += 12) {
            if (!file.has(at, 12))
                return index;
            // Types and names given as strings (no high bit) are not kinds the program reads.
            if (!(type & 0x8000) || !wanted(type & 0x7fff))
                continue;
            ResourceEntry e;
            e.type = type & 0x7fff;
            e.offset = qint64(file.u16(at)) << shift;
            e.size = qint64(file.u16(at + 2)) << shift;
            const std::uint16_t id = file.u16(at + 6);
            if (id & 0x8000) {
                e.id = id & 0x7fff;
            } else {
                const qint64 nameAt = table + id;
                const int length = file.u8(nameAt);
                if (length == 0 || !file.has(nameAt + 1, length))
                    continue;
                e.name = QString::fromLatin1(file.data() + nameAt + 1, length);
            }
            // The last block may be shorter than its aligned length when the file ends there.
            if (file.has(e.offset, 1) && !file.has(e.offset, e.size))
                e.size = file.size() - e.offset;
            if (e.size <= 0 || !file.has(e.offset, e.size))
                continue;
            index.entries.append(e);
        }
    }
    return index;
}

std::optional<ResourceIndex> readResources(ByteView file) {
    const ExecutableHeader header = readExecutableHeader(file);
    if (header.isPe())
        return readPeResources(file);
    if (header.format == ExecutableFormat::Ne)
        return readNeResources(file);
    return std::nullopt;
}

} // namespace orvanex::platform
