#include "about/system_tools.h"

#include "platform/exe_type.h"
#include "registry/registry.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace orvanex::about {

namespace {

constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

// A text value under HKEY_LOCAL_MACHINE, up to its first NUL; empty when absent or not a text.
QString machineText(reg::Registry& registry, const char* keyPath, const char* valueName) {
    reg::HKey key = 0;
    if (registry.openKeyEx(reg::HKEY_LOCAL_MACHINE, QLatin1String(keyPath), 0, reg::KEY_ALL_USED,
                           &key) != reg::status::Success)
        return {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    QByteArray data;
    if (registry.queryValueEx(key, QLatin1String(valueName), &type, nullptr, &size) ==
            reg::status::Success &&
        (type == reg::type::Sz || type == reg::type::ExpandSz) && size > 0) {
        data.resize(size);
        if (registry.queryValueEx(key, QLatin1String(valueName), &type, data.data(), &size) !=
            reg::status::Success)
            data.clear();
        data.truncate(qsizetype(size));
    }
    registry.closeKey(key);
    const qsizetype nul = data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? data : data.left(nul)).trimmed();
}

// The Wine prefix the registry lives in (its system.reg's folder), else empty.
QString winePrefixOf(const reg::Registry& registry) {
    const QFileInfo hive(registry.hivePath());
    return hive.fileName().compare(QLatin1String("system.reg"), Qt::CaseInsensitive) == 0
               ? hive.absolutePath()
               : QString();
}

// How a program the registry names runs here: a native program directly, a Windows one through
// Wine; empty when the file is not there or cannot be run.
ToolLaunch launchOf(const QString& windowsPath, reg::Registry& registry,
                    const platform::DriveMap& drives, const ProgramFinder& find,
                    const QString& source) {
    ToolLaunch launch;
    const QString native = drives.toNative(windowsPath);
    const QFileInfo file(native);
    if (native.isEmpty() || !file.isFile())
        return launch;
    launch.source = source;
    if (platform::executableType(native) != 0) {
        const QString wine = find(QStringLiteral("wine"));
        if (wine.isEmpty())
            return ToolLaunch();
        launch.command = {wine, native};
        launch.winePrefix = winePrefixOf(registry);
    } else if (file.isExecutable()) {
        launch.command = {native};
    } else {
        return ToolLaunch();
    }
    return launch;
}

} // namespace

ProgramFinder pathFinder() {
    return [](const QString& name) { return QStandardPaths::findExecutable(name); };
}

QStringList FirstInstalled(const QList<QStringList>& candidates, const ProgramFinder& find) {
    for (const QStringList& c : candidates) {
        const QString path = find(c.first());
        if (!path.isEmpty())
            return QStringList{path} + c.mid(1);
    }
    return {};
}

ToolLaunch systemInformationTool(reg::Registry* registry, const platform::DriveMap& drives,
                                 const ProgramFinder& find) {
    if (registry) {
        const QString path = machineText(*registry, kMsinfoKey, "PATH");
        if (!path.isEmpty()) {
            ToolLaunch launch = launchOf(
                path, *registry, drives, find,
                QStringLiteral("HKEY_LOCAL_MACHINE\\%1\\PATH").arg(QLatin1String(kMsinfoKey)));
            if (launch.available())
                return launch;
        }
        const QString folder = machineText(*registry, kLocationKey, "MSINFO");
        if (!folder.isEmpty()) {
            ToolLaunch launch = launchOf(
                folder + QStringLiteral("\\MSINFO32.EXE"), *registry, drives, find,
                QStringLiteral("HKEY_LOCAL_MACHINE\\%1\\MSINFO").arg(QLatin1String(kLocationKey)));
            if (launch.available())
                return launch;
        }
    }
    ToolLaunch desktop;
    desktop.command =
        FirstInstalled({{QStringLiteral("hardinfo")},
                        {QStringLiteral("kinfocenter")},
                        {QStringLiteral("gnome-control-center"), QStringLiteral("info-overview")},
                        {QStringLiteral("xfce4-about")}},
                       find);
    desktop.source = QStringLiteral("desktop");
    return desktop;
}

ToolLaunch softwareUpdateTool(const ProgramFinder& find) {
    ToolLaunch desktop;
    desktop.command = FirstInstalled(
        {{QStringLiteral("gnome-software"), QStringLiteral("--mode=updates")},
         {QStringLiteral("plasma-discover"), QStringLiteral("--mode"), QStringLiteral("Update")},
         {QStringLiteral("update-manager")},
         {QStringLiteral("mintupdate")}},
        find);
    desktop.source = QStringLiteral("desktop");
    return desktop;
}

bool startTool(const ToolLaunch& tool) {
    if (!tool.available())
        return false;
    QProcess process;
    process.setProgram(tool.command.first());
    process.setArguments(tool.command.mid(1));
    if (!tool.winePrefix.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINEPREFIX"), tool.winePrefix);
        process.setProcessEnvironment(env);
    }
    return process.startDetached();
}

} // namespace orvanex::about
