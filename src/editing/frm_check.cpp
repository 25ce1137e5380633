#include "editing/frm_check.h"

#include "editing/backup_handlers.h"
#include "editing/delete_entry.h"
#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/filter_box.h"
#include "editing/finding_fix.h"
#include "editing/grid_view.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

namespace orvanex::editing {

namespace {

const QString kCaption = QStringLiteral("ORVANEX Check Associations");

model::IndexGridModel* indexModel(QTableView* grid) {
    return static_cast<model::IndexGridModel*>(gridModel(grid));
}

// The row of a record in a grid, once more without the filter when it hides the row.
int rowOf(FilterBox& filter, QTableView* grid,
          const std::function<bool(const model::IndexRow&)>& is) {
    int row = indexModel(grid)->findRecord(is);
    if (row < 0 && indexModel(grid)->isFiltered()) {
        filter.box()->clear();
        row = indexModel(grid)->findRecord(is);
    }
    return row;
}

void selectAndShow(MainContext& ctx, QTableView* grid, int row, bool fileTypes) {
    setCurrentRow(grid, row);
    grid->scrollTo(grid->model()->index(row, 0));
    if (fileTypes)
        ShowFileType(ctx, row, 0);
    else
        ShowExtension(ctx, row, 0);
}

bool showExtension(MainContext& ctx, FilterBox& filter, const QString& ext) {
    Ui::frmORVANEX* ui = ctx.ui;
    if (ctx.state.byFileType())
        ui->cmdSelectByFileExtension->click();
    const int row =
        rowOf(filter, ui->flex1, [&](const model::IndexRow& r) { return r.name == ext; });
    if (row < 0)
        return false;
    selectAndShow(ctx, ui->flex1, row, false);
    return true;
}

} // namespace

bool showEntryInMainWindow(MainContext& ctx, FilterBox& filter, const QString& entry) {
    if (ctx.state.panelOpen()) {
        ctx.ui->lblScan->setText(QStringLiteral("Please Select Option!"));
        return false;
    }
    const EditingSession& session = editingSession(ctx);
    for (const model::ExtensionEntry& e : session.extensions)
        if (e.KeyName == entry)
            return showExtension(ctx, filter, e.Ext);
    for (const model::FileTypeEntry& t : session.fileTypes) {
        if (t.TypeName != entry)
            continue;
        // Types described by an extension's own name have no row of their own.
        if (!t.Description.startsWith(u'.')) {
            Ui::frmORVANEX* ui = ctx.ui;
            if (!ctx.state.byFileType())
                ui->cmdSelectByFileType->click();
            const int row = rowOf(filter, ui->flex2, [&](const model::IndexRow& r) {
                return r.name == t.Description && r.related == t.Extensions;
            });
            if (row >= 0) {
                selectAndShow(ctx, ui->flex2, row, true);
                return true;
            }
        }
        const QString first = t.Extensions.section(u' ', 0, 0);
        return !first.isEmpty() && showExtension(ctx, filter, first);
    }
    return false;
}

FrmCheck::FrmCheck(MainContext& ctx, backup::BackupHandlers& backup, FilterBox& filter,
                   QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_backup(backup), m_filter(filter) {
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(kCaption);
    resize(760, 380);
    m_model = new FindingGridModel(
        {{[](const model::Finding& f) { return model::findingKindName(f.kind); }},
         {[](const model::Finding& f) { return f.entry; }},
         {[](const model::Finding& f) { return f.detail; }}},
        this);
    m_model->setFormat(QStringLiteral("<Kind|<Entry|<Detail"));
    m_grid = makeRowList(m_model, QStringLiteral("gridFindings"), this);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(1, 150);
    m_status = makeStatusPanel(QStringLiteral("lblCheck"), this);
    m_show = new QPushButton(QStringLiteral("&Show"), this);
    m_show->setObjectName(QStringLiteral("cmdShowFinding"));
    m_show->setToolTip(QStringLiteral("Select the entry in the main window!"));
    m_fix = new QPushButton(QStringLiteral("&Fix…"), this);
    m_fix->setObjectName(QStringLiteral("cmdFixFinding"));
    m_fix->setToolTip(QStringLiteral("Remove the dangling extension or clear the missing icon, "
                                     "after a backup!"));
    auto* again = new QPushButton(QStringLiteral("Check &Again"), this);
    again->setObjectName(QStringLiteral("cmdCheckAgain"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdCloseCheck"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_show);
    buttons->addWidget(m_fix);
    buttons->addStretch();
    buttons->addWidget(again);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    connect(m_show, &QPushButton::clicked, this, &FrmCheck::cmdShowFinding_Click);
    connect(m_fix, &QPushButton::clicked, this, [this] { cmdFixFinding_Click(); });
    connect(again, &QPushButton::clicked, this, &FrmCheck::cmdCheckAgain_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FrmCheck::selectionChanged);
    connect(m_grid, &QTableView::doubleClicked, this, &FrmCheck::cmdShowFinding_Click);
    cmdCheckAgain_Click();
}

void FrmCheck::cmdCheckAgain_Click() {
    m_status->setText(QStringLiteral("Checking..."));
    m_status->repaint();
    EditingSession& session = editingSession(m_ctx);
    m_report = model::CheckAssociations(m_ctx.regState, session.drives, session.extensions,
                                        session.fileTypes);
    m_model->setRecords(m_report.findings);
    const QString checked =
        QStringLiteral("%1 extensions, %2 file types, %3 actions, %4 icon files checked")
            .arg(m_report.extensions)
            .arg(m_report.types)
            .arg(m_report.actions)
            .arg(m_report.iconFilesRead);
    m_status->setText(m_report.findings.isEmpty()
                          ? QStringLiteral("Nothing broken found: ") + checked
                          : QStringLiteral("%1 findings: ").arg(m_report.findings.size()) +
                                checked);
    if (!m_report.findings.isEmpty())
        setCurrentRow(m_grid, 0);
    selectionChanged();
}

const model::Finding* FrmCheck::selected() const {
    const int row = currentRow(m_grid);
    return m_model->isRecordRow(row) ? &m_model->record(row) : nullptr;
}

void FrmCheck::selectionChanged() {
    const model::Finding* f = selected();
    m_show->setEnabled(f != nullptr);
    m_fix->setEnabled(f && isFixable(*f, editingSession(m_ctx).extensions));
}

void FrmCheck::cmdShowFinding_Click() {
    if (const model::Finding* f = selected())
        if (!showEntryInMainWindow(m_ctx, m_filter, f->entry))
            m_status->setText(f->entry + QStringLiteral(" has no row in the lists"));
}

void FrmCheck::cmdFixFinding_Click(bool ask) {
    const model::Finding* chosen = selected();
    if (!chosen || !isFixable(*chosen, editingSession(m_ctx).extensions))
        return;
    const model::Finding f = *chosen;
    if (ask && QMessageBox::question(this, kCaption, fixQuestion(f)) != QMessageBox::Yes)
        return;
    EditingSession& session = editingSession(m_ctx);
    EditContext edit = m_backup.editContext();
    const FixOutcome out = FixFinding(edit, f);
    if (f.kind == model::FindingKind::MissingType)
        removeDeletedRows(*session.grids.extensions, *session.grids.fileTypes, out.deletion);
    // The detail area shows the entry fixed: it no longer holds what the registry holds.
    if (out.fixed && (m_ctx.CurrentTypeKey == f.typeName || m_ctx.CurrentTypeKey == f.entry)) {
        ClearDetailArea(m_ctx);
        ClearActionFields(m_ctx);
        DisableEntryControls(m_ctx);
    }
    if (out.beep)
        QApplication::beep();
    m_ctx.ui->lblScan->setText(out.status);
    cmdCheckAgain_Click();
    m_status->setText(out.status + QStringLiteral("   ") + m_status->text());
}

void installCheckWindow(MainContext& ctx, backup::BackupHandlers& backup, FilterBox& filter,
                        QObject* context) {
    QAction* item = ctx.ui->mnuAction->addAction(QStringLiteral("&Check Associations…"));
    item->setObjectName(QStringLiteral("mnuCheck"));
    auto* window = new QPointer<FrmCheck>;
    QObject::connect(context, &QObject::destroyed, [window] { delete window; });
    QObject::connect(item, &QAction::triggered, context, [&ctx, &backup, &filter, window] {
        if (!*window) {
            *window = new FrmCheck(ctx, backup, filter, ctx.window);
            (*window)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*window)->show();
        (*window)->raise();
        (*window)->activateWindow();
    });
}

} // namespace orvanex::editing
