#pragma once
// The desktop's text editor: the default application for text/plain files, started with an
// argument list (never through a shell); the viewer beside the program when there is none.

#include <QString>
#include <QStringList>

namespace orvanex::platform {

// The program and arguments of a desktop entry's Exec line for one file (%f %F %u %U replaced,
// other field codes dropped); empty when the line cannot be used.
QStringList desktopExecCommand(const QString& execLine, const QString& file);

// The command that opens a text file: the text/plain default's Exec line, else viewerProgram.
QStringList textEditorCommand(const QString& file, const QString& viewerProgram);

// Starts it detached; false when the program could not be started.
bool openInTextEditor(const QString& file, const QString& viewerProgram);

} // namespace orvanex::platform
