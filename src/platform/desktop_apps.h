#pragma once
// The desktop's own association data (mimeapps.list and .desktop entries): which program opens a
// file, and its command line as an argument list with the file as one argument.

#include <QString>
#include <QStringList>

namespace orvanex::platform {

struct DesktopApp {
    QString id;            // "org.gnome.TextEditor.desktop"
    QString name;          // Name=
    QString executable;    // the program of Exec=, found on PATH when it is not a path
    QStringList exec;      // Exec= split into arguments, field codes not yet replaced
    bool terminal = false; // Terminal=true: it shows nothing without a terminal around it
    bool valid() const { return !exec.isEmpty(); }
};

// The default application for a MIME type ("text/plain"), or for one of its parents; invalid when
// the desktop names none. preferGraphical passes over programs that run in a terminal while
// another one is there.
DesktopApp defaultApplicationFor(const QString& mimeType, bool preferGraphical = false);
// The default application for the file's type (by content and name).
DesktopApp defaultApplicationForFile(const QString& path);
// Exec= split into arguments, with the quoting rules of desktop entries.
QStringList splitExec(const QString& exec);
// The program and its arguments to open file: %f %F %u %U become the file (one argument), other
// field codes go.
QStringList commandForFile(const DesktopApp& app, const QString& file);

} // namespace orvanex::platform
