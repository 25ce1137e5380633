#pragma once
// What the search window's Open, Play, Opens With?, Notepad and View start for a found file: the
// program and its argument list, shared with `orvx open`, `edit`, `view` and `opens-with`.

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

// Starts the command on its own (no shell); false when it could not be started.
bool StartLaunch(const LaunchCommand& launch);

} // namespace orvanex::search
