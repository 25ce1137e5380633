#pragma once
// What the search window's Open, Play, Opens With?, Notepad, View, Explorer and Properties start
// for a found file: the program and its argument list, or the file manager's call, shared with
// `orvx open`, `edit`, `view`, `opens-with`, `show-in-folder` and `properties`.

#include <QString>
#include <QStringList>

namespace orvanex::search {

struct LaunchCommand {
    QString program;     // what the status line names
    QStringList command; // the program, then its arguments (the file as one); empty: none
    bool valid() const { return !command.isEmpty(); }
};

// "No Open With Program Associated With This File!"
QString NoOpenWithText();

// The desktop's default program for the file's type.
LaunchCommand OpenCommand(const QString& nativePath);
// The desktop's text editor for the file; invalid when the desktop names none.
LaunchCommand EditCommand(const QString& nativePath);
// The viewer: beside the App folder's, else beside this program.
LaunchCommand ViewCommand(const QString& nativePath, const QString& appFolder);

// Asks the desktop's file manager to show the file in its folder ("ShowItems") or its properties
// ("ShowItemProperties"); false when none took the call.
bool AskFileManager(const QString& method, const QString& nativePath);
// The desktop's program for folders, on the file's folder (where no file manager answers).
LaunchCommand FolderCommand(const QString& nativePath);

// Starts the command on its own (no shell); false when it could not be started.
bool StartLaunch(const LaunchCommand& launch);

} // namespace orvanex::search
