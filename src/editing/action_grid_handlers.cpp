#include "editing/action_grid_handlers.h"

#include "editing/backup_handlers.h"
#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QTableView>

namespace orvanex::editing {

ActionGridHandlers::ActionGridHandlers(MainContext& ctx, backup::BackupHandlers& backup,
                                       QObject* parent)
    : ChangeGroup(ctx, backup, parent) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->flex3, &QTableView::clicked, this,
            [this](const QModelIndex& i) { flex3_Click(i.row() + 1, i.column()); });
    connect(ui->flex3->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { flex3_Click(0, c); });
    connect(ui->chkDDE, &QCheckBox::toggled, this, &ActionGridHandlers::chkDDE_Click);

    connect(ui->chkAlwaysShow, &QCheckBox::toggled, this, &ActionGridHandlers::entryFlagClicked);
    connect(ui->chkQuickView, &QCheckBox::toggled, this, &ActionGridHandlers::entryFlagClicked);
    connect(ui->txtDesc, &QLineEdit::textChanged, this, &ActionGridHandlers::entryTextChanged);
    connect(ui->txtRel, &QLineEdit::textChanged, this, &ActionGridHandlers::entryTextChanged);
    connect(ui->txtMIME, &QLineEdit::textChanged, this, &ActionGridHandlers::entryTextChanged);
    connect(ui->txtIcon, &QLineEdit::textChanged, this, &ActionGridHandlers::txtIcon_Change);
    connect(ui->hs, &QScrollBar::valueChanged, this, &ActionGridHandlers::hs_Change);
    connect(ui->chkSetDefault, &QCheckBox::toggled, this, &ActionGridHandlers::actionFieldEdited);
    for (QLineEdit* box : {ui->txtActionName, ui->txtAppl, ui->txtDDEMsg, ui->txtDDEAppl,
                           ui->txtDDENot, ui->txtDDETopic})
        connect(box, &QLineEdit::textChanged, this, &ActionGridHandlers::actionFieldEdited);
}

void ActionGridHandlers::flex3_Click(int row, int col) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    if (m_ctx.state.editState() == EditState::NewType) {
        ui->lblScan->setText(
            QStringLiteral("Enter The 'Apply' Button First To Add The Extension(s)!"));
        return;
    }
    m_ctx.state.setActionEditState(ActionEditState::Closed);
    ClearActionFields(m_ctx);
    if (row == 0) {
        openForAdd();
        return;
    }
    // A padding row below the actions has no record: nothing to open.
    const model::ActionGridModel& grid = *editingSession(m_ctx).grids.actions;
    if (!grid.isRecordRow(row - 1) || col < 0)
        return;
    const QString name = grid.record(row - 1).DisplayName;
    if (name.isEmpty())
        return;
    openForChange(name);
}

void ActionGridHandlers::openForAdd() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    if (ui->txtIcon->isReadOnly()) {
        ui->lblScan->setText(QStringLiteral("Please make selection first!"));
        return;
    }
    if (ui->txtDesc->text().isEmpty()) {
        ui->lblScan->setText(QStringLiteral("Registered File Type Blank!"));
        return;
    }
    if (ui->txtRel->text().isEmpty() && ui->txtExt->text().isEmpty()) {
        ui->lblScan->setText(QStringLiteral("File Extension(s) Blank!"));
        return;
    }
    m_ctx.state.setPanel(PanelOpen::Action);
    m_ctx.state.setAddingAction(true);
    m_ctx.state.setActionEditState(ActionEditState::Open);
    ClearActionFields(m_ctx);
    setDdeBoxesEnabled(m_ctx, false);
    ui->cmdOKAction->setEnabled(false);
    ui->cmdDeleteAction->setEnabled(false);
    ui->fraAction->setVisible(true);
    ui->fraAction->raise();
    ui->lblScan->setText(QStringLiteral("Enter The Information For The Action Add Request!"));
    ui->txtActionName->setFocus();
}

