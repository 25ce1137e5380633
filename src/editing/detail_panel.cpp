#include "editing/detail_panel.h"

#include "editing/apply_change.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "model/detail_view.h"
#include "platform/icon_draw.h"
#include "ui_main_window.h"

#include <QPainter>

namespace orvanex::editing {

namespace {

void setBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

QList<QLineEdit*> ddeBoxes(Ui::frmORVANEX* ui) {
    return {ui->txtDDEMsg, ui->txtDDEAppl, ui->txtDDENot, ui->txtDDETopic};
}

// Opening steps of both views.
void openDetail(MainContext& ctx) {
    ClearDetailArea(ctx);
    ClearActionFields(ctx);
    Ui::frmORVANEX* ui = ctx.ui;
    ui->txtDesc->setReadOnly(true);
    ui->txtExt->setReadOnly(true);
    ui->txtRel->setReadOnly(true);
    ui->txtIcon->setReadOnly(false);
    ui->cmdApply->setEnabled(false);
    ui->hs->setEnabled(false);
    ui->cmdIconView->setEnabled(false);
    ui->cmdIcons->setEnabled(false);
}

void drawPicture(MainContext& ctx, const model::DetailView& view) {
    QLabel* pic = ctx.ui->picIcon;
    if (view.picIcon.isNull()) {
        pic->clear();
        return;
    }
    const qreal ratio = pic->devicePixelRatioF();
    QPixmap canvas(QSize(32, 32) * ratio);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    // The icon made for this screen's pixel ratio when the file has one, else the one read.
    if (view.iconNativePath.isEmpty() ||
        !platform::drawIcon(canvas, view.iconNativePath, view.icon.Index)) {
        platform::drawIcon(canvas, view.picIcon);
    }
    pic->setPixmap(canvas);
}

// Everything the view computed, written into the panel; EditState last, so that the change
// handlers do not take the loading for an edit.
void applyView(MainContext& ctx, const model::DetailView& view, bool fileType) {
    Ui::frmORVANEX* ui = ctx.ui;
    EditingSession& session = editingSession(ctx);
    ui->txtDesc->setText(view.txtDesc);
    ui->txtRel->setText(view.txtRel);
    if (!fileType) {
        ui->txtExt->setText(view.txtExt);
        ui->txtMIME->setText(view.txtMIME);
    }
    ui->cmdDeleteExt->setEnabled(view.deleteExtEnabled);
    if (view.addExtTypeEnabled)
        ui->mnuAddExtType->setEnabled(*view.addExtTypeEnabled);
    ui->mnuBackup->setEnabled(view.backupEnabled);

    ui->txtIcon->setText(view.txtIcon);
    ui->txtIconNumber->setText(view.txtIconNumber);
    session.RememberedIconNumber = view.txtIconNumber;
    drawPicture(ctx, view);
    ui->hs->setMaximum(view.hsMax);
    ui->hs->setValue(view.hsValue);
    ui->hs->setEnabled(view.hsEnabled);
    ui->cmdIconView->setEnabled(view.iconCommandsEnabled);
    ui->cmdIcons->setEnabled(view.iconCommandsEnabled);
    ui->lblScan->setText(view.status);
    if (!view.typeFound)
        return;

    ctx.CurrentTypeKey = view.CurrentTypeKey;
    session.OldIconFile = view.OldIconFile;
    session.OldIconNumber = view.OldIconNumber;
    session.OldDescription = view.txtDesc;
    session.OldContentType = view.txtMIME;
    session.ShownExtensionKey =
        fileType ? QString() : extensionKeyOf(session.extensions, view.txtExt);
    session.DescriptionEditable = descriptionEditable(ctx.regState, view.CurrentTypeKey);
    ui->txtDesc->setReadOnly(!session.DescriptionEditable);
    ui->chkAlwaysShow->setChecked(view.flags.AlwaysShowExt == model::kYes);
    ui->chkQuickView->setChecked(view.flags.QuickView == model::kYes);
    session.actions = view.actions;
    showActionList(ctx);
    // The commands that only need some entry shown.
    ui->cmdPrintDetail->setEnabled(true);
    ui->cmdFindExts->setEnabled(true);
    ui->cmdBackSystem->setEnabled(true);
    ctx.state.showEntry(view.EditState == 1 ? EditState::EntryShown : EditState::Nothing);
}

// The row's own texts come from its record; only the clicked cell's text is quoted.
model::SelectedRow selectedRow(const model::IndexGridModel& grid, int tableRow, int column) {
    if (!grid.isRecordRow(tableRow))
        return {};
    const model::IndexRow& row = grid.record(tableRow);
    return {row.name, row.related, grid.text(tableRow, column)};
}

} // namespace

void ClearDetailArea(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    ctx.state.setEditState(EditState::Nothing);
    ui->lblScan->clear();
    applyFormatString(ui->flex3, model::actionGridFormat());
    editingSession(ctx).grids.actions->clearRecords();
    ui->flex3->setCurrentIndex(QModelIndex());
    setTopRow(ui->flex3, 0);
    ui->picIcon->clear();
    ui->picTest->clear();
    ui->txtDesc->clear();
    ui->txtExt->clear();
    ui->txtRel->clear();
    ui->txtIcon->clear();
    ui->txtIconNumber->clear();
    EditingSession& session = editingSession(ctx);
    session.RememberedIconNumber.clear();
    session.actions = model::ActionList{};
    session.shownRow = {};
    session.OldDescription.clear();
    session.OldContentType.clear();
    session.ShownExtensionKey.clear();
    session.DescriptionEditable = false;
    ui->chkAlwaysShow->setChecked(false);
    ui->chkQuickView->setChecked(false);
    ui->txtDesc->setReadOnly(true);
    ui->txtExt->setReadOnly(true);
    ui->txtRel->setReadOnly(true);
    ui->txtIcon->setReadOnly(true);
    ui->cmdApply->setEnabled(false);
}

void ClearActionFields(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    EditingSession& session = editingSession(ctx);
    session.RememberedAction = model::ActionEntry{};
    session.OpenedAction = model::ActionEntry{};
    session.RememberedActionName.clear();
    ui->txtActionName->clear();
    ui->txtAppl->clear();
    for (QLineEdit* box : ddeBoxes(ui))
        box->clear();
    ui->chkSetDefault->setChecked(false);
    ui->chkDDE->setChecked(false);
    setDdeBoxesEnabled(ctx, true);
    ui->cmdDeleteAction->setEnabled(true);
    session.PendingActionDelete = false;
}

void DisableEntryControls(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    ui->hs->setEnabled(false);
    ui->cmdIconView->setEnabled(false);
    ui->cmdIcons->setEnabled(false);
    DisableEntryCommands(ctx);
}

void DisableEntryCommands(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    ui->cmdDeleteExt->setEnabled(false);
    ui->mnuBackup->setEnabled(false);
    ui->mnuAddExtType->setEnabled(false);
    ui->cmdPrintDetail->setEnabled(false);
    ui->cmdFindExts->setEnabled(false);
    ui->cmdBackSystem->setEnabled(false);
}

void DisableUpdateSlotItems(MainContext& ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    for (QAction* item :
         {ui->mnuUpdate01, ui->mnuUpdate02, ui->mnuUpdate03, ui->mnuUpdate04, ui->mnuUpdate05,
          ui->mnuUpdate06, ui->mnuUpdate07, ui->mnuUpdate08, ui->mnuUpdate09, ui->mnuUpdate10})
        item->setEnabled(false);
}

void setDdeBoxesEnabled(MainContext& ctx, bool enabled) {
    const QColor colour = enabled ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x00, 0x00, 0x80);
    for (QLineEdit* box : ddeBoxes(ctx.ui)) {
        setBackground(box, colour);
        box->setEnabled(enabled);
    }
}

