#pragma once
// The App folder and the files the program keeps beside itself. Every path into it is built here,
// so that the spelling (Linux names are case-sensitive) is the same everywhere.

#include <QString>

namespace orvanex {

// The process's current directory.
QString currentAppFolder();
// appFolder + "/Backup": the folder of the registry backup files.
QString backupFolderPath(const QString& appFolder);
// appFolder + "/orvanex.hlp": the help file.
QString helpFilePath(const QString& appFolder);
// Creates the backup folder; failure (it exists, or cannot be made) is ignored by the callers.
bool createBackupFolder(const QString& appFolder);

} // namespace orvanex
