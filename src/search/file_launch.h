#pragma once
// What the search window's Open, Play, Opens With?, Notepad, View, Explorer and Properties start
// for a found file: the program and its argument list, or the file manager's call, shared with
// `orvx open`, `edit`, `view`, `opens-with`, `show-in-folder` and `properties`.

#include "platform/desktop_apps.h"

#include <QString>
#include <QStringList>

namespace orvanex::search {

struct LaunchCommand {
    QString program;     // what the status line names
    QStringList command; // the program, then its arguments (the file as one); empty: none
    QString missing;     // when invalid although a program is named: why it cannot be started
    bool valid() const { return !command.isEmpty(); }
    bool named() const { return valid() || !missing.isEmpty(); }
};

// A desktop program for the file: a terminal program (Terminal=true) runs in the desktop's
// terminal (x-terminal-emulator -e); invalid when it needs one and there is none.
LaunchCommand AppCommand(const platform::DesktopApp& app, const QString& nativePath);

// "No Open With Program Associated With This File!"
QString NoOpenWithText();

// The desktop's default program for the file's type.
LaunchCommand OpenCommand(const QString& nativePath);
// The desktop's text editor for the file, a graphical one first; invalid when there is none (or
// only a terminal one and no terminal), and the viewer shows the file instead.
LaunchCommand EditCommand(const QString& nativePath);
// The viewer: beside the App folder's, else beside this program.
LaunchCommand ViewCommand(const QString& nativePath, const QString& appFolder);
// Why the viewer cannot show the file ("" when it can): a missing file, a FIFO, a device or a
// socket is refused as the viewer itself would refuse it, without starting it.
QString ViewRefusal(const QString& nativePath);

// Asks the desktop's file manager to show the file in its folder ("ShowItems") or its properties
// ("ShowItemProperties"); false when none took the call.
bool AskFileManager(const QString& method, const QString& nativePath);
// The desktop's program for folders, on the file's folder (where no file manager answers).
LaunchCommand FolderCommand(const QString& nativePath);

// Starts the command on its own (no shell); false, with the system's reason, when it could not be
// started.
bool StartLaunch(const LaunchCommand& launch, QString* reason = nullptr);
// "Cannot view PATH: REASON"
QString CannotViewText(const QString& shownPath, const QString& reason);
// "PROGRAM ** Error ** could not be started: REASON"
QString LaunchErrorText(const LaunchCommand& launch, const QString& reason);
// "No program on this desktop opens folders."
QString NoFolderProgramText();

} // namespace orvanex::search