void showActionList(MainContext& ctx) {
    QTableView* grid = ctx.ui->flex3;
    EditingSession& session = editingSession(ctx);
    const model::ActionList& list = session.actions;
    applyFormatString(grid, list.formatString());
    // Every action is kept; the model keeps its padding rows below them.
    session.grids.actions->setRecords(list.actions);
    setTopRow(grid, 0);
    ctx.ui->lblDefault->setText(list.DefaultLabel);
}

void ShowExtension(MainContext& ctx, int tableRow, int column) {
    const model::SelectedRow row =
        selectedRow(*editingSession(ctx).grids.extensions, tableRow, column);
    openDetail(ctx);
    ctx.ui->lblScan->setText(model::retrievingStatus(row.cellText, false));
    EditingSession& session = editingSession(ctx);
    session.shownRow = {!row.column0.isEmpty(), false, row.column0, row.column3};
    applyView(ctx, model::ShowExtension(ctx.regState, session.drives, session.extensions, row),
              false);
}

void ShowFileType(MainContext& ctx, int tableRow, int column) {
    const model::SelectedRow row =
        selectedRow(*editingSession(ctx).grids.fileTypes, tableRow, column);
    openDetail(ctx);
    ctx.ui->lblScan->setText(model::retrievingStatus(row.cellText, true));
    EditingSession& session = editingSession(ctx);
    session.shownRow = {!row.column0.isEmpty(), true, row.column0, row.column3};
    applyView(ctx, model::ShowFileType(ctx.regState, session.drives, session.fileTypes, row), true);
}

} // namespace orvanex::editing
