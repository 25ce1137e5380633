// The copy, move and rename panel and the delete panel of the search window.

#include "search/file_operations.h"
#include "search/frm_search.h"
#include "search/search_places.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace orvanex::search {

namespace {

QPushButton* panelButton(const QString& text, const QString& name, const QString& tip,
                         QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

void frmSearch::buildPanels() {
    auto* copy = new QWidget(panels);
    copy->setObjectName(QStringLiteral("CopyPanel"));
    auto* grid = new QGridLayout(copy);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    Label9 = new QLabel(QStringLiteral("Rename /"), copy);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label6 = new QLabel(QStringLiteral("Copy"), copy);
    Label6->setObjectName(QStringLiteral("Label6"));
    auto* title = new QHBoxLayout;
    title->addWidget(Label9);
    title->addWidget(Label6);
    title->addStretch();
    grid->addLayout(title, 0, 0, 1, 2);
    auto* Label7 = new QLabel(QStringLiteral("Default Folder"), copy);
    Label7->setObjectName(QStringLiteral("Label7"));
    txtDefaultDirectoryX = new QLineEdit(copy);
    txtDefaultDirectoryX->setObjectName(QStringLiteral("txtDefaultDirectoryX"));
    txtDefaultDirectoryX->setToolTip(QStringLiteral("Enter Default Directory."));
    grid->addWidget(Label7, 1, 0);
    grid->addWidget(txtDefaultDirectoryX, 1, 1);
    chkDefaultDirectory = new QCheckBox(QStringLiteral("Use Default Folder?"), copy);
    chkDefaultDirectory->setObjectName(QStringLiteral("chkDefaultDirectory"));
    chkDefaultDirectory->setToolTip(
        QStringLiteral("Use This folder When Coping/Renaming/Moving Files."));
    CheckWarning = new QCheckBox(QStringLiteral("File Replace Warning?"), copy);
    CheckWarning->setObjectName(QStringLiteral("CheckWarning"));
    CheckWarning->setToolTip(
        QStringLiteral("Display Warning Window When About to Replace a FIle."));
    grid->addWidget(chkDefaultDirectory, 2, 0);
    grid->addWidget(CheckWarning, 2, 1);
    auto* Label8 = new QLabel(QStringLiteral("New file name"), copy);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setToolTip(QStringLiteral("The new file name!"));
    txtNewNameX = new QLineEdit(copy);
    txtNewNameX->setObjectName(QStringLiteral("txtNewNameX"));
    txtNewNameX->setToolTip(QStringLiteral("Enter File Name To Be Copied To."));
    grid->addWidget(Label8, 3, 0);
    grid->addWidget(txtNewNameX, 3, 1);
    cmdCopyOK = panelButton(QStringLiteral("&OK"), QStringLiteral("cmdCopyOK"),
                            QStringLiteral("Process the Request!"), copy);
    cmdCancelCopy = panelButton(QStringLiteral("C&ancel"), QStringLiteral("cmdCancelCopy"),
                                QStringLiteral("Cancel the  request!"), copy);
    auto* copyButtons = new QHBoxLayout;
    copyButtons->addWidget(cmdCopyOK);
    copyButtons->addWidget(cmdCancelCopy);
    grid->addLayout(copyButtons, 4, 0, 1, 2);
    panels->addWidget(copy);

    auto* remove = new QWidget(panels);
    remove->setObjectName(QStringLiteral("DeletePanel"));
    auto* box = new QVBoxLayout(remove);
    box->setContentsMargins(0, 0, 0, 0);
    auto* warning = new QLabel(QStringLiteral("Warning"), remove);
    warning->setObjectName(QStringLiteral("Label199Q"));
    auto* Label5 = new QLabel(QStringLiteral("The file wil be sent to the Recycle bin!"), remove);
    Label5->setObjectName(QStringLiteral("Label5"));
    box->addWidget(warning);
    box->addWidget(Label5);
    cmdOK = panelButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"),
                        QStringLiteral("Send the File To The Recycle Bin!"), remove);
    cmdDCan = panelButton(QStringLiteral("C&ancel"), QStringLiteral("cmdDCan"),
                          QStringLiteral("Cancel the delete request!"), remove);
    auto* deleteButtons = new QHBoxLayout;
    deleteButtons->addWidget(cmdOK);
    deleteButtons->addWidget(cmdDCan);
    box->addLayout(deleteButtons);
    panels->addWidget(remove);

    connect(cmdCopyOK, &QPushButton::clicked, this, &frmSearch::cmdCopyOK_Click);
    connect(cmdCancelCopy, &QPushButton::clicked, this, &frmSearch::cmdCancelCopy_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSearch::cmdOK_Click);
    connect(cmdDCan, &QPushButton::clicked, this, &frmSearch::cmdDCan_Click);
    connect(chkDefaultDirectory, &QCheckBox::clicked, this, &frmSearch::chkDefaultDirectory_Click);
}

void frmSearch::setPanelColours(bool panel) {
    // White on navy while a panel is open, the platform's colours otherwise.
    MSFlexGrid1->setStyleSheet(panel ? QStringLiteral("QTableView { color: #FFFFFF; "
                                                      "background-color: #000080; }")
                                     : QString());
}

int frmSearch::ask(const QString& title, const QString& text) {
    if (scriptedAnswer != 0)
        return scriptedAnswer;
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No);
}

