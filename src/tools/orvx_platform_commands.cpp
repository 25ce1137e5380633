#include "tools/orvx_commands.h"

namespace orvanex::tools {

QList<OrvxCommand> platformCommands() {
    return {};
}

} // namespace orvanex::tools
