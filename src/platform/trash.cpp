#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvanex::platform {

namespace {

// ".../Trash/files/NAME", ".../.Trash-1000/files/NAME" or ".../.Trash/1000/files/NAME".
bool isInATrash(const QString& trashedPath) {
    const QDir files = QFileInfo(trashedPath).dir();
    if (files.dirName() != QLatin1String("files"))
        return false;
    QDir trash = files;
    if (!trash.cdUp())
        return false;
    const QString name = trash.dirName();
    if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash-")))
        return true;
    return trash.cdUp() && trash.dirName() == QLatin1String(".Trash");
}

} // namespace

bool moveToTrash(const QString& path) {
    // Without the data folder (a new account) Qt finds no trash and would put the file into
    // "files" below the working folder, where no file manager looks.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return false;
    QString trashed;
    if (!QFile::moveToTrash(path, &trashed))
        return false;
    if (isInATrash(trashed))
        return true;
    // Somewhere else: put it back rather than leave it where nobody would find it.
    const QFileInfo moved(trashed);
    if (QFile::rename(trashed, path))
        QFile::remove(moved.dir().filePath(QStringLiteral("../info/") + moved.fileName() +
                                           QStringLiteral(".trashinfo")));
    return false;
}

} // namespace orvanex::platform
