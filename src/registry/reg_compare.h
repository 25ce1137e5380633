#pragma once
// Comparing two registries (or a registry with a .reg file read into memory): the changes that
// would turn one key's subtree into the other's, listed as a merge's diff lists them.

#include "registry/reg_diff.h"

namespace orvanex::reg {

// The changes that turn keyName (with its subtree) in before into keyName in after: keys created
// and deleted, values added, changed and removed. error is set (and nothing listed) when neither
// has the key or one cannot be read.
RegDiff compareRegistryKeys(Registry& before, Registry& after, const QString& keyName);

// The same over every root: what turns everything before holds into what after holds.
RegDiff compareRegistries(Registry& before, Registry& after);

} // namespace orvanex::reg
