#pragma once
// The shell's executable-type answer for a file: low word the signature, high word the Windows
// version the program is made for (major in the high byte).

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace orvanex::platform {

inline constexpr std::uint16_t kExeTypePe = 0x4550; // "PE"
inline constexpr std::uint16_t kExeTypeNe = 0x454e; // "NE"
inline constexpr std::uint16_t kExeTypeMz = 0x5a4d; // "MZ"

// 'PE' with the subsystem version for Windows GUI programs, 'PE' with 0 for other PE files
// (console programs), 'NE' with the expected Windows version, 'MZ' with 0 for DOS programs and
// for .com and .bat files; 0 for anything else, including files that cannot be read.
std::uint32_t executableType(const QString& path);
std::uint32_t executableTypeOfData(QByteArrayView file, const QString& fileName);

} // namespace orvanex::platform
