#pragma once
// Where the registry lives: the default hive in the user's data folder, or one named by
// ORVANEX_HIVE or --hive.

#include <QByteArray>
#include <QString>

namespace orvanex::reg {

// <generic data folder>/orvanex/registry.hive ($XDG_DATA_HOME, by default ~/.local/share).
QString defaultHivePath();

struct HiveChoice {
    QString path;
    bool isDefault = false; // neither --hive nor ORVANEX_HIVE named it
    QByteArray nativePath;  // the path's own bytes: open the hive by these
};

// explicitPath (from --hive) wins, then ORVANEX_HIVE, then the default.
HiveChoice chooseHive(const QString& explicitPath = QString());
// The same with --hive's own bytes (null: not given); ORVANEX_HIVE keeps its bytes too.
HiveChoice chooseHiveBytes(const QByteArray& explicitPath);

} // namespace orvanex::reg
