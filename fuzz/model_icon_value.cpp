// Registry texts the model parses: DefaultIcon values, action names, Windows paths, locate items.

#include "model/grid_rows.h"
#include "model/icon_location.h"
#include "model/readers.h"
#include "platform/drive_map.h"

#include <QDir>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const orvanex::model::IconLocation icon = orvanex::model::SplitIconLocation(text);
    if (icon.Index < 0 || icon.File.size() > icon.Raw.size())
        __builtin_trap();
    orvanex::model::VerbFromActionName(text);
    const int row = orvanex::model::FindLocateRow(text.split(u'\n'), text);
    if (row < 0)
        __builtin_trap();
    // Paths resolve below the drive's folder only.
    static const QString root = QDir::tempPath() + QStringLiteral("/orvanex-fuzz-drive");
    static const bool made = QDir().mkpath(root + QStringLiteral("/Windows/System"));
    (void)made;
    orvanex::platform::DriveMap drives;
    drives.setDrive(u'C', root);
    const QString native = drives.toNative(text);
    if (!native.isEmpty() && !native.startsWith(root))
        __builtin_trap();
    drives.toWindows(text);
    return 0;
}
