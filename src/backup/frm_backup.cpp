#include "backup/frm_backup.h"

#include "backup/backup_merge.h"
#include "backup/backup_records.h"
#include "backup/merge_preview_dialog.h"
#include "reports/report_print.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvanex::backup {

namespace {

const QString kPrint = QStringLiteral("&Print");
const QString kMerge = QStringLiteral("&Merge");
const QString kDelete = QStringLiteral("&Delete");

} // namespace

FrmBackup::FrmBackup(reg::Registry* registry, QString appFolder, Services services, QWidget* parent)
    : QDialog(parent), m_registry(registry), m_appFolder(std::move(appFolder)),
      m_services(std::move(services)) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("ORVANEX  Registry Backup Files"));
    m_model = new BackupTableModel(this);
    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setModel(m_model);
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->verticalHeader()->setVisible(false);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(true);
    const int widths[kBackupColumns] = {90, 70, 160, 200, 260, 40};
    for (int c = 0; c < kBackupColumns; ++c)
        MSFlexGrid1->setColumnWidth(c, widths[c]);
    lblScan = new QLabel(this);
    lblScan->setObjectName(QStringLiteral("lblScan"));
    lblCount = new QLabel(QStringLiteral("0"), this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    cmdPrint = new QPushButton(this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdCancelBackup = new QPushButton(QStringLiteral("E&xit"), this);
    cmdCancelBackup->setObjectName(QStringLiteral("cmdCancelBackup"));
    cmdCancelBackup->setToolTip(QStringLiteral("Exit the Registry Backup Files Request!"));
    mnuOptions = new QMenu(QStringLiteral("Options"), this);
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    QAction* notepad = mnuOptions->addAction(QStringLiteral("&Notepad"));
    notepad->setObjectName(QStringLiteral("mnuNotepad"));
    QAction* restore = mnuOptions->addAction(QStringLiteral("&Merge Backup File with Registry"));
    restore->setObjectName(QStringLiteral("mnuRestore"));
    QAction* file = mnuOptions->addAction(QStringLiteral("&Delete Backup File"));
    file->setObjectName(QStringLiteral("mnuFile"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount);
    buttons->addWidget(lblScan, 1);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancelBackup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(buttons);
    resize(900, 420);

    connect(MSFlexGrid1, &QTableView::clicked, this, &FrmBackup::MSFlexGrid1_Click);
    connect(MSFlexGrid1, &QTableView::activated, this, &FrmBackup::MSFlexGrid1_Click);
    connect(MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FrmBackup::HeadingClick);
    connect(notepad, &QAction::triggered, this, &FrmBackup::mnuNotepad_Click);
    connect(restore, &QAction::triggered, this, &FrmBackup::mnuRestore_Click);
    connect(file, &QAction::triggered, this, &FrmBackup::mnuFile_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &FrmBackup::cmdPrint_Click);
    connect(cmdCancelBackup, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void FrmBackup::setButton(const QString& caption) {
    cmdPrint->setText(caption);
    cmdPrint->setToolTip(caption == kMerge
                             ? QStringLiteral("Merge the Backup File with the Windows Registry!")
                         : caption == kDelete ? QStringLiteral("Delete the Backup File!")
                                              : QStringLiteral("Print the Backup Files!"));
}

void FrmBackup::dropRequest() {
    setButton(kPrint);
}

void FrmBackup::Form_Load() {
    setButton(kPrint);
    lblScan->setText(QStringLiteral("File Type / Extension(s) - Registry Backup Files!"));
    QList<BackupRow> rows = loadBackupRows();
    lblCount->setText(QString::number(lblCount->text().toInt() + rows.size()));
    m_model->setRows(std::move(rows));
}

void FrmBackup::HeadingClick(int column) {
    dropRequest();
    if (column < 0 || column > 4)
        return;
    // The first click on a column sorts descending, the next ascending.
    const bool ascending = m_sortFlags[column] == 0;
    m_sortFlags[column] = ascending ? 1 : 0;
    m_model->sortByColumn(column, ascending);
    MSFlexGrid1->scrollToTop();
}

void FrmBackup::MSFlexGrid1_Click(const QModelIndex& index) {
    dropRequest();
    // A click anywhere in a row chooses that row's backup.
    const QString text = index.isValid() ? m_model->row(index.row()).file : QString();
    m_currentCell = text;
    if (text.isEmpty()) {
        lblScan->setText(QString());
        return;
    }
    SelectedPath = backupRecordPath(text.left(7), m_appFolder);
    lblScan->setText(QStringLiteral("Select Option For ") + SelectedPath);
    mnuOptions->popup(QCursor::pos());
}

void FrmBackup::mnuNotepad_Click() {
    if (m_services.openEditor && !m_services.openEditor(SelectedPath)) {
        QApplication::beep();
        lblScan->setText(QStringLiteral("No text editor could be started for ") + SelectedPath);
        return;
    }
    lblScan->setText(QStringLiteral("Edit for ") + SelectedPath);
}

void FrmBackup::mnuRestore_Click() {
    lblScan->setText(
        QStringLiteral("                                  Merge/Registry Request for ") +
        m_currentCell +
        QStringLiteral("                                 To Confirm:  Press The "
                       "Merge Button"));
    setButton(kMerge);
}

void FrmBackup::mnuFile_Click() {
    lblScan->setText(
        QStringLiteral("                                       Delete Request for ") +
        m_currentCell +
        QStringLiteral("                                           To Confirm:  Press The Delete "
                       "Button"));
    setButton(kDelete);
}

void FrmBackup::cmdPrint_Click() {
    const QString caption = cmdPrint->text();
    setButton(kPrint);
    if (caption == kMerge)
        merge();
    else if (caption == kDelete)
        remove();
    else
        print();
}

void FrmBackup::merge() {
    const MergePreview preview = previewMerge(*m_registry, SelectedPath);
    if (!preview.readable) {
        QApplication::beep();
        lblScan->setText(preview.error + QStringLiteral("; nothing was merged"));
        return;
    }
    if (!m_services.confirmMerge || !m_services.confirmMerge(SelectedPath, preview, this)) {
        lblScan->setText(QStringLiteral("Merge cancelled: ") + SelectedPath);
        return;
    }
    const MergeOutcome outcome = mergeBackupFile(*m_registry, SelectedPath);
    lblScan->setText(outcome.message);
    // Marked only when the merge wrote everything it read.
    if (!outcome.wrote || !outcome.complete) {
        QApplication::beep();
        return;
    }
    const QString record = m_currentCell.left(7);
    if (!markRecordMerged(record)) {
        lblScan->setText(outcome.message + QStringLiteral("; the record could not be marked"));
        return;
    }
    m_model->setType(m_model->findFile(m_currentCell), QStringLiteral("Merged"));
}

void FrmBackup::remove() {
    const int row = m_model->findFile(m_currentCell);
    if (row < 0)
        return;
    const BackupDeletion deletion = deleteBackup(m_currentCell.left(7), m_appFolder);
    lblScan->setText(deletion.message);
    if (!deletion.ok) {
        QApplication::beep();
        return;
    }
    m_model->emptyRow(row);
}

void FrmBackup::print() {
    lblScan->setText(QStringLiteral("Printing Registry Backup Files!"));
    QList<QStringList> rows;
    for (const BackupRow& row : m_model->rows())
        rows.append(row.cells().mid(0, 5));
    const int dpi = MSFlexGrid1->logicalDpiY() > 0 ? MSFlexGrid1->logicalDpiY() : 96;
    const int step = MSFlexGrid1->verticalHeader()->defaultSectionSize() * 1440 / dpi;
    const QDateTime now = QDateTime::currentDateTime();
    const reports::PrintResult result = reports::printReport(
        this,
        [&](QPagedPaintDevice* d) {
            return reports::printListReport(d, reports::backupListLayout(), rows, step, now);
        },
        m_services.previewPrint);
    if (result.route == reports::PrintRoute::Failed) {
        lblScan->setText(QStringLiteral("Printing failed: ") + result.error);
        return;
    }
    lblScan->setText(QStringLiteral("Finished Printing Registry Backup Files!"));
}

void FrmBackup::mousePressEvent(QMouseEvent* event) {
    dropRequest();
    QDialog::mousePressEvent(event);
}

} // namespace orvanex::backup
