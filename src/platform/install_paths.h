#pragma once
// Where the installed programs find what they ship: the help topics, the read-me and PELUSA. The
// same code serves the build tree (everything beside the program) and an installed prefix
// (bin/ beside share/orvanex/), so neither needs the other.

#include <QString>

namespace orvanex::platform {

// The folder that holds help/ and readme.txt: the program's own folder when they are there
// (the build tree), else the installed data folder relative to the program's folder.
QString installedDataFolder();
// The installed data folder as seen from a program folder, without looking at the disk.
QString dataFolderBeside(const QString& programFolder);
// The App folder a start from the desktop's menu uses: $XDG_DATA_HOME/orvanex.
QString userAppFolder();

} // namespace orvanex::platform
