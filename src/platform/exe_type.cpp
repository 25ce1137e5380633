#include "platform/exe_type.h"

#include "platform/exe_header.h"
#include "platform/mapped_file.h"

#include <QFileInfo>

namespace orvanex::platform {

std::uint32_t executableTypeOfData(QByteArrayView bytes, const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("com"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("bat"), Qt::CaseInsensitive) == 0)
        return kExeTypeMz;
    const ExecutableHeader h = readExecutableHeader(ByteView(bytes));
    switch (h.format) {
    case ExecutableFormat::Pe32:
    case ExecutableFormat::Pe64:
        if (h.subsystem != kSubsystemWindowsGui)
            return kExeTypePe;
        return kExeTypePe | (std::uint32_t(h.subsystemMajor & 0xff) << 24) |
               (std::uint32_t(h.subsystemMinor & 0xff) << 16);
    case ExecutableFormat::Ne:
        return kExeTypeNe | (std::uint32_t(h.expectedWindowsVersion) << 16);
    case ExecutableFormat::Mz:
        return kExeTypeMz;
    case ExecutableFormat::None:
        break;
    }
    return 0;
}

std::uint32_t executableType(const QString& path) {
    const MappedFile file(path);
    if (!file.isOpen())
        return 0;
    const std::uint32_t type = executableTypeOfData(file.bytes().bytes(), path);
    return file.changed() ? 0 : type;
}

} // namespace orvanex::platform
