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

ActionPanelHandlers::ActionPanelHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("actionPanelHandlers"));
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
    m_ctx.PanelOpen = 0;
    ui->fraAction->setVisible(false);
    ui->cmdOKAction->setEnabled(false);
    if (m_ctx.ActionEditState == 0)
        return;
    ui->lblScan->setText(kPleaseWait);
    ui->lblScan->repaint();
    backup::BackupHandlers* b = backup::BackupHandlers::of(m_ctx);
    b->EnableEntrySlot();

    EditingSession& session = editingSession(m_ctx);
    ActionFields f;
    f.CurrentTypeKey = m_ctx.CurrentTypeKey;
    f.adding = m_ctx.AddingAction == 1;
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
    if (!b->currentRequest(&f.backup))
        f.backup = {};
    f.slot = b->currentEntry();
    f.slot.WhichKind = backup::whichKind(m_ctx.SelectByType == 1, true);

    ActionOutcome out;
    EditContext edit{m_ctx.regState,    session.drives,  session.extensions,
                     session.fileTypes, m_ctx.AppFolder, b->state,
                     b->slots};
    out = ApplyAction(edit, f);
    ui->lblScan->setText(out.status);
    if (out.beep)
        QApplication::beep();
    if (out.reopen != ActionOutcome::Reopen::None) {
        m_ctx.PanelOpen = 1;
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
        b->slotSaved(out.slot);
    ui->cmdOKAction->setEnabled(false);
}

void ActionPanelHandlers::cmdCancelAction_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditingSession& session = editingSession(m_ctx);
    m_ctx.PanelOpen = 0;
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
    if (m_ctx.AddingAction == 1)
        status = QStringLiteral("Add Request Cancelled!");
    ui->lblScan->setText(status);
    if (auto* b = backup::BackupHandlers::of(m_ctx))
        b->EnableEntrySlot();
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
    f.adding = m_ctx.AddingAction == 1;
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
