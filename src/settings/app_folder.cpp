#include "settings/app_folder.h"

#include <QDir>

namespace orvanex {

QString currentAppFolder() {
    return QDir::currentPath();
}

QString backupFolderPath(const QString& appFolder) {
    return appFolder + QStringLiteral("/Backup");
}

QString helpFilePath(const QString& appFolder) {
    return appFolder + QStringLiteral("/orvanex.hlp");
}

bool createBackupFolder(const QString& appFolder) {
    return QDir().mkdir(backupFolderPath(appFolder));
}

} // namespace orvanex
