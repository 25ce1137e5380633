#pragma once
// The programs behind the about box's "&System" and "&Updates": the system-information program
// the registry names, else the desktop's own tools. Chosen here, started by the window.

#include "platform/drive_map.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace orvanex::reg {
class Registry;
}

namespace orvanex::about {

struct ToolLaunch {
    QStringList command; // program and arguments; empty when no tool is available
    QString winePrefix;  // WINEPREFIX for a Windows program started through Wine, else empty
    QString source;      // where the choice came from: a registry value or "desktop"
    bool available() const { return !command.isEmpty(); }
};

// Finds a program on PATH ("" when it is not installed); replaceable in tests.
using ProgramFinder = std::function<QString(const QString& name)>;
ProgramFinder pathFinder();

// The first of the programs that is installed, with its arguments; empty when none is.
QStringList FirstInstalled(const QList<QStringList>& candidates,
                           const ProgramFinder& find = pathFinder());

// "&System": HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO's PATH, then
// ...\Shared Tools Location's MSINFO folder with MSINFO32.EXE in it, then the desktop's
// system-information program. A Windows program runs through Wine, and only when Wine is there.
ToolLaunch systemInformationTool(reg::Registry* registry, const platform::DriveMap& drives,
                                 const ProgramFinder& find = pathFinder());
// "&Updates": the desktop's software-update tool.
ToolLaunch softwareUpdateTool(const ProgramFinder& find = pathFinder());

// Starts the tool detached, with an argument list; false when it could not be started.
bool startTool(const ToolLaunch& tool);

} // namespace orvanex::about
