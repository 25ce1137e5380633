#pragma once
// Generated classes for benchmarks: many extensions, types and actions shaped like a real
// HKEY_CLASSES_ROOT, optionally with icon files on a drive.

#include "registry/registry.h"

#include <QString>

namespace orvanex::bench {

struct HiveSize {
    int extensions = 5000;
    int fileTypes = 3000;
    int actions = 10000;
};

// The name of generated type t ("gentype00042.Document").
QString generatedTypeName(int t);

// Writes the classes into registry (one batch). When driveCFolder is not empty, a few icon
// libraries are written there and most DefaultIcon values name them.
reg::Status generateClasses(reg::Registry& registry, const HiveSize& size,
                            const QString& driveCFolder = QString());

} // namespace orvanex::bench
