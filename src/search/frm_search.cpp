#include "search/frm_search.h"

#include "search/file_walk.h"
#include "search/search_help.h"
#include "search/search_places.h"
#include "search/search_worker.h"
#include "search/text_scan_worker.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace orvanex::search {

namespace {

// 7755 by 6855 twips at 15 twips per pixel.
constexpr int kWindowWidth = 7755 / 15;
constexpr int kWindowHeight = 6855 / 15;
const QString kOpeningText =
    QStringLiteral("             Select The Type           Of Search ......");

QLabel* label(const QString& text, const QString& name, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const QString& text, const QString& name, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* textBox(const QString& name, const QString& tip, QWidget* parent) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    t->setToolTip(tip);
    return t;
}

} // namespace

frmSearch::frmSearch(const QString& ExtensionList, const QString& FileTypeName,
                     platform::DriveMap drives, const QString& appFolder, QWidget* parent)
    : QDialog(parent), m_drives(std::move(drives)), m_appFolder(appFolder),
      m_extensionList(ExtensionList) {
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("ORVANEX Search"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildWindow();
    buildPanels();
    buildMenu();
    txtPattern->setText(ExtensionList);
    txtType->setText(FileTypeName);

    // The drive list's current drive: C: when mapped, else the first drive.
    const QList<platform::DriveRoot> roots = platform::driveRoots(m_drives);
    for (const platform::DriveRoot& r : roots)
        DrvList3->addItem(QString(r.letter.toLower()) + u':', QFile::decodeName(r.native));
    int current = DrvList3->findText(QStringLiteral("c:"));
    DrvList3->setCurrentIndex(current < 0 ? 0 : current);
    const QString defaultStart = DrvList3->currentText().left(2).toUpper() + u'\\';
    setStartFolder(openingStartFolder(m_drives, defaultStart));

    // The initial empty row under the header.
    m_model->appendRows({ResultRow()});
    lblScan->setText(kOpeningText);
    m_collectTimer.setInterval(50); // counters and rows at most 20 times a second
    connect(&m_collectTimer, &QTimer::timeout, this, &frmSearch::collect);
    m_textTimer.setInterval(50);
    connect(&m_textTimer, &QTimer::timeout, this, &frmSearch::collectText);
    help = new SearchHelp(this, appFolder);
    setFixedSize(kWindowWidth, kWindowHeight);
}

frmSearch::~frmSearch() {
    m_sortCancel.store(true);
    if (m_sortThread)
        m_sortThread->wait();
}

void frmSearch::buildWindow() {
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(3);

    auto* names = new QGridLayout;
    auto* lblSearchPicture = label(QStringLiteral("File extension(s) to search"),
                                   QStringLiteral("lblSearchPicture"), this);
    txtPattern = textBox(QStringLiteral("txtPattern"),
                         QStringLiteral("The registered file extension to search!"), this);
    txtPattern->setReadOnly(true);
    auto* lblType = label(QStringLiteral("Registered  file type"), QStringLiteral("lblType"), this);
    txtType =
        textBox(QStringLiteral("txtType"), QStringLiteral("Register file type description!"), this);
    txtType->setReadOnly(true);
    names->addWidget(lblSearchPicture, 0, 0);
    names->addWidget(txtPattern, 1, 0);
    names->addWidget(lblType, 0, 1);
    names->addWidget(txtType, 1, 1);
    top->addLayout(names);

    auto* middle = new QHBoxLayout;
    auto* folders = new QVBoxLayout;
    DrvList3 = new QComboBox(this);
    DrvList3->setObjectName(QStringLiteral("DrvList3"));
    DrvList3->setToolTip(QStringLiteral("Drive List!"));
    DirList3 = new QListWidget(this);
    DirList3->setObjectName(QStringLiteral("DirList3"));
    DirList3->setToolTip(QStringLiteral("Folder list / Double click on the folder to change!"));
    folders->addWidget(DrvList3);
    folders->addWidget(DirList3);
    middle->addLayout(folders, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(
        label(QStringLiteral("Start search folder"), QStringLiteral("lblStartDirSearch"), this));
    txtDefaultDirectory = textBox(QStringLiteral("txtDefaultDirectory"),
                                  QStringLiteral("Start the search from this folder!"), this);
    right->addWidget(txtDefaultDirectory);
    auto* buttons = new QHBoxLayout;
    cmdSearchStart =
        button(QStringLiteral("&Search"), QStringLiteral("cmdSearchStart"),
               QStringLiteral("Search for the file types (By Folder / Sub Folder)!"), this);
    cmdSearchAll = button(QStringLiteral("Search &All Drives"), QStringLiteral("cmdSearchAll"),
                          QStringLiteral("Search for the file types (All Drives)!"), this);
    cmdCancelSearch = button(QStringLiteral("&Cancel"), QStringLiteral("cmdCancelSearch"),
                             QStringLiteral("Cancel the Search Request!"), this);
    buttons->addWidget(cmdSearchStart);
    buttons->addWidget(cmdSearchAll);
    buttons->addWidget(cmdCancelSearch);
    right->addLayout(buttons);
    panels = new QStackedWidget(this);
    auto* counters = new QWidget(panels);
    auto* grid = new QGridLayout(counters);
    grid->setContentsMargins(0, 0, 0, 0);
    lblBoom = label(QString(), QStringLiteral("lblBoom"), counters);
    lblCount = label(QString(), QStringLiteral("lblCount"), counters);
    lblBytes = label(QString(), QStringLiteral("lblBytes"), counters);
    const std::pair<const char*, QLabel*> rows[] = {{"Folders Scanned", lblBoom},
                                                    {"Number of files found", lblCount},
                                                    {"Total number of bytes", lblBytes}};
    int r = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), counters), r, 0);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        grid->addWidget(value, r++, 1);
    }
    panels->addWidget(counters);
    right->addWidget(panels);
    middle->addLayout(right, 2);
    top->addLayout(middle);

    m_model = new SearchResultsModel(this);
    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setModel(m_model);
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->verticalHeader()->hide();
    // Uniform rows: the view never measures a million rows.
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(true);
    // The columns fit the window: the name takes what the size and the mark leave, and a long
    // path loses its middle, not the file's name.
    QHeaderView* header = MSFlexGrid1->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->setSectionResizeMode(2, QHeaderView::Fixed);
    MSFlexGrid1->setTextElideMode(Qt::ElideMiddle);
    MSFlexGrid1->setColumnWidth(
        1, fontMetrics().horizontalAdvance(QStringLiteral("  999,999,999,999  ")));
    MSFlexGrid1->setColumnWidth(
        2, fontMetrics().horizontalAdvance(QStringLiteral("  Embedded Text  ")));
    MSFlexGrid1->setColumnHidden(3, true);
    top->addWidget(MSFlexGrid1, 1);

    auto* action = new QHBoxLayout;
    action->addWidget(new QLabel(QStringLiteral("File to perform the action on"), this));
    txtAction =
        textBox(QStringLiteral("txtAction"), QStringLiteral("The selected file name!"), this);
    txtAction->setReadOnly(true);
    action->addWidget(txtAction, 1);
    top->addLayout(action);
    lblScan = label(QString(), QStringLiteral("lblScan"), this);
    lblScan->setFrameShape(QFrame::Panel);
    lblScan->setFrameShadow(QFrame::Sunken);
    lblScan->setTextFormat(Qt::PlainText);
    // A long path is cut at the window's edge instead of asking the whole window to lay out anew
    // twenty times a second.
    lblScan->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    top->addWidget(lblScan);

    connect(cmdSearchStart, &QPushButton::clicked, this, &frmSearch::cmdSearchStart_Click);
    connect(cmdSearchAll, &QPushButton::clicked, this, &frmSearch::cmdSearchAll_Click);
    connect(cmdCancelSearch, &QPushButton::clicked, this, &frmSearch::cmdCancelSearch_Click);
    connect(MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &frmSearch::MSFlexGrid1_HeaderClick);
    connect(DrvList3, &QComboBox::activated, this, &frmSearch::DrvList3_Change);
    connect(txtDefaultDirectory, &QLineEdit::returnPressed, this,
            [this] { txtDefaultDirectory_Enter(); });
    connect(DirList3, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setStartFolder(item->data(Qt::UserRole).toString()); });
    MSFlexGrid1->installEventFilter(this);
    MSFlexGrid1->viewport()->installEventFilter(this);
    DirList3->installEventFilter(this);
}