void frmSearch::message(const QString& text) {
    if (scriptedAnswer != 0) {
        lastMessage = text;
        return;
    }
    QMessageBox::information(this, QStringLiteral("ORVANEX"), text);
}

void frmSearch::chkDefaultDirectory_Click() {
    if (!chkDefaultDirectory || m_selectedRow < 0)
        return;
    const QString selected = selectedPath();
    QString proposal = selected;
    if (chkDefaultDirectory->isChecked()) {
        const QString name = selected.mid(FolderOfShownPath(selected).size());
        QString folder = txtDefaultDirectoryX->text();
        if (!folder.endsWith(u'\\') && !folder.endsWith(u'/'))
            folder += folder.startsWith(u'/') ? u'/' : u'\\';
        proposal = folder + name;
    }
    // A copy is proposed under a name that is free, beside the file it copies.
    if (!m_moving)
        proposal = CopyProposal(proposal, [this](const QString& candidate) {
            return QFileInfo::exists(QFile::decodeName(nativeOf(candidate)));
        });
    txtNewNameX->setText(proposal);
}

void frmSearch::openPanel(bool move) {
    m_moving = move;
    Label6->setText(move ? QStringLiteral("Move") : QStringLiteral("Copy"));
    Label9->setVisible(move);
    SavedStartText = txtDefaultDirectory->text();
    PanelOpen = SearchPanel::CopyMove;
    cmdCancelSearch->setEnabled(false);
    cmdSearchStart->setEnabled(false);
    panels->setCurrentIndex(int(PanelOpen));
    QString appFolder = windowsOf(m_appFolder);
    if (!appFolder.endsWith(u'\\'))
        appFolder += u'\\';
    const CopyChoices choices = readCopyChoices(appFolder);
    // No folder chosen yet: the selected file's own folder, which is not stored.
    const bool chosen = !choices.folder.isEmpty();
    m_proposedFolder = chosen ? QString() : FolderOfShownPath(selectedPath());
    CheckWarning->setChecked(choices.warn);
    chkDefaultDirectory->setChecked(choices.useFolder);
    txtDefaultDirectoryX->setText(chosen ? choices.folder : m_proposedFolder);
    chkDefaultDirectory_Click();
    txtNewNameX->setCursorPosition(int(txtNewNameX->text().size()));
    setPanelColours(true);
    txtNewNameX->setFocus();
}

void frmSearch::writeCopySettings() {
    // The file's own folder, shown for want of a chosen one, is no choice of the user's.
    const bool chosen =
        m_proposedFolder.isEmpty() || txtDefaultDirectoryX->text() != m_proposedFolder;
    saveCopyChoices(CheckWarning->isChecked(), chkDefaultDirectory->isChecked(),
                    chosen ? std::optional(txtDefaultDirectoryX->text()) : std::nullopt);
}

