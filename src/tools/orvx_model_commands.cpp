#include "tools/orvx_commands.h"

namespace orvanex::tools {

QList<OrvxCommand> modelCommands() {
    return {};
}

} // namespace orvanex::tools