void frmSearch::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
}

void frmSearch::keyPressEvent(QKeyEvent* event) {
    // Escape stops what runs and otherwise leaves the window, and its results, where they are.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (Searching || m_textScan)
            cmdCancelSearch_Click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmSearch::closeEvent(QCloseEvent* event) {
    // A closed window must not go on walking behind the user's back.
    if (m_worker)
        m_worker->stop();
    if (m_textScan)
        m_textScan->stop();
    m_collectTimer.stop();
    saveStartFolder(shownFolder()); // the next opening starts in the folder of this one
    QDialog::closeEvent(event);
}

QString frmSearch::shownFolder() const {
    QString shown = windowsOf(m_folder);
    if (!shown.endsWith(u'\\') && !shown.endsWith(u'/'))
        shown += shown.startsWith(u'/') ? u'/' : u'\\';
    return shown;
}

bool frmSearch::txtDefaultDirectory_Enter() {
    const QString typed = txtDefaultDirectory->text().trimmed();
    if (FolderRun || typed.isEmpty())
        return !FolderRun && !typed.isEmpty();
    const QString native = QFile::decodeName(nativeOf(typed));
    if (!QDir::isAbsolutePath(native) || !QFileInfo(native).isDir()) {
        lblScan->setText(FolderMissingText(typed));
        return false;
    }
    setStartFolder(native);
    return true;
}

QString frmSearch::windowsOf(const QString& nativePath) const {
    return shownPath(m_drives, nativePath);
}

QByteArray frmSearch::nativeOf(const QString& path) const {
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter())
        return QFile::encodeName(m_drives.toNative(path));
    return QFile::encodeName(path);
}

