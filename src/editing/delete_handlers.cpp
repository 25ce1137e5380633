#include "editing/delete_handlers.h"

#include "editing/action_panel_handlers.h"
#include "editing/backup_handlers.h"
#include "editing/delete_entry.h"
#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QApplication>

namespace orvanex::editing {

namespace {

void showStatus(Ui::frmORVANEX* ui, const DeleteOutcome& out) {
    ui->lblScan->setText(out.status);
    if (out.beep)
        QApplication::beep();
}

} // namespace

DeleteHandlers::DeleteHandlers(MainContext& ctx, backup::BackupHandlers& backup, QObject* parent)
    : ChangeGroup(ctx, backup, parent) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->cmdDeleteExt, &QAction::triggered, this, &DeleteHandlers::cmdDeleteExt_Click);
    connect(ui->cmdDeleteOKX, &QPushButton::clicked, this, &DeleteHandlers::cmdDeleteOKX_Click);
    connect(ui->cmdCancelDelete, &QPushButton::clicked, this,
            &DeleteHandlers::cmdCancelDelete_Click);
    connect(ui->cmdDeleteAction, &QPushButton::clicked, this,
            &DeleteHandlers::cmdDeleteAction_Click);
    connect(ui->cmdDeleteOKXQ, &QPushButton::clicked, this, &DeleteHandlers::cmdDeleteOKXQ_Click);
    connect(ui->cmdCancelDeleteQ, &QPushButton::clicked, this,
            &DeleteHandlers::cmdCancelDeleteQ_Click);
}

void DeleteHandlers::hidePanels() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->fraAction->setVisible(false);
    ui->fraDelete->setVisible(false);
    ui->fraDeleteAction->setVisible(false);
}

void DeleteHandlers::cmdDeleteExt_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->lblScan->setText(kPleaseWait);
    if ((ui->txtExt->text().isEmpty() && ui->txtRel->text().isEmpty()) ||
        ui->txtDesc->text().isEmpty()) {
        ui->cmdDeleteExt->setEnabled(false);
        ui->cmdDeleteExt->setEnabled(true);
        return;
    }
    m_ctx.state.setPanel(PanelOpen::Delete);
    ui->fraDeleteAction->setVisible(false);
    ui->fraDelete->setVisible(true);
    ui->fraDelete->raise();
    ui->lblFTDelete->setText(ui->txtDesc->text());
    ui->lblExtDelete->setText(m_ctx.state.byFileType() ? ui->txtRel->text() : ui->txtExt->text());
    ui->lblScan->setText(deleteRequestStatus(m_ctx.AppFolder));
    ui->cmdDeleteOKX->setFocus();
}

void DeleteHandlers::cmdDeleteOKX_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setPanel(PanelOpen::None);
    hidePanels();
    ui->lblScan->setText(kPleaseWait);
    ui->lblScan->repaint();
    DeleteFields f;
    f.byType = m_ctx.state.byFileType();
    f.CurrentTypeKey = m_ctx.CurrentTypeKey;
    f.txtDesc = ui->txtDesc->text();
    f.txtExt = ui->txtExt->text();
    f.txtRel = ui->txtRel->text();
    if (!m_backup.currentRequest(&f.backup))
        f.backup = {};
    EditContext edit = m_backup.editContext();
    const DeleteOutcome out = DeleteEntry(edit, f);
    EditingSession& session = editingSession(m_ctx);
    removeDeletedRows(*session.grids.extensions, *session.grids.fileTypes, out);
    if (out.deleted) {
        ClearDetailArea(m_ctx);
        ClearActionFields(m_ctx);
        DisableEntryControls(m_ctx);
    }
    showStatus(ui, out);
}

void DeleteHandlers::cmdCancelDelete_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setPanel(PanelOpen::None);
    setTopRow(ui->flex3, 0);
    hidePanels();
    editingSession(m_ctx).PendingActionDelete = false;
    ui->lblScan->setText(QStringLiteral("Delete Request Cancelled!"));
}

void DeleteHandlers::cmdCancelDeleteQ_Click() {
    cmdCancelDelete_Click();
}

void DeleteHandlers::cmdDeleteAction_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->lblScan->setText(deleteRequestStatus(m_ctx.AppFolder));
    editingSession(m_ctx).PendingActionDelete = true;
    DisableUpdateSlotItems(m_ctx);
    ui->lblActionToDelete->setText(ui->txtActionName->text());
    ui->fraDelete->setVisible(true);
    ui->fraDeleteAction->setVisible(true);
    ui->fraDelete->raise();
    ui->cmdDeleteOKXQ->setFocus();
    m_backup.EnableEntrySlot();
}

void DeleteHandlers::cmdDeleteOKXQ_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setPanel(PanelOpen::None);
    ui->lblScan->setText(kPleaseWait);
    ui->lblScan->repaint();
    EditingSession& session = editingSession(m_ctx);
    DeleteActionFields f;
    f.CurrentTypeKey = m_ctx.CurrentTypeKey;
    f.Verb = session.OpenedAction.Verb;
    f.DisplayName = session.OpenedAction.DisplayName;
    if (!m_backup.currentRequest(&f.backup))
        f.backup = {};
    EditContext edit = m_backup.editContext();
    const DeleteOutcome out = DeleteAction(edit, f);
    session.PendingActionDelete = false;
    if (out.deleted)
        reloadActions(m_ctx);
    showStatus(ui, out);
    hidePanels();
    setTopRow(ui->flex3, 0);
}

} // namespace orvanex::editing
