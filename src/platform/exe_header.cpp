#include "platform/exe_header.h"

#include <algorithm>

namespace orvanex::platform {

namespace {

constexpr int kMaxSections = 96; // the loader refuses more

void readPeHeader(ByteView file, ExecutableHeader& h) {
    const qint64 coff = h.newHeaderOffset + 4;
    if (!file.has(coff, 20))
        return;
    const int sections = file.u16(coff + 2);
    const int optionalSize = file.u16(coff + 16);
    const qint64 opt = coff + 20;
    const std::uint16_t magic = file.u16(opt);
    qint64 dirCountAt = 0;
    if (magic == 0x10b)
        dirCountAt = opt + 92;
    else if (magic == 0x20b)
        dirCountAt = opt + 108;
    else
        return;
    if (!file.has(opt, 70))
        return;
    h.format = magic == 0x10b ? ExecutableFormat::Pe32 : ExecutableFormat::Pe64;
    h.subsystemMajor = file.u16(opt + 48);
    h.subsystemMinor = file.u16(opt + 50);
    h.subsystem = file.u16(opt + 68);
    const std::uint32_t dirCount = file.u32(dirCountAt);
    const qint64 resourceEntry = dirCountAt + 4 + 2 * 8;
    // The resource directory entry must lie inside the optional header as well as the file.
    if (dirCount > 2 && resourceEntry + 8 <= opt + optionalSize && file.has(resourceEntry, 8)) {
        h.resourceRva = file.u32(resourceEntry);
        h.resourceSize = file.u32(resourceEntry + 4);
    }
    h.sectionTableOffset = opt + optionalSize;
    const qint64 fit = std::max<qint64>(0, (file.size() - h.sectionTableOffset) / 40);
    h.sectionCount = int(std::min<qint64>({sections, kMaxSections, fit}));
}

} // namespace

ExecutableHeader readExecutableHeader(ByteView file) {
    ExecutableHeader h;
    if (!file.startsWith("MZ"))
        return h;
    h.format = ExecutableFormat::Mz;
    if (!file.has(0, 64))
        return h;
    const qint64 lfanew = file.u32(0x3c);
    if (lfanew < 2 || !file.has(lfanew, 4))
        return h;
    h.newHeaderOffset = lfanew;
    if (file.sub(lfanew, 4).startsWith(QByteArrayView("PE\0\0", 4))) {
        readPeHeader(file, h);
    } else if (file.sub(lfanew, 2).startsWith("NE") && file.has(lfanew, 64)) {
        h.format = ExecutableFormat::Ne;
        h.targetOs = file.u8(lfanew + 0x36);
        h.expectedWindowsVersion = file.u16(lfanew + 0x3e);
    }
    return h;
}

PeSection peSection(ByteView file, const ExecutableHeader& header, int index) {
    if (index < 0 || index >= header.sectionCount)
        return {};
    const qint64 at = header.sectionTableOffset + qint64(index) * 40;
    if (!file.has(at, 40))
        return {};
    return PeSection{file.u32(at + 12), file.u32(at + 8), file.u32(at + 16), file.u32(at + 20)};
}

qint64 peRvaToOffset(ByteView file, const ExecutableHeader& header, std::uint32_t rva,
                     std::uint32_t length) {
    for (int i = 0; i < header.sectionCount; ++i) {
        const PeSection s = peSection(file, header, i);
        if (rva < s.virtualAddress)
            continue;
        const qint64 delta = qint64(rva) - s.virtualAddress;
        const qint64 extent = std::max<qint64>(s.virtualSize, s.rawSize);
        if (delta >= extent)
            continue;
        // Only bytes present in the file can be read; the rest of a section is zero-filled
        // memory that a resource cannot sensibly live in.
        if (delta + qint64(length) > qint64(s.rawSize))
            return -1;
        const qint64 offset = qint64(s.rawOffset) + delta;
        return file.has(offset, length) ? offset : -1;
    }
    return -1;
}

} // namespace orvanex::platform