void frmSearch::refillFolderList() {
    DirList3->clear();
    const FolderListing listing =
        listFolders(m_drives, m_folder, DrvList3->currentData().toString());
    for (const FolderRow& row : listing.rows) {
        auto* item = new QListWidgetItem(row.text, DirList3);
        item->setData(Qt::UserRole, row.folder);
    }
    if (listing.current >= 0)
        DirList3->setCurrentRow(listing.current);
}

void frmSearch::setStartFolder(const QString& nativeFolder) {
    if (FolderRun || nativeFolder.isEmpty() || !QFileInfo(nativeFolder).isDir())
        return;
    m_folder = QDir::cleanPath(QFileInfo(nativeFolder).absoluteFilePath());
    // The drive box follows a folder that its drive does not hold (a saved or given folder on
    // another drive); a drive that holds it stays, as when two drives share a root.
    const QString driveFolder = DrvList3->currentData().toString();
    const bool held = driveFolder == QDir::rootPath() || m_folder == driveFolder ||
                      m_folder.startsWith(driveFolder + u'/');
    const QString windows = windowsOf(m_folder);
    if (!held && windows.size() >= 2 && windows[1] == u':') {
        const int drive = DrvList3->findText(windows.left(2).toLower());
        if (drive >= 0)
            DrvList3->setCurrentIndex(drive);
    }
    refillFolderList();
    QString shown = windowsOf(m_folder);
    if (shown.size() >= 4 && !shown.endsWith(u'\\'))
        shown += u'\\';
    m_startText = shown;
    txtDefaultDirectory->setText(shown);
    txtDefaultDirectoryX->setText(shown);
    chkDefaultDirectory_Click();
}

void frmSearch::DirList3_LostFocus() {
    const QListWidgetItem* item = DirList3->currentItem();
    if (FolderRun || !item)
        return;
    const QString folder = item->data(Qt::UserRole).toString();
    if (folder != m_folder)
        setStartFolder(folder);
}

void frmSearch::DrvList3_Change(int index) {
    if (FolderRun)
        return;
    const QString folder = DrvList3->itemData(index).toString();
    if (QFileInfo(folder).isDir()) {
        setStartFolder(folder);
        return;
    }
    // No such folder (a drive without its medium): back to the folder list's drive.
    for (int i = 0; i < DrvList3->count(); ++i)
        if (m_folder.startsWith(DrvList3->itemData(i).toString()))
            DrvList3->setCurrentIndex(i);
}

