#include "editing/main_handlers.h"

#include "editing/action_grid_handlers.h"
#include "editing/action_panel_handlers.h"
#include "editing/backup_handlers.h"
#include "editing/backup_window_handlers.h"
#include "editing/change_handlers.h"
#include "editing/count_handlers.h"
#include "editing/delete_handlers.h"
#include "editing/editing_session.h"
#include "editing/filter_box.h"
#include "editing/frm_check.h"
#include "editing/grid_view.h"
#include "editing/help_handlers.h"
#include "editing/icon_panel.h"
#include "editing/list_export_handlers.h"
#include "editing/main_context.h"
#include "editing/report_handlers.h"
#include "editing/search_launch.h"
#include "editing/selection_handlers.h"
#include "editing/status_line.h"
#include "ui_main_window.h"

namespace orvanex::editing {

MainHandlers::MainHandlers(MainContext& ctx) {
    editingSession(ctx).grids = attachGridModels(ctx);
    // The backup handlers connect only their own menu items, so making them first changes no
    // control's order of handlers; the rest follow in the order they always had.
    backup = std::make_unique<backup::BackupHandlers>(ctx);
    selection = std::make_unique<SelectionHandlers>(ctx, nullptr);
    actions = std::make_unique<ActionGridHandlers>(ctx, *backup);
    help = std::make_unique<HelpHandlers>(ctx, nullptr);
    keepTextWhole(ctx.ui->lblScan);
    iconPanel = std::make_unique<IconPanelHandlers>(ctx, nullptr);
    change = std::make_unique<ChangeHandlers>(ctx, *backup, *selection);
    actionPanel = std::make_unique<ActionPanelHandlers>(ctx, *backup);
    deletes = std::make_unique<DeleteHandlers>(ctx, *backup);
    QObject::connect(ctx.ui->cmdFindExts, &QPushButton::clicked, selection.get(),
                     [&ctx] { search::cmdFindExts_Click(ctx); });
    reports = std::make_unique<reports::ReportHandlers>(ctx, nullptr);
    backupWindow = std::make_unique<backup::BackupWindowHandlers>(ctx, nullptr);
    count = std::make_unique<CountHandlers>(ctx, nullptr);
    filter = std::make_unique<FilterBox>(ctx);
    installCheckWindow(ctx, *backup, *filter, filter.get());
    listExport = std::make_unique<reports::ListExportHandlers>(ctx, nullptr);
}

MainHandlers::~MainHandlers() = default;

} // namespace orvanex::editing
