#include "editing/count_handlers.h"

#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "search/file_count_columns.h"
#include "search/file_count_worker.h"
#include "ui_main_window.h"

#include <QTimer>

namespace orvanex::editing {

namespace {

const QString kStopCaption = QStringLiteral("&Stop");
const QString kExitCaption = QStringLiteral("&Exit");

void sortByName(QTableView* grid) {
    sortGrid(grid, 0, model::kSortStringAscending);
    setTopRow(grid, 0);
}

} // namespace

QString CountedFolderText(const QList<platform::DriveRoot>& roots, const QByteArray& folder) {
    const platform::DriveRoot* best = nullptr;
    for (const platform::DriveRoot& root : roots) {
        const bool below = folder == root.native ||
                           (folder.startsWith(root.native) &&
                            (root.native.endsWith('/') || folder.at(root.native.size()) == '/'));
        if (below && (!best || root.native.size() > best->native.size()))
            best = &root;
    }
    return best ? platform::windowsPathBelow(*best, folder) : QString::fromUtf8(folder);
}

CountHandlers::CountHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_progress(new QTimer(this)) {
    m_progress->setInterval(kCountProgressMs);
    connect(m_progress, &QTimer::timeout, this, &CountHandlers::followWalk);
    connect(ctx.ui->cmdLoad, &QAction::triggered, this, &CountHandlers::cmdLoad_Click);
    // The window's own exit handler runs first and clears the flag; stopping here rather than at
    // the next progress tick ends the walk at once.
    connect(ctx.ui->cmdExit, &QPushButton::clicked, this, [this] {
        if (m_worker && !m_ctx.Counting)
            m_worker->stop();
    });
}

CountHandlers::~CountHandlers() = default;

bool CountHandlers::counting() const {
    return m_worker != nullptr;
}

void CountHandlers::stopWalk() {
    m_ctx.Counting = false;
    if (m_worker)
        m_worker->stop();
}

bool CountHandlers::walkStopping() const {
    return m_worker && m_worker->stopping();
}

void CountHandlers::setFolderHook(std::function<void(const QByteArray&)> hook) {
    m_folderHook = std::move(hook);
}

void CountHandlers::setCommandsEnabled(bool enabled) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->cmdExtNew->setEnabled(enabled);
    for (QMenu* menu : {ui->mnuFile, ui->mnuAction, ui->mnuPrintAll, ui->mnuHelpX})
        menu->menuAction()->setEnabled(enabled);
    ui->cmdSelectByFileType->setEnabled(enabled);
    ui->cmdSelectByFileExtension->setEnabled(enabled);
    ui->Combo1->setEnabled(enabled);
    ui->Combo2->setEnabled(enabled);
    ui->chkAlwaysShow->setEnabled(enabled);
    ui->chkQuickView->setEnabled(enabled);
}

void CountHandlers::cmdLoad_Click() {
    // A panel operation or a count already running keeps the window as it is.
    if (m_ctx.Busy || m_worker)
        return;
    m_ctx.Busy = true;
    Ui::frmORVANEX* ui = m_ctx.ui;

    ClearDetailArea(m_ctx);
    ClearActionFields(m_ctx);
    ui->txtMIME->clear();
    DisableEntryControls(m_ctx);
    setCommandsEnabled(false);
    ui->lblScan->setText(QStringLiteral("Starting Number Of Files Extract"));

    sortByName(ui->flex1);
    sortByName(ui->flex2);

    ui->cmdExit->setText(kStopCaption);
    ui->cmdExit->setToolTip(QStringLiteral("Stop! Loading # of files!"));
    m_ctx.Counting = true;

    EditingSession& session = editingSession(m_ctx);
    m_worker = std::make_unique<search::FileCountWorker>(
        search::FileWalk::allDrives(session.drives, search::NameFilter()));
    m_worker->setFolderHook(m_folderHook);
    connect(m_worker.get(), &search::FileCountWorker::finished, this, &CountHandlers::walkEnded);
    if (!m_worker->roots().isEmpty())
        ui->lblScan->setText(m_worker->roots().first().windowsRoot);
    m_worker->start();
    m_progress->start();
}

void CountHandlers::followWalk() {
    if (!m_worker)
        return;
    // The exit button (or closing the window) clears the flag; the walk ends at its next folder.
    if (!m_ctx.Counting)
        m_worker->stop();
    const search::FileCountWorker::Progress now = m_worker->progress();
    if (now.finished || now.folder.isEmpty())
        return;
    const QString text = CountedFolderText(m_worker->roots(), now.folder);
    if (m_ctx.ui->lblScan->text() != text)
        m_ctx.ui->lblScan->setText(text);
}

void CountHandlers::walkEnded() {
    m_progress->stop();
    // Kept until the next count: its finished() is still being delivered.
    m_ended = std::move(m_worker);
    search::FileCountWorker* worker = m_ended.get();
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->lblScan->setText(QStringLiteral("Sorting......"));
    ui->lblScan->repaint();
    sortByName(ui->flex1);
    sortByName(ui->flex2);

    // What a stopped walk counted so far is shown as well.
    GridModels& grids = editingSession(m_ctx).grids;
    QList<model::IndexRow> types = grids.fileTypes->records();
    search::FillTypeCounts(types, worker->counts());
    grids.fileTypes->setRecords(std::move(types));
    QList<model::IndexRow> extensions = grids.extensions->records();
    const search::CountTotals totals = search::FillExtensionCounts(extensions, worker->counts());
    grids.extensions->setRecords(std::move(extensions));
    ui->lblScan->setText(search::CountTotalsText(totals));

    ui->cmdExit->setText(kExitCaption);
    ui->cmdExit->setToolTip(QStringLiteral("Exit ORVANEX!"));
    setCommandsEnabled(true);
    m_ctx.Counting = false;
    m_ctx.Busy = false;
    Q_EMIT countFinished();
}

} // namespace orvanex::editing
