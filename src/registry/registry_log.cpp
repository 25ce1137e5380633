#include "registry/registry_log.h"

namespace orvanex::reg {

Q_LOGGING_CATEGORY(lcRegistry, "orvanex.registry")
Q_LOGGING_CATEGORY(lcHive, "orvanex.hive")

} // namespace orvanex::reg
