#include "editing/change_handlers.h"

#include "editing/add_extensions.h"
#include "editing/apply_change.h"
#include "editing/backup_handlers.h"
#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "editing/selection_handlers.h"
#include "model/grid_model.h"
#include "model/grid_rows.h"
#include "model/readers.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QMainWindow>
#include <QTableView>

namespace orvanex::editing {

namespace {

// The index grid model a view shows.
model::IndexGridModel* indexModel(QTableView* grid) {
    return static_cast<model::IndexGridModel*>(gridModel(grid));
}

void focusOn(Ui::frmORVANEX* ui, EditOutcome::Focus focus) {
    switch (focus) {
    case EditOutcome::Focus::Description:
        ui->txtDesc->setFocus();
        break;
    case EditOutcome::Focus::Extensions:
        ui->txtRel->setFocus();
        break;
    case EditOutcome::Focus::NewExtensions:
        ui->txtNewExtTypes->setFocus();
        break;
    case EditOutcome::Focus::None:
        break;
    }
}

void finishOutcome(Ui::frmORVANEX* ui, const EditOutcome& out) {
    ui->lblScan->setText(out.status);
    focusOn(ui, out.focus);
    if (out.beep)
        QApplication::beep();
}

void scrollToTop(QTableView* grid) {
    if (gridModel(grid) && gridModel(grid)->recordCount() > 0)
        setCurrentRow(grid, 0, 0);
    setTopRow(grid, 0);
}

} // namespace

ChangeHandlers::ChangeHandlers(MainContext& ctx, backup::BackupHandlers& backup,
                               SelectionHandlers& selection, QObject* parent)
    : ChangeGroup(ctx, backup, parent), m_selection(selection) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->cmdApply, &QPushButton::clicked, this, &ChangeHandlers::cmdApply_Click);
    connect(ui->cmdExtNew, &QAction::triggered, this, &ChangeHandlers::cmdExtNew_Click);
    connect(ui->mnuAddExtType, &QAction::triggered, this, &ChangeHandlers::mnuAddExtType_Click);
    connect(ui->cmdOKExtType, &QPushButton::clicked, this, &ChangeHandlers::cmdOKExtType_Click);
    connect(ui->cmdCancelExtType, &QPushButton::clicked, this,
            &ChangeHandlers::cmdCancelExtType_Click);
}

void ChangeHandlers::cmdApply_Click() {
    m_ctx.ui->lblScan->setText(kPleaseWait);
    m_ctx.ui->lblScan->repaint();
    EditContext edit = m_backup.editContext();
    if (m_ctx.state.editState() == EditState::NewType)
        applyNewType(edit);
    else
        applyChange(edit);
}

void ChangeHandlers::applyChange(EditContext& edit) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditingSession& session = editingSession(m_ctx);
    ChangeFields f;
    f.CurrentTypeKey = m_ctx.CurrentTypeKey;
    f.txtDesc = ui->txtDesc->text();
    f.txtIcon = ui->txtIcon->text();
    f.iconNumber = ui->txtIconNumber->text();
    f.alwaysShowChecked = ui->chkAlwaysShow->isChecked();
    f.quickViewChecked = ui->chkQuickView->isChecked();
    f.OldIconFile = session.OldIconFile;
    f.OldIconNumber = session.OldIconNumber;
    f.OldDescription = session.OldDescription;
    f.descriptionEditable = session.DescriptionEditable;
    f.ExtensionKey = m_ctx.state.byFileType() ? QString() : session.ShownExtensionKey;
    f.txtMIME = ui->txtMIME->text();
    f.OldContentType = session.OldContentType;
    // The marks as the registry holds them: what was loaded or last applied.
    const model::Flags flags = model::LoadFlags(m_ctx.regState, m_ctx.CurrentTypeKey);
    f.OldQuickView = flags.QuickView;
    f.OldAlwaysShow = flags.AlwaysShowExt;
    if (!m_backup.currentRequest(&f.backup))
        f.backup = {};
    f.slot = m_backup.currentEntry();
    const ChangeOutcome out = ApplyChange(edit, f);
    // A description written shows in the lists even when a later write failed.
    if (out.descriptionChanged) {
        showNewDescription(session.OldDescription, f.txtDesc);
        session.OldDescription = f.txtDesc;
    }
    if (out.updated) {
        session.OldIconFile = f.OldIconFile;
        session.OldIconNumber = f.OldIconNumber;
        session.OldContentType = f.OldContentType;
        m_backup.slotSaved(out.slot);
    }
    finishOutcome(ui, out);
    ui->cmdApply->setEnabled(false);
}

void ChangeHandlers::showNewDescription(const QString& before, const QString& description) {
    EditingSession& session = editingSession(m_ctx);
    model::IndexGridModel* extensions = indexModel(m_ctx.ui->flex1);
    for (const model::ExtensionEntry& e : session.extensions)
        if (e.TypeName == m_ctx.CurrentTypeKey)
            if (const int r = extensions->findText(0, e.Ext); r >= 0)
                extensions->setCell(r, 3, description);
    model::IndexGridModel* types = indexModel(m_ctx.ui->flex2);
    for (const model::FileTypeEntry& t : session.fileTypes)
        if (t.TypeName == m_ctx.CurrentTypeKey)
            for (int r = types->findText(0, before); r >= 0; r = types->findText(0, before, r + 1))
                if (types->text(r, 3) == t.Extensions) {
                    types->setCell(r, 0, description);
                    break;
                }
    // The shown row follows, so that the next backup finds the type under its new name.
    EditingSession::ShownRow& shown = session.shownRow;
    (shown.byType ? shown.column0 : shown.column3) = description;
}

