#include "registry/hive_location.h"

#include <QDir>

namespace orvanex::reg {

QString defaultHivePath() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/orvanex/registry.hive");
}

HiveChoice chooseHive(const QString& explicitPath) {
    if (!explicitPath.isEmpty())
        return {QDir::current().absoluteFilePath(explicitPath), false};
    const QString fromEnv = qEnvironmentVariable("ORVANEX_HIVE");
    if (!fromEnv.isEmpty())
        return {QDir::current().absoluteFilePath(fromEnv), false};
    return {defaultHivePath(), true};
}

} // namespace orvanex::reg
