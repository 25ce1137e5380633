// orvx commands that look inside files: icons, executable type and version strings.

#include "platform/exe_type.h"
#include "platform/icon_file.h"
#include "platform/version_info.h"
#include "tools/orvx_commands.h"

#include <QFileInfo>

namespace orvanex::tools {

namespace {

using namespace orvanex::platform;

// Checks the argument count and that the file can be read; prints why not.
bool readableFile(OrvxContext& c, const QStringList& args, int wanted, const QString& usage) {
    if (args.size() != wanted) {
        c.fail(QStringLiteral("usage: orvx %1").arg(usage));
        return false;
    }
    const QFileInfo info(args.first());
    if (!info.isFile() || !info.isReadable()) {
        c.fail(QStringLiteral("cannot read %1").arg(args.first()));
        return false;
    }
    return true;
}

int iconsCommand(OrvxContext& c, const QStringList& args) {
    if (!readableFile(c, args, 1, QStringLiteral("icons FILE")))
        return 1;
    c.out << IconFile(args[0]).count() << Qt::endl;
    return 0;
}

int iconCommand(OrvxContext& c, const QStringList& args) {
    if (!readableFile(c, args, 3, QStringLiteral("icon FILE INDEX OUT.png")))
        return 1;
    bool ok = false;
    const int index = args[1].toInt(&ok);
    if (!ok || index < 0)
        return c.fail(
            QStringLiteral("the icon index must be a number from 0, not %1").arg(args[1]));
    const IconFile file(args[0]);
    const QImage icon = file.icon(index);
    if (icon.isNull())
        return c.fail(QStringLiteral("%1 has no icon %2 (it holds %3)")
                          .arg(args[0])
                          .arg(index)
                          .arg(file.count()));
    if (!savePng(icon, args[2]))
        return c.fail(QStringLiteral("cannot write %1").arg(args[2]));
    return 0;
}

int exeTypeCommand(OrvxContext& c, const QStringList& args) {
    if (!readableFile(c, args, 1, QStringLiteral("exetype FILE")))
        return 1;
    const std::uint32_t type = executableType(args[0]);
    const std::uint16_t magic = type & 0xffff;
    const int major = int(type >> 24);
    const int minor = int((type >> 16) & 0xff);
    QString text = magic == kExeTypePe   ? QStringLiteral("PE")
                   : magic == kExeTypeNe ? QStringLiteral("NE")
                   : magic == kExeTypeMz ? QStringLiteral("MZ")
                                         : QStringLiteral("none");
    if (major != 0)
        text += QStringLiteral(" %1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
    c.out << text << " 0x" << QString::number(type, 16).rightJustified(8, QLatin1Char('0'))
          << Qt::endl;
    return 0;
}

int versionCommand(OrvxContext& c, const QStringList& args) {
    if (!readableFile(c, args, 1, QStringLiteral("version FILE")))
        return 1;
    for (const VersionString& s : versionStrings(fileVersionInfo(args[0])))
        c.out << s.key << ": " << s.value << '\n';
    c.out.flush();
    return 0;
}

} // namespace

QList<OrvxCommand> platformCommands() {
    return {
        {QStringLiteral("icons"), QStringLiteral("icons FILE"),
         QStringLiteral("number of icons in a program, library or icon file"), iconsCommand},
        {QStringLiteral("icon"), QStringLiteral("icon FILE INDEX OUT.png"),
         QStringLiteral("save icon INDEX (from 0) as drawn at 32 x 32"), iconCommand},
        {QStringLiteral("exetype"), QStringLiteral("exetype FILE"),
         QStringLiteral("executable type: PE, NE, MZ or none, target version, raw value"),
         exeTypeCommand},
        {QStringLiteral("version"), QStringLiteral("version FILE"),
         QStringLiteral("the eight version strings, one \"Name: value\" per line"), versionCommand},
    };
}

} // namespace orvanex::tools
