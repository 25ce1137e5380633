#include "registry/hive_location.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

std::unique_ptr<reg::Registry> OrvxContext::openRegistry() {
    const reg::HiveChoice hive = reg::chooseHive(hiveOption);
    auto registry = reg::Registry::openHive(hive.path);
    if (registry && !registry->problem().isEmpty())
        err << "orvx: " << registry->problem() << Qt::endl;
    return registry;
}

int OrvxContext::fail(const QString& message) {
    err << "orvx: " << message << Qt::endl;
    return 1;
}

} // namespace orvanex::tools
