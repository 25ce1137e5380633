#pragma once
// Which registry a run works on: --hive FILE, then --wine-prefix DIR, then --windows DIR or
// --nt-hive FILE, then ORVANEX_HIVE, then the default hive.

#include "registry/hive_location.h"
#include "registry/registry.h"

#include <QString>
#include <memory>

namespace orvanex::reg {

// --windows DIR [--windows-user NAME], or --nt-hive FILE [--nt-user-classes FILE].
struct OfflineWindowsOptions {
    QString windows, windowsUser;
    QString ntHive, ntUserClasses;
    bool isEmpty() const { return windows.isEmpty() && ntHive.isEmpty(); }
};

struct RegistryChoice {
    HiveChoice hive;               // when winePrefix and offline are empty
    QString winePrefix;            // absolute; empty for a hive
    OfflineWindowsOptions offline; // a Windows installation's own hives
    // The program's own hive (made on first use), not a Wine prefix or Windows' hives.
    bool isOwnHive() const { return winePrefix.isEmpty() && offline.isEmpty(); }
    // How the status line and messages name it.
    QString description() const;
};

RegistryChoice chooseRegistry(const QString& hiveOption, const QString& winePrefixOption,
                              const OfflineWindowsOptions& offline = {});

// Opens the choice. A folder that is not a Wine prefix or a Windows installation is refused:
// null, with *error saying why.
std::unique_ptr<Registry> openChosenRegistry(const RegistryChoice& choice, QString* error);

} // namespace orvanex::reg
