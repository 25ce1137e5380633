#include "editing/list_loader.h"

#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "ui_main_window.h"

#include <QCoreApplication>

namespace orvanex::editing {

void fillLocateList(MainContext& ctx, bool fileTypes) {
    QComboBox* box = fileTypes ? ctx.ui->Combo2 : ctx.ui->Combo1;
    const QSignalBlocker quiet(box);
    // A drop-down list: the items are chosen, never typed over.
    box->setEditable(false);
    box->clear();
    box->addItems(model::locateItems());
    box->setCurrentIndex(0);
    box->setToolTip(fileTypes ? model::kFileTypeLocateTip : model::kExtensionLocateTip);
}

void FileTypeLoader::fillExtensionLocateList(MainContext& ctx) {
    fillLocateList(ctx, false);
}

void FileTypeLoader::enumerateExtensions(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    EditingSession& session = editingSession(ctx);
    applyFormatString(ui->flex1, model::extensionGridFormat());
    applyFormatString(ui->flex2, model::fileTypeGridFormat());
    applyFormatString(ui->flex3, model::actionGridFormat());
    session.grids.actions->clearRecords();
    setTopRow(ui->flex3, 0);

    model::ExtensionLoad load = model::LoadExtensions(ctx.regState);
    session.extensions = std::move(load.entries);
    session.grids.extensions->setRecords(std::move(load.rows));
}

void FileTypeLoader::buildLists(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    EditingSession& session = editingSession(ctx);
    ui->lblScan->setText(ctx.RegistryName + model::startupHint());

    model::FileTypeLoad types = model::BuildFileTypes(session.extensions);
    session.fileTypes = std::move(types.types);
    session.grids.fileTypes->setRecords(std::move(types.rows));
    DisableEntryControls(ctx);
    fillLocateList(ctx, true);

    model::ResetUpdateSlots();
    QCoreApplication::processEvents();
    session.lists = model::GatherAuxiliaryLists(ctx.regState, session.drives, session.fileTypes);
    ctx.FirstApplicationPending = session.lists.applications.firstPending();
    ctx.FirstIconFilePending = session.lists.iconFiles.firstPending();
}

void reloadLists(MainContext& ctx) {
    EditingSession& session = editingSession(ctx);
    ClearDetailArea(ctx);
    ClearActionFields(ctx);
    DisableEntryControls(ctx);
    model::ExtensionLoad load = model::LoadExtensions(ctx.regState);
    session.extensions = std::move(load.entries);
    session.grids.extensions->setRecords(std::move(load.rows));
    model::FileTypeLoad types = model::BuildFileTypes(session.extensions);
    session.fileTypes = std::move(types.types);
    session.grids.fileTypes->setRecords(std::move(types.rows));
    for (QTableView* grid : {ctx.ui->flex1, ctx.ui->flex2}) {
        sortGrid(grid, 0, model::kSortStringAscending);
        setTopRow(grid, 0);
    }
}

std::unique_ptr<StartupLoader> makeFileTypeLoader() {
    return std::make_unique<FileTypeLoader>();
}

} // namespace orvanex::editing