void ActionGridHandlers::openForChange(const QString& displayName) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditingSession& session = editingSession(m_ctx);
    m_ctx.state.setPanel(PanelOpen::Action);
    m_ctx.state.setAddingAction(false);
    m_ctx.state.setActionEditState(ActionEditState::Open);
    DisableUpdateSlotItems(m_ctx);

    const model::ActionDetail detail =
        model::LoadActionDetail(m_ctx.regState, m_ctx.CurrentTypeKey, session.actions, displayName);
    // Remembered first: setting Use DDE below restores the DDE boxes from it.
    session.RememberedAction = detail.action;
    session.OpenedAction = detail.action;
    session.RememberedActionName = detail.found ? detail.ActionName : displayName;
    ui->txtActionName->setText(session.RememberedActionName);
    ui->txtAppl->setText(detail.action.Command);
    ui->chkSetDefault->setChecked(detail.action.IsDefault == model::kYes);
    ui->txtDDEMsg->setText(detail.action.DdeMessage);
    ui->txtDDEAppl->setText(detail.action.DdeApplication);
    ui->txtDDENot->setText(detail.action.DdeNotRunning);
    ui->txtDDETopic->setText(detail.action.DdeTopic);
    ui->chkDDE->setChecked(detail.action.UsesDde == model::kYes);
    setDdeBoxesEnabled(m_ctx, ui->chkDDE->isChecked());

    ui->cmdOKAction->setEnabled(false);
    ui->cmdDeleteAction->setEnabled(true);
    ui->fraAction->setVisible(true);
    ui->fraAction->raise();
    ui->lblScan->setText(QStringLiteral("Enter Changes to Action ") + ui->txtActionName->text());
    m_backup.EnableActionSlot(detail.action.Verb);
}

void ActionGridHandlers::chkDDE_Click() {
    if (m_ctx.state.actionEditState() == ActionEditState::Closed)
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditingSession& session = editingSession(m_ctx);
    if (ui->chkDDE->isChecked()) {
        session.RememberedAction.UsesDde = model::kYes;
        setDdeBoxesEnabled(m_ctx, true);
        ui->txtDDEMsg->setText(session.RememberedAction.DdeMessage);
        ui->txtDDEAppl->setText(session.RememberedAction.DdeApplication);
        ui->txtDDENot->setText(session.RememberedAction.DdeNotRunning);
        ui->txtDDETopic->setText(session.RememberedAction.DdeTopic);
    } else {
        session.RememberedAction.UsesDde = model::kNo;
        setDdeBoxesEnabled(m_ctx, false);
        ui->txtDDEMsg->clear();
        ui->txtDDEAppl->clear();
        ui->txtDDENot->clear();
        ui->txtDDETopic->clear();
    }
    ui->cmdOKAction->setEnabled(true);
}

void ActionGridHandlers::entryFlagClicked() {
    if (m_ctx.state.editState() != EditState::Nothing)
        m_ctx.ui->cmdApply->setEnabled(true);
}

void ActionGridHandlers::entryTextChanged() {
    if (m_ctx.state.editState() != EditState::Nothing &&
        m_ctx.state.editState() != EditState::IconPanel)
        m_ctx.ui->cmdApply->setEnabled(true);
}

void ActionGridHandlers::txtIcon_Change() {
    if (m_ctx.state.editState() != EditState::Nothing &&
        m_ctx.state.editState() != EditState::IconPanel &&
        m_ctx.state.editState() != EditState::NewTypeIconPanel)
        m_ctx.ui->cmdApply->setEnabled(true);
}

void ActionGridHandlers::hs_Change() {
    if (m_ctx.state.editState() == EditState::EntryShown)
        m_ctx.ui->cmdApply->setEnabled(true);
}

void ActionGridHandlers::actionFieldEdited() {
    if (m_ctx.state.actionEditState() != ActionEditState::Closed)
        m_ctx.ui->cmdOKAction->setEnabled(true);
}

} // namespace orvanex::editing
