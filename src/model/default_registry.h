#pragma once
// The registry a first run starts with: a Windows 95 HKEY_CLASSES_ROOT of the program's own
// making, with the icon files it names under the drive map.

#include "registry/hive_location.h"
#include "registry/registry.h"

namespace orvanex::model {

struct DefaultRegistryResult {
    bool created = false; // the hive was made now
    QString error;        // empty on success (also when nothing had to be done)
};

// For the default hive only: when its file does not exist yet, writes the default registry into
// it and the icon files beside it (drive C:). A hive named by --hive or ORVANEX_HIVE is left
// alone.
DefaultRegistryResult ensureDefaultRegistry(const reg::HiveChoice& choice);

// Writes the default classes into a registry (any, e.g. in memory).
reg::Status writeDefaultClasses(reg::Registry& registry);
// Writes the icon files the default classes name below driveCFolder (the native folder of C:).
// Returns an error text, empty on success.
QString writeDefaultIconFiles(const QString& driveCFolder);

} // namespace orvanex::model