void frmSearch::startWalk(bool allDrives) {
    const SearchPattern pattern = BuildSearchPattern(m_extensionList);
    Searching = 1;
    FolderRun = true;
    cmdCancelSearch->setText(QStringLiteral("&Stop"));
    cmdCancelSearch->setToolTip(QStringLiteral("Stop the Run..."));
    cmdSearchStart->hide();
    cmdSearchAll->hide();
    FileWalk walk =
        allDrives
            ? FileWalk::allDrives(m_drives, NameFilter(pattern, NameFilter::Mode::Extension))
            : FileWalk::folderTree(m_drives, m_folder,
                                   NameFilter(pattern, NameFilter::Mode::Pattern), {true, true});
    m_model->setRoots(walk.roots());
    m_worker = std::make_unique<SearchWorker>(std::move(walk));
    m_worker->setFolderHook(walkFolderHook);
    connect(m_worker.get(), &SearchWorker::finished, this, &frmSearch::collect);
    m_worker->start();
    m_collectTimer.start();
}

void frmSearch::cmdSearchStart_Click() {
    if (m_finished) {
        cmdSearchStart->setEnabled(false);
        cmdSearchStart->setEnabled(true);
        lblScan->setText(QStringLiteral("Printing Search Results!"));
        PrintSearchResults();
        return;
    }
    if (Searching)
        return;
    // A folder typed but not yet entered is taken now; one that is not there starts nothing.
    if (txtDefaultDirectory->text() != m_startText && !txtDefaultDirectory_Enter())
        return;
    if (!QFileInfo(m_folder).isDir()) {
        lblScan->setText(FolderMissingText(shownFolder()));
        return;
    }
    lblScan->setText(QStringLiteral("Starting Search By Folders / Sub-Folders!"));
    saveStartFolder(shownFolder());
    startWalk(false);
}

void frmSearch::cmdSearchAll_Click() {
    if (Searching || m_finished)
        return;
    lblScan->setText(QStringLiteral("Starting Search For All Drives!"));
    txtDefaultDirectory->setText(QStringLiteral("Search All Drives!"));
    startWalk(true);
}

void frmSearch::cmdCancelSearch_Click() {
    if (Searching || m_textScan) {
        m_stopped = true;
        cmdCancelSearch->setEnabled(false);
        cmdCancelSearch->setEnabled(true);
        FolderRun = false;
        if (m_worker)
            m_worker->stop();
        if (m_textScan)
            m_textScan->stop();
        return;
    }
    close();
}

void frmSearch::collect() {
    if (!m_worker)
        return;
    std::optional<SearchWorker::Progress> taken = m_worker->tryTake();
    if (!taken)
        return; // the next tick takes it
    SearchWorker::Progress progress = std::move(*taken);
    if (!progress.rows.isEmpty()) {
        m_model->appendRows(std::move(progress.rows));
    }
    m_folders = progress.counts.folders;
    m_files = progress.counts.files;
    lblBoom->setText(QString::number(progress.counts.folders));
    lblCount->setText(QString::number(progress.counts.files));
    lblBytes->setText(QString::number(progress.counts.bytes, 'f', 0));
    if (!progress.folder.isEmpty())
        lblScan->setText(windowsOf(QFile::decodeName(progress.folder)));
    if (progress.finished && Searching)
        endSearch();
}

void frmSearch::showTotals() {
    const SearchResultsModel::Totals totals = m_model->totals();
    lblCount->setText(QString::number(totals.files));
    lblBytes->setText(QString::number(totals.bytes, 'f', 0));
}

void frmSearch::endSearch() {
    m_collectTimer.stop();
    // Not deleted here: this may run inside the worker's own finished signal.
    m_worker.release()->deleteLater();
    cmdCancelSearch->setText(QStringLiteral("&Exit"));
    cmdCancelSearch->setToolTip(QStringLiteral("Exit the Search Request!"));
    // A stopped search says so, and how far it got.
    lblScan->setText(m_stopped
                         ? QStringLiteral("Search Stopped! %1 folders scanned, %2 files found.")
                               .arg(m_folders)
                               .arg(m_files)
                         : QStringLiteral("Search Finished!"));
    m_stopped = false;
    cmdSearchStart->setText(QStringLiteral("Prin&t"));
    cmdSearchStart->setToolTip(QStringLiteral("Print the Search Results!"));
    cmdSearchStart->show();
    Searching = 0;
    m_finished = true;
    m_model->MarkEmptySequenceCells();
    Q_EMIT searchFinished();
}

} // namespace orvanex::search
