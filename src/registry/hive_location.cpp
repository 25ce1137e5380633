#include "registry/hive_location.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace orvanex::reg {

namespace {

HiveChoice fromBytes(const QByteArray& path) {
    const QByteArray absolute =
        path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    return {QFile::decodeName(absolute), false, absolute};
}

} // namespace

QString defaultHivePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orvanex/registry.hive");
}

HiveChoice chooseHive(const QString& explicitPath) {
    return chooseHiveBytes(explicitPath.isEmpty() ? QByteArray() : QFile::encodeName(explicitPath));
}

HiveChoice chooseHiveBytes(const QByteArray& explicitPath) {
    if (!explicitPath.isEmpty())
        return fromBytes(explicitPath);
    const QByteArray fromEnv = qgetenv("ORVANEX_HIVE");
    if (!fromEnv.isEmpty())
        return fromBytes(fromEnv);
    const QString path = defaultHivePath();
    return {path, true, QFile::encodeName(path)};
}

} // namespace orvanex::reg