void frmSearch::closePanel(const QString& status) {
    PanelOpen = SearchPanel::None;
    panels->setCurrentIndex(int(PanelOpen));
    cmdCancelSearch->setEnabled(true);
    cmdSearchStart->setEnabled(true);
    lblScan->setText(status);
    txtAction->clear();
    setPanelColours(false);
}

void frmSearch::cmdCopy_Click() {
    openPanel(false);
}

void frmSearch::cmdMove_Click() {
    openPanel(true);
}

void frmSearch::cmdCopyOK_Click() {
    if (!panelOpen() || m_selectedRow < 0)
        return;
    lblScan->setText(QStringLiteral(" "));
    const QString selected = selectedPath();
    const QString newName = txtNewNameX->text();
    TransferRequest request;
    request.selected = selected;
    request.newName = newName;
    request.source = m_model->row(m_selectedRow).root >= 0 ? m_model->row(m_selectedRow).native
                                                           : nativeOf(selected);
    request.target = nativeOf(newName);
    request.moving = m_moving;
    request.warnBeforeReplacing = CheckWarning->isChecked();
    const TransferOutcome outcome = TransferFile(request, [&](const QString& question) {
        return ask(QStringLiteral("ORVANEX - File Replace?"), question) == QMessageBox::Yes;
    });
    switch (outcome.kind) {
    case TransferOutcome::Declined:
        lblScan->setText(QStringLiteral(" "));
        return;
    case TransferOutcome::Failed:
        QApplication::beep();
        [[fallthrough]];
    case TransferOutcome::Unchanged:
        message(outcome.message);
        txtNewNameX->setFocus();
        return;
    case TransferOutcome::Done:
        break;
    }
    const QByteArray target = request.target;
    const ResultRow current = m_model->row(m_selectedRow);
    ResultRow renamed;
    renamed.root = -1;
    renamed.text = newName;
    renamed.native = target;
    renamed.size = current.size;
    renamed.sequence = current.sequence;
    if (m_moving) {
        m_model->rowRef(m_selectedRow) = renamed;
        m_model->rowChanged(m_selectedRow);
        m_model->ClearReplacedRow(newName, current.sequence);
    } else {
        m_model->appendRows({renamed});
    }
    m_model->sortRows(3, Qt::AscendingOrder);
    showTotals();
    m_selectedRow = -1;
    txtDefaultDirectory->setText(SavedStartText);
    writeCopySettings();
    closePanel(QStringLiteral("Request Completed!"));
}

void frmSearch::cmdCancelCopy_Click() {
    txtDefaultDirectory->setText(SavedStartText);
    writeCopySettings();
    closePanel(QStringLiteral("Request Cancelled!"));
}

void frmSearch::cmdDelete_Click() {
    PanelOpen = SearchPanel::Delete;
    panels->setCurrentIndex(int(PanelOpen));
    cmdCancelSearch->setEnabled(false);
    cmdSearchStart->setEnabled(false);
    lblScan->setText(QStringLiteral("Delete Request for ") + selectedPath());
    setPanelColours(true);
}

void frmSearch::cmdDCan_Click() {
    closePanel(QStringLiteral("Delete Request Cancelled!"));
}

void frmSearch::cmdOK_Click() {
    if (!panelOpen() || m_selectedRow < 0)
        return;
    const QString path = selectedPath();
    const ResultRow& row = m_model->row(m_selectedRow);
    const QByteArray native = row.root >= 0 ? row.native : nativeOf(path);
    closePanel(QString());
    const FileResult result = trashFile(native);
    if (!result.ok()) {
        lblScan->setText(path + QStringLiteral(" ** Error **"));
        return;
    }
    lblScan->setText(path + QStringLiteral(" ** Deleted **"));
    ResultRow emptied;
    emptied.sequence = -1;
    m_model->rowRef(m_selectedRow) = emptied;
    m_model->rowChanged(m_selectedRow);
    m_model->sortRows(3, Qt::AscendingOrder);
    showTotals();
    m_selectedRow = -1;
}

} // namespace orvanex::search
