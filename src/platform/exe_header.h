#pragma once
// The MZ, NE and PE headers of a Windows executable: just what the resource readers and the
// executable-type query need.

#include "platform/byte_view.h"

#include <cstdint>

namespace orvanex::platform {

enum class ExecutableFormat { None, Mz, Ne, Pe32, Pe64 };

struct PeSection {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

struct ExecutableHeader {
    ExecutableFormat format = ExecutableFormat::None;
    qint64 newHeaderOffset = 0; // where the NE or PE header starts
    // PE only.
    std::uint16_t subsystem = 0;
    std::uint16_t subsystemMajor = 0;
    std::uint16_t subsystemMinor = 0;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    qint64 sectionTableOffset = 0;
    int sectionCount = 0;
    // NE only: the Windows version the program expects, major in the high byte.
    std::uint16_t expectedWindowsVersion = 0;
    std::uint8_t targetOs = 0;

    bool isPe() const {
        return format == ExecutableFormat::Pe32 || format == ExecutableFormat::Pe64;
    }
};

inline constexpr std::uint16_t kSubsystemWindowsGui = 2;
inline constexpr std::uint16_t kSubsystemWindowsConsole = 3;

// Reads the headers; a file without the MZ signature gives format None, one whose new header is
// missing, truncated or unknown gives Mz.
ExecutableHeader readExecutableHeader(ByteView file);

// The section `index` of a PE file (all zero when outside the table or the file).
PeSection peSection(ByteView file, const ExecutableHeader& header, int index);

// File offset of the `length` bytes at relative virtual address `rva`, or -1 when they do not lie
// wholly inside one section's data in the file.
qint64 peRvaToOffset(ByteView file, const ExecutableHeader& header, std::uint32_t rva,
                     std::uint32_t length);

} // namespace orvanex::platform
