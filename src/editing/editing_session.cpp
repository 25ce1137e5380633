#include "editing/editing_session.h"

#include "registry/registry.h"

namespace orvanex {

EditingSession& editingSession(MainContext& ctx) {
    if (!ctx.editing) {
        ctx.editing = std::make_shared<EditingSession>();
        // A registry in memory names no folder, so its drive letters stay unmapped.
        if (ctx.registry && !ctx.registry->hivePath().isEmpty())
            ctx.editing->drives = platform::DriveMap::forHive(ctx.registry->hivePath());
    }
    return *ctx.editing;
}

} // namespace orvanex
