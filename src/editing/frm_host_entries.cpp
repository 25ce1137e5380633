#include "editing/frm_host_entries.h"

#include "backup/backup_records.h"
#include "desktop/host_backup.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "registry/wine_registry.h"
#include "ui_main_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvanex::editing {

namespace {

const QString kCaption = QStringLiteral("ORVANEX Linux Desktop Entries");

QPushButton* button(const QString& text, const QString& name, const QString& tip, QWidget* w) {
    auto* b = new QPushButton(text, w);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FrmHostEntries::FrmHostEntries(QString appFolder, QString defaultPrefix, QWidget* parent)
    : QDialog(parent), m_appFolder(std::move(appFolder)),
      m_defaultPrefix(std::move(defaultPrefix)) {
    using desktop::HostItem;
    setObjectName(QStringLiteral("frmHostEntries"));
    setWindowTitle(kCaption);
    resize(860, 380);
    m_model = new HostGridModel(
        {{[](const HostItem& i) { return i.ext; }},
         {[](const HostItem& i) { return desktop::kindName(i.kind); }},
         {[](const HostItem& i) { return i.prefix; }},
         {[](const HostItem& i) { return desktop::stateName(i.state); }, model::SortAs::Text,
          [](const HostItem& i) {
              return i.state == desktop::HostState::Live ? QColor() : QColor(Qt::darkRed);
          }},
         {[](const HostItem& i) {
             return i.kind == desktop::HostKind::MimeAppsLine
                        ? i.path + QStringLiteral(": ") + i.line
                        : i.path;
         }}},
        this);
    m_model->setFormat(QStringLiteral("<Extension|<Kind|<Prefix|<State|<Path"));
    m_grid = makeRowList(m_model, QStringLiteral("gridHostEntries"), this);
    m_grid->setColumnWidth(0, 80);
    m_grid->setColumnWidth(1, 70);
    m_grid->setColumnWidth(2, 220);
    m_grid->setColumnWidth(3, 60);
    m_status = makeStatusPanel(QStringLiteral("lblHostEntries"), this);
    m_status->setWordWrap(true);
    auto* add = button(QStringLiteral("&Add…"), QStringLiteral("cmdAddHost"),
                       QStringLiteral("Make a desktop entry for one Wine file type!"), this);
    m_remove =
        button(QStringLiteral("&Remove"), QStringLiteral("cmdRemoveHost"),
               QStringLiteral("Remove the entry and everything of it, after a backup!"), this);
    auto* restore = button(QStringLiteral("Re&store…"), QStringLiteral("cmdRestoreHost"),
                           QStringLiteral("Put a removal back from its backup!"), this);
    auto* disable =
        button(QStringLiteral("&Disable Wine's export…"), QStringLiteral("cmdDisableExport"),
               QStringLiteral("Keep Wine from writing any entries for the prefix!"), this);
    auto* close = button(QStringLiteral("&Close"), QStringLiteral("cmdCloseHost"),
                         QStringLiteral("Close the window!"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, m_remove, restore, disable})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] { cmdAddHost_Click(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { cmdRemoveHost_Click(); });
    connect(restore, &QPushButton::clicked, this, [this] { cmdRestoreHost_Click(); });
    connect(disable, &QPushButton::clicked, this, [this] { cmdDisableExport_Click(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { m_remove->setEnabled(selected() != nullptr); });
    refresh();
}

QString FrmHostEntries::statusText() const {
    return m_status->text();
}

void FrmHostEntries::refresh() {
    m_model->setRecords(desktop::scanHostItems(desktop::HostFolders::fromEnvironment()));
    if (m_model->recordCount() > 0)
        setCurrentRow(m_grid, 0);
    m_remove->setEnabled(selected() != nullptr);
}

const desktop::HostItem* FrmHostEntries::selected() const {
    const int row = currentRow(m_grid);
    return m_model->isRecordRow(row) ? &m_model->record(row) : nullptr;
}

QString FrmHostEntries::chosenPrefix() const {
    const desktop::HostItem* item = selected();
    return item ? item->prefix : m_defaultPrefix;
}

void FrmHostEntries::showOutcome(const desktop::HostOutcome& outcome) {
    QStringList lines = outcome.problems;
    lines += outcome.messages;
    m_status->setText(lines.join(u'\n'));
    refresh();
}

void FrmHostEntries::cmdRemoveHost_Click(bool ask) {
    const desktop::HostItem* item = selected();
    if (!item)
        return;
    const QString ext = item->ext, prefix = item->prefix;
    const QList<desktop::HostItem> chosen =
        desktop::entriesOf(m_model->records(), [&](const desktop::HostItem& i) {
            return i.ext == ext && i.prefix == prefix;
        });
    const QString question =
        QStringLiteral("Remove the %1 desktop item(s) of %2 (prefix %3), after a backup?")
            .arg(chosen.size())
            .arg(ext, prefix);
    if (ask && QMessageBox::question(this, kCaption, question) != QMessageBox::Yes)
        return;
    showOutcome(
        desktop::removeHostItems(desktop::HostFolders::fromEnvironment(), chosen, m_appFolder));
}

void FrmHostEntries::cmdAddHost_Click(const QString& extGiven, const QString& prefixGiven) {
    QString ext = extGiven, prefix = prefixGiven;
    if (ext.isEmpty()) {
        bool ok = false;
        ext = QInputDialog::getText(this, kCaption, QStringLiteral("File &extension:"),
                                    QLineEdit::Normal, QString(), &ok);
        if (!ok || ext.trimmed().isEmpty())
            return;
        prefix = QInputDialog::getText(this, kCaption, QStringLiteral("Wine &prefix:"),
                                       QLineEdit::Normal, chosenPrefix(), &ok);
        if (!ok)
            return;
    }
    showOutcome(desktop::addHostEntry(desktop::HostFolders::fromEnvironment(),
                                      prefix.isEmpty() ? chosenPrefix() : prefix, ext));
}

void FrmHostEntries::cmdRestoreHost_Click(const QString& nameGiven) {
    QString name = nameGiven;
    if (name.isEmpty()) {
        QStringList choices;
        for (const backup::BackupRecord& r : backup::listBackupRecords())
            if (r.Type == desktop::kHostBackupType)
                choices.prepend(r.Name + QStringLiteral("  ") + r.FileExt + QStringLiteral("  ") +
                                r.DateTime);
        if (choices.isEmpty()) {
            m_status->setText(QStringLiteral("No removal of desktop entries to restore"));
            return;
        }
        bool ok = false;
        const QString choice = QInputDialog::getItem(
            this, kCaption, QStringLiteral("&Backup to restore:"), choices, 0, false, &ok);
        if (!ok)
            return;
        name = choice.section(u' ', 0, 0);
    }
    showOutcome(
        desktop::restoreHostBackup(desktop::HostFolders::fromEnvironment(), name, m_appFolder));
}

void FrmHostEntries::cmdDisableExport_Click(bool ask) {
    const QString prefix = chosenPrefix();
    const QString question = QStringLiteral("Keep Wine from writing desktop entries for any file "
                                            "type of %1 (Enable=N), after a backup?")
                                 .arg(prefix);
    if (ask && QMessageBox::question(this, kCaption, question) != QMessageBox::Yes)
        return;
    showOutcome(desktop::disableWineExport(prefix, m_appFolder));
}

void installHostEntriesWindow(MainContext& ctx, QObject* parent) {
    auto* item = new QAction(QStringLiteral("Linux &Desktop Entries…"), parent);
    item->setObjectName(QStringLiteral("mnuHostEntries"));
    ctx.ui->mnuFile->insertAction(ctx.ui->mnuExit, item);
    auto* window = new QPointer<FrmHostEntries>;
    QObject::connect(parent, &QObject::destroyed, [window] { delete window; });
    QObject::connect(item, &QAction::triggered, parent, [&ctx, window] {
        if (!*window) {
            const auto* wine = dynamic_cast<const reg::WineRegistry*>(ctx.registry);
            const QString prefix =
                wine ? wine->prefix() : desktop::HostFolders::fromEnvironment().defaultPrefix();
            *window = new FrmHostEntries(ctx.AppFolder, prefix, ctx.window);
            (*window)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*window)->QDialog::show();
        (*window)->raise();
        (*window)->activateWindow();
    });
}

} // namespace orvanex::editing
