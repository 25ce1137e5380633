#pragma once
// Finding the file a command line's program or an icon location names, as Windows does: the
// first word quoted or not, environment variables of the Windows folders, with and without
// ".exe", in the Windows and system folders and through the App Paths list.

#include "platform/drive_map.h"

#include <QHash>
#include <QString>

namespace orvanex::platform {

// The Windows folders' variables (%SystemRoot%, %windir%, %ProgramFiles%, ...) replaced, without
// regard to case. *known is false when the text holds a variable that is not one of them (such
// as the "%1" of a document), whose value cannot be told.
QString expandWindowsVariables(const QString& text, bool* known);

struct FoundFile {
    bool checkable = false; // false: a placeholder or an unknown variable, nothing to tell
    QString named;          // the file as the text names it (the program's word, or the path)
    QString found;          // the Windows path that exists; empty when it is missing
    bool viaAppPaths = false;
};

class ProgramLookup {
public:
    // appPaths: upper-cased program name ("WORDPAD.EXE") to the App Paths key's default value.
    ProgramLookup(const DriveMap& drives, QHash<QString, QString> appPaths);

    // The program of a command line: the quoted first word, or else the shortest run of words
    // (cut at blanks) that names a file, as CreateProcess tries them.
    FoundFile program(const QString& commandLine) const;
    // An icon file: a drive path as it stands, a bare name in the system and Windows folders.
    FoundFile iconFile(const QString& file) const;
    // The folders a bare name is looked for in.
    static QStringList searchFolders();

private:
    // The Windows path of a file name, path or drive path that exists; "" when none does.
    QString locate(const QString& name, bool tryExe, bool useAppPaths, bool* viaAppPaths) const;
    bool exists(const QString& windowsPath) const;

    const DriveMap& m_drives;
    QHash<QString, QString> m_appPaths;
    mutable QHash<QString, bool> m_exists; // upper-cased Windows path: files are read once
};

} // namespace orvanex::platform
