#pragma once
// Where the registry lives: the default hive in the user's data folder, or one named by
// ORVANEX_HIVE or --hive.

#include <QString>

namespace orvanex::reg {

// $XDG_DATA_HOME/orvanex/registry.hive (XDG_DATA_HOME defaulting to ~/.local/share).
QString defaultHivePath();

struct HiveChoice {
    QString path;
    bool isDefault = false; // neither --hive nor ORVANEX_HIVE named it
};

// explicitPath (from --hive) wins, then ORVANEX_HIVE, then the default.
HiveChoice chooseHive(const QString& explicitPath = QString());

} // namespace orvanex::reg
