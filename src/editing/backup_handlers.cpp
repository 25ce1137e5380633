#include "editing/backup_handlers.h"

#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QMainWindow>

namespace orvanex::backup {

BackupHandlers::BackupHandlers(MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->mnuBackup, &QAction::triggered, this, &BackupHandlers::mnuBackup_Click);
    for (int n = 1; n <= kSlotCount; ++n) {
        QAction* item = slotItem(n);
        item->setText(kEmptySlotCaption);
        item->setEnabled(false);
        connect(item, &QAction::triggered, this, [this, n] { mnuUpdate_Click(n); });
    }
    connect(&ctx.state, &editing::WindowState::entryShown, this, &BackupHandlers::EnableEntrySlot);
}

editing::EditContext BackupHandlers::editContext() {
    EditingSession& session = editingSession(m_ctx);
    return {m_ctx.regState, session.drives, session.extensions, session.fileTypes, m_ctx.AppFolder,
            state,          slots};
}

QAction* BackupHandlers::slotItem(int slot) const {
    Ui::frmORVANEX* ui = m_ctx.ui;
    QAction* items[] = {ui->mnuUpdate01, ui->mnuUpdate02, ui->mnuUpdate03, ui->mnuUpdate04,
                        ui->mnuUpdate05, ui->mnuUpdate06, ui->mnuUpdate07, ui->mnuUpdate08,
                        ui->mnuUpdate09, ui->mnuUpdate10};
    return items[slot - 1];
}

bool BackupHandlers::currentRequest(BackupRequest* request) const {
    // The entry the detail area shows, never the grid's current row (the keyboard may have moved
    // it). The extension list holds the extension in column 0 and its type in 3; the type list
    // the other way round.
    const EditingSession::ShownRow& shown = editingSession(m_ctx).shownRow;
    const bool byType = m_ctx.state.byFileType();
    if (!shown.shown || shown.byType != byType)
        return false;
    *request = {byType ? BackupRequest::Mode::FileType : BackupRequest::Mode::Extension,
                byType ? shown.column3 : shown.column0, byType ? shown.column0 : shown.column3};
    return true;
}

void BackupHandlers::mnuBackup_Click() {
    BackupRequest request;
    if (!currentRequest(&request))
        return;
    EditingSession& session = editingSession(m_ctx);
    const QString status =
        BackupRoutine(*m_ctx.regState.registry, session.extensions, m_ctx.AppFolder)
            .run(request, state);
    if (!status.isEmpty())
        m_ctx.ui->lblScan->setText(status);
}

SlotValues BackupHandlers::currentEntry() const {
    Ui::frmORVANEX* ui = m_ctx.ui;
    SlotValues v;
    v.FileType = ui->txtDesc->text();
    v.FileExtension = m_ctx.state.byFileType() ? ui->txtRel->text() : ui->txtExt->text();
    v.Handle = m_ctx.CurrentTypeKey;
    v.WhichKind = whichKind(m_ctx.state.byFileType(), false);
    return v;
}

void BackupHandlers::slotSaved(int slot) {
    QAction* item = slotItem(slot);
    item->setText(slots.captions[size_t(slot - 1)]);
    item->setEnabled(true);
}

void BackupHandlers::EnableEntrySlot() {
    editing::DisableUpdateSlotItems(m_ctx);
    if (const int n = slots.EnableEntrySlot(currentEntry()))
        slotItem(n)->setEnabled(true);
}

void BackupHandlers::EnableActionSlot(const QString& actionHandle) {
    editing::DisableUpdateSlotItems(m_ctx);
    SlotValues current = currentEntry();
    current.WhichKind = whichKind(m_ctx.state.byFileType(), true);
    current.ActionHandle = actionHandle;
    if (const int n = slots.EnableActionSlot(current))
        slotItem(n)->setEnabled(true);
}

void BackupHandlers::mnuUpdate_Click(int slot) {
    const SlotRestore r = restoreSlot(slots, slot);
    if (r.kind == SlotRestore::Kind::Nothing)
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->lblScan->setText(r.status);
    if (r.kind == SlotRestore::Kind::Entry) {
        ui->chkAlwaysShow->setChecked(r.values.ShowExtension == QLatin1String("yes"));
        ui->chkQuickView->setChecked(r.values.QuickView == QLatin1String("yes"));
        ui->txtIcon->setText(r.values.IconFile);
        ui->txtIconNumber->setText(r.values.IconNumber);
        ui->cmdApply->setEnabled(true);
    } else if (r.kind == SlotRestore::Kind::Action) {
        ui->chkSetDefault->setChecked(r.values.SetDefault == QLatin1String("yes"));
        const bool dde = r.values.UseDDE == QLatin1String("yes");
        ui->chkDDE->setChecked(dde);
        ui->txtActionName->setText(r.values.ActionName);
        ui->txtAppl->setText(r.values.Application);
        ui->txtDDEMsg->setText(r.values.DDEMessage);
        ui->txtDDEAppl->setText(r.values.DDEApplication);
        ui->txtDDENot->setText(r.values.DDERunning);
        ui->txtDDETopic->setText(r.values.DDETopic);
        editing::setDdeBoxesEnabled(m_ctx, dde);
        ui->cmdOKAction->setEnabled(true);
    }
}

} // namespace orvanex::backup
