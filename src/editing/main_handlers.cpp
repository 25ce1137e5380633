#include "editing/main_handlers.h"

#include "editing/action_grid_handlers.h"
#include "editing/action_panel_handlers.h"
#include "editing/backup_handlers.h"
#include "editing/change_handlers.h"
#include "editing/delete_handlers.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/help_handlers.h"
#include "editing/icon_panel.h"
#include "editing/main_context.h"
#include "editing/selection_handlers.h"
#include "editing/status_line.h"
#include "ui_main_window.h"

#include <QMainWindow>

namespace orvanex::editing {

MainHandlers installMainHandlers(MainContext& ctx) {
    editingSession(ctx).grids = attachGridModels(ctx);
    MainHandlers handlers;
    handlers.selection = new SelectionHandlers(ctx, ctx.window);
    handlers.selection->setObjectName(QStringLiteral("selectionHandlers"));
    handlers.actions = new ActionGridHandlers(ctx, ctx.window);
    handlers.actions->setObjectName(QStringLiteral("actionGridHandlers"));
    handlers.help = new HelpHandlers(ctx, ctx.window);
    handlers.help->setObjectName(QStringLiteral("helpHandlers"));
    keepTextWhole(ctx.ui->lblScan);
    new IconPanelHandlers(ctx, ctx.window);
    // Backups and update slots, and the changes that use them.
    new backup::BackupHandlers(ctx, ctx.window);
    new ChangeHandlers(ctx, ctx.window);
    new ActionPanelHandlers(ctx, ctx.window);
    new DeleteHandlers(ctx, ctx.window);
    return handlers;
}

} // namespace orvanex::editing
