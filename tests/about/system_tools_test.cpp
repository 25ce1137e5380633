// What "&System" and "&Updates" start: the registry's system-information program (natively or
// through Wine), then the desktop's tools, else nothing.

#include "about/system_tools.h"
#include "registry/registry.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::about;

namespace {

void setMachineText(reg::Registry& r, const QString& key, const QString& name,
                    const QString& text) {
    reg::HKey k = 0;
    ASSERT_EQ(r.createKey(reg::HKEY_LOCAL_MACHINE, key, &k), reg::status::Success);
    const QByteArray data = text.toUtf8() + '\0';
    ASSERT_EQ(r.setValueEx(k, name, reg::type::Sz, data.constData(), std::uint32_t(data.size())),
              reg::status::Success);
    r.closeKey(k);
}

QString writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions extra = {}) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | extra);
    return path;
}

// Installed programs as the test says, found in /opt/bin.
ProgramFinder installed(const QStringList& names) {
    return [names](const QString& name) {
        return names.contains(name) ? "/opt/bin/" + name : QString();
    };
}

const QString kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

} // namespace

TEST(SystemTools, TheRegistrysProgramComesFirstThenTheDesktops) {
    const QString c = test::freshDir("tools_drive_c");
    QDir(c).mkpath("Tools/Info");
    QDir(c).mkpath("MSINFO");
    platform::DriveMap drives;
    drives.setDrive(u'C', c);
    const QString script = writeFile(c + "/Tools/Info/sysinfo", "#!/bin/sh\n", QFile::ExeOwner);
    const QString windowsProgram = writeFile(c + "/MSINFO/msinfo32.exe", "MZ" + QByteArray(62, 0));
    auto registry = reg::Registry::inMemory();

    // Nothing in the registry: the desktop's program, with its arguments.
    ToolLaunch t = systemInformationTool(registry.get(), drives,
                                         installed({"xfce4-about", "gnome-control-center"}));
    EXPECT_EQ(t.command, QStringList({"/opt/bin/gnome-control-center", "info-overview"}));
    EXPECT_EQ(t.source, "desktop");
    EXPECT_FALSE(systemInformationTool(registry.get(), drives, installed({})).available());
    EXPECT_FALSE(systemInformationTool(nullptr, drives, installed({})).available());

    // The folder of Shared Tools Location holds MSINFO32.EXE (found whatever its case): a Windows
    // program, so only through Wine.
    setMachineText(*registry, kLocation, "MSINFO", "C:\\msinfo");
    t = systemInformationTool(registry.get(), drives, installed({"wine", "hardinfo"}));
    EXPECT_EQ(t.command, QStringList({"/opt/bin/wine", windowsProgram}));
    EXPECT_EQ(t.source, "HKEY_LOCAL_MACHINE\\" + kLocation + "\\MSINFO");
    EXPECT_EQ(t.winePrefix, ""); // not a Wine prefix's registry
    t = systemInformationTool(registry.get(), drives, installed({"hardinfo"}));
    EXPECT_EQ(t.command, QStringList({"/opt/bin/hardinfo"}));

    // MSINFO's PATH goes before the location; a native program starts as it is.
    setMachineText(*registry, kMsinfo, "PATH", "C:\\TOOLS\\INFO\\SYSINFO");
    t = systemInformationTool(registry.get(), drives, installed({"wine"}));
    EXPECT_EQ(t.command, QStringList({script}));
    EXPECT_EQ(t.source, "HKEY_LOCAL_MACHINE\\" + kMsinfo + "\\PATH");
    // A PATH naming nothing there, or a file that cannot run, gives way to the next step.
    QFile(script).setPermissions(QFile::ReadOwner);
    t = systemInformationTool(registry.get(), drives, installed({"wine"}));
    EXPECT_EQ(t.command, QStringList({"/opt/bin/wine", windowsProgram}));
    setMachineText(*registry, kMsinfo, "PATH", "C:\\gone.exe");
    setMachineText(*registry, kLocation, "MSINFO", "D:\\unmapped");
    EXPECT_FALSE(systemInformationTool(registry.get(), drives, installed({"wine"})).available());
}

TEST(SystemTools, UpdatesUseTheFirstInstalledUpdateTool) {
    EXPECT_EQ(softwareUpdateTool(installed({"update-manager", "plasma-discover"})).command,
              QStringList({"/opt/bin/plasma-discover", "--mode", "Update"}));
    EXPECT_EQ(softwareUpdateTool(installed({"mintupdate"})).command,
              QStringList({"/opt/bin/mintupdate"}));
    EXPECT_FALSE(softwareUpdateTool(installed({"hardinfo"})).available());
    EXPECT_FALSE(startTool(ToolLaunch()));
    ToolLaunch missing;
    missing.command = {test::freshDir("tools_none") + "/no-such-program"};
    EXPECT_FALSE(startTool(missing));
    ToolLaunch real;
    real.command = {"/bin/true", "--ignored"};
    EXPECT_TRUE(startTool(real));
}
