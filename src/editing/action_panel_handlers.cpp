#include "editing/action_panel_handlers.h"

#include "editing/action_edit.h"
#include "editing/backup_handlers.h"
#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/frm_action.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QMainWindow>
#include <QTableView>

namespace orvanex::editing {

ActionPanelHandlers::ActionPanelHandlers(MainContext& ctx, backup::BackupHandlers& backup,
                                         QObject* parent)
    : ChangeGroup(ctx, backup, parent) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->cmdOKAction, &QPushButton::clicked, this, &ActionPanelHandlers::cmdOKAction_Click);
    connect(ui->cmdCancelAction, &QPushButton::clicked, this,
            &ActionPanelHandlers::cmdCancelAction_Click);
    connect(ui->cmdBrowseApplX, &QPushButton::clicked, this,
            &ActionPanelHandlers::cmdBrowseApplX_Click);
    ui->cmdLinuxAction->setText(kLinuxHandOver.caption);
    connect(ui->cmdLinuxAction, &QPushButton::clicked, this,
            &ActionPanelHandlers::cmdLinuxAction_Click);
}

void reloadActions(MainContext& ctx) {
    EditingSession& session = editingSession(ctx);
    session.actions = model::LoadActions(ctx.regState, ctx.CurrentTypeKey);
    showActionList(ctx);
}

void ActionPanelHandlers::cmdOKAction_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    DisableUpdateSlotItems(m_ctx);
    m_ctx.state.setPanel(PanelOpen::None);
    ui->fraAction->setVisible(false);
    ui->cmdOKAction->setEnabled(false);
    if (m_ctx.state.actionEditState() == ActionEditState::Closed)
        return;
    ui->lblScan->setText(kPleaseWait);
    ui->lblScan->repaint();
    m_backup.EnableEntrySlot();

    EditingSession& session = editingSession(m_ctx);
    ActionFields f;
    f.CurrentTypeKey = m_ctx.CurrentTypeKey;
    f.adding = m_ctx.state.addingAction();
    if (!f.adding) {
        const int row = currentRow(ui->flex3);
        const int col =
            ui->flex3->currentIndex().isValid() ? ui->flex3->currentIndex().column() : 0;
        f.cellText = row >= 0 ? cellText(ui->flex3, row, col) : QString();
        if (f.cellText.isEmpty())
            f.cellText = session.RememberedActionName;
    }
    f.txtActionName = ui->txtActionName->text();
    f.txtAppl = ui->txtAppl->text();
    f.setDefaultChecked = ui->chkSetDefault->isChecked();
    f.ddeChecked = ui->chkDDE->isChecked();
    f.txtDDEMsg = ui->txtDDEMsg->text();
    f.txtDDEAppl = ui->txtDDEAppl->text();
    f.txtDDENot = ui->txtDDENot->text();
    f.txtDDETopic = ui->txtDDETopic->text();
    f.Remembered = f.adding ? model::ActionEntry{} : session.OpenedAction;
    f.RememberedName = f.adding ? QString() : session.RememberedActionName;
    if (!m_backup.currentRequest(&f.backup))
        f.backup = {};
    f.slot = m_backup.currentEntry();
    f.slot.WhichKind = backup::whichKind(m_ctx.state.byFileType(), true);

    ActionOutcome out;
    EditContext edit = m_backup.editContext();
    out = ApplyAction(edit, f);
    ui->lblScan->setText(out.status);
    if (out.beep)
        QApplication::beep();
    if (out.reopen != ActionOutcome::Reopen::None) {
        m_ctx.state.setPanel(PanelOpen::Action);
        ui->fraAction->setVisible(true);
        ui->fraAction->raise();
        ui->cmdOKAction->setEnabled(true);
        (out.reopen == ActionOutcome::Reopen::Name ? ui->txtActionName : ui->txtAppl)->setFocus();
        return;
    }
    if (ui->txtDDEMsg->text() != out.txtDDEMsg)
        ui->txtDDEMsg->setText(out.txtDDEMsg);
    if (out.reload)
        reloadActions(m_ctx);
    if (out.slot > 0)
        m_backup.slotSaved(out.slot);
    ui->cmdOKAction->setEnabled(false);
}

void ActionPanelHandlers::cmdCancelAction_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditingSession& session = editingSession(m_ctx);
    m_ctx.state.setPanel(PanelOpen::None);
    setTopRow(ui->flex3, 0);
    DisableUpdateSlotItems(m_ctx);
    ui->fraAction->setVisible(false);
    QString status = QStringLiteral("Update Request Cancelled!");
    if (session.PendingActionDelete) {
        status = QStringLiteral("Delete Request Cancelled!");
        session.PendingActionDelete = false;
        ui->fraDelete->setVisible(false);
        ui->fraDeleteAction->setVisible(false);
    }
    if (m_ctx.state.addingAction())
        status = QStringLiteral("Add Request Cancelled!");
    ui->lblScan->setText(status);
    m_backup.EnableEntrySlot();
}

void ActionPanelHandlers::cmdBrowseApplX_Click() {
    EditingSession& session = editingSession(m_ctx);
    FrmAction picker(session.lists.applications.items(), session.drives, m_ctx.window);
    picker.exec();
    const QString chosen = picker.SelectedApplication;
    if (chosen.isEmpty())
        return;
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
    m_ctx.ui->txtAppl->setText(chosen);
}

void ActionPanelHandlers::cmdLinuxAction_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ActionFields f;
    f.adding = m_ctx.state.addingAction();
    f.txtActionName = ui->txtActionName->text();
    applyTemplate(kLinuxHandOver, &f);
    ui->txtActionName->setText(f.txtActionName);
    ui->txtAppl->setText(f.txtAppl);
    ui->chkDDE->setChecked(f.ddeChecked); // its handler empties and locks the DDE boxes
    ui->txtDDEMsg->setText(f.txtDDEMsg);
    ui->txtDDEAppl->setText(f.txtDDEAppl);
    ui->txtDDENot->setText(f.txtDDENot);
    ui->txtDDETopic->setText(f.txtDDETopic);
}

} // namespace orvanex::editing
