#pragma once
// Which registry a run works on: --hive FILE, then --wine-prefix DIR, then ORVANEX_HIVE, then the
// default hive.

#include "registry/hive_location.h"
#include "registry/registry.h"

#include <QString>
#include <memory>

namespace orvanex::reg {

struct RegistryChoice {
    HiveChoice hive;    // when winePrefix is empty
    QString winePrefix; // absolute; empty for a hive
    // How the status line and messages name it.
    QString description() const;
};

RegistryChoice chooseRegistry(const QString& hiveOption, const QString& winePrefixOption);

// Opens the choice. A folder that is not a Wine prefix is refused: null, with *error saying why.
std::unique_ptr<Registry> openChosenRegistry(const RegistryChoice& choice, QString* error);

} // namespace orvanex::reg
