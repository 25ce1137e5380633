#include "tools/orvx_commands.h"

namespace orvanex::tools {

QList<OrvxCommand> registryCommands() {
    return {};
}

} // namespace orvanex::tools