void ChangeHandlers::showExtensionRow(qsizetype entryIndex) {
    const model::ExtensionEntry& e = editingSession(m_ctx).extensions[entryIndex];
    model::IndexGridModel* grid = indexModel(m_ctx.ui->flex1);
    const int r = grid->findText(0, e.Ext);
    if (r >= 0)
        grid->setCell(r, 3, e.Description);
    else
        grid->addRecord(model::extensionRow(e.Ext, e.Description));
}

void ChangeHandlers::applyNewType(EditContext& edit) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    NewTypeFields f;
    f.txtDesc = ui->txtDesc->text();
    f.txtRel = ui->txtRel->text();
    f.txtIcon = ui->txtIcon->text();
    f.iconNumber = ui->txtIconNumber->text();
    f.alwaysShowChecked = ui->chkAlwaysShow->isChecked();
    f.quickViewChecked = ui->chkQuickView->isChecked();
    const NewTypeOutcome out = ApplyNewType(edit, f);
    for (qsizetype row : out.extensionRows)
        showExtensionRow(row);
    if (!out.extensionRows.isEmpty())
        sortGrid(ui->flex1, 0, model::kSortStringAscending);
    if (out.typeAppended) {
        ui->txtRel->setText(out.joinedExtensions);
        indexModel(ui->flex2)->addRecord(model::fileTypeRow(f.txtDesc, out.joinedExtensions));
        sortGrid(ui->flex2, 0, model::kSortStringAscending);
        m_ctx.CurrentTypeKey = out.NewTypeKey;
    }
    if (out.added) {
        ClearActionFields(m_ctx);
        ClearDetailArea(m_ctx);
    }
    finishOutcome(ui, out);
    if (out.finished) {
        m_ctx.state.setEditState(EditState::Nothing);
        ui->cmdApply->setEnabled(false);
    }
}

void ChangeHandlers::cmdExtNew_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ClearDetailArea(m_ctx);
    m_selection.cmdSelectByFileType_Click();
    ui->txtDesc->setReadOnly(false);
    ui->txtRel->setReadOnly(false);
    ui->txtIcon->setReadOnly(false);
    ui->txtExt->setReadOnly(true);
    ClearActionFields(m_ctx);
    ui->lblScan->setText(QStringLiteral("Please Enter The New Extension(s) Information!"));
    for (QTableView* grid : {ui->flex1, ui->flex2}) {
        sortGrid(grid, 0, model::kSortStringAscending);
        scrollToTop(grid);
    }
    DisableEntryCommands(m_ctx);
    ui->cmdIconView->setEnabled(true);
    ui->cmdIcons->setEnabled(true);
    m_ctx.state.setEditState(EditState::NewType);
    ui->txtDesc->setFocus();
}

void ChangeHandlers::mnuAddExtType_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    EditContext edit = m_backup.editContext();
    const OpenPanelOutcome out =
        OpenAddExtensions(edit, m_ctx.state.selectBy(), ui->txtDesc->text(), ui->txtRel->text());
    if (out.ignored)
        return;
    if (!out.opened) {
        finishOutcome(ui, out);
        return;
    }
    TargetTypeKey = out.TargetTypeKey;
    m_ctx.state.setPanel(PanelOpen::AddExtensions);
    ui->fraAddExtType->setVisible(true);
    ui->fraAddExtType->raise();
    ui->lblActionToExtTypes->setText(ui->txtDesc->text());
    ui->lblExtsTypes->setText(ui->txtRel->text());
    ui->txtNewExtTypes->clear();
    finishOutcome(ui, out);
}

void ChangeHandlers::cmdOKExtType_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    setTopRow(ui->flex3, 0);
    if (ui->txtNewExtTypes->text().isEmpty()) {
        finishOutcome(ui, EditOutcome{QStringLiteral("Please Enter New File Extension(s)!"), true,
                                      EditOutcome::Focus::NewExtensions});
        return;
    }
    ui->lblScan->setText(kPleaseWait);
    ui->lblScan->repaint();
    EditContext edit = m_backup.editContext();
    const AddExtensionsOutcome out = AddExtensions(edit, TargetTypeKey, ui->txtDesc->text(),
                                                   ui->txtRel->text(), ui->txtNewExtTypes->text());
    for (qsizetype row : out.extensionRows)
        showExtensionRow(row);
    if (!out.extensionRows.isEmpty())
        sortGrid(ui->flex1, 0, model::kSortStringAscending);
    if (!out.added) {
        finishOutcome(ui, out);
        return;
    }
    // The row of the type shown, not the grid's current row (Locate may have moved that).
    const EditingSession::ShownRow& shown = editingSession(m_ctx).shownRow;
    model::IndexGridModel* types = indexModel(ui->flex2);
    if (shown.shown && shown.byType)
        for (int r = types->findText(0, shown.column0); r >= 0;
             r = types->findText(0, shown.column0, r + 1))
            if (types->text(r, 3) == shown.column3) {
                types->setCell(r, 3, out.extensions);
                break;
            }
    ui->fraAddExtType->setVisible(false);
    ClearDetailArea(m_ctx);
    ClearActionFields(m_ctx);
    DisableEntryControls(m_ctx);
    m_ctx.state.setPanel(PanelOpen::None);
    finishOutcome(ui, out);
}

void ChangeHandlers::cmdCancelExtType_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setPanel(PanelOpen::None);
    setTopRow(ui->flex3, 0);
    ui->fraAddExtType->setVisible(false);
    ui->lblScan->setText(QStringLiteral("File Extension Add Request Cancelled!"));
}

} // namespace orvanex::editing
