#include "platform/install_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvanex::platform {

namespace {

bool holdsHelp(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/help/orvanex.html")).isFile();
}

} // namespace

QString dataFolderBeside(const QString& programFolder) {
    return QDir::cleanPath(programFolder + u'/' + QStringLiteral(ORVANEX_DATA_FROM_BIN));
}

QString installedDataFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (holdsHelp(programFolder))
        return programFolder;
    return dataFolderBeside(programFolder);
}

QString userAppFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orvanex");
}

} // namespace orvanex::platform
