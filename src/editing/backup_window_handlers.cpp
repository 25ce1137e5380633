#include "editing/backup_window_handlers.h"

#include "backup/backup_records.h"
#include "backup/backup_undo.h"
#include "backup/frm_backup.h"
#include "backup/merge_preview_dialog.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/list_loader.h"
#include "editing/main_context.h"
#include "platform/text_editor.h"
#include "settings/settings_store.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QTableView>

namespace orvanex::backup {

namespace {

// The default value of a key under HKEY_CLASSES_ROOT; false when the key or the value is absent.
bool readDefault(reg::Registry& registry, const QString& key, QString* value) {
    reg::HKey h = 0;
    if (registry.openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED, &h) != 0)
        return false;
    std::uint32_t type = 0;
    QByteArray data;
    QString name;
    bool found = false;
    for (std::uint32_t i = 0; registry.enumValue(h, i, &name, &type, &data) == 0; ++i)
        if (name.isEmpty()) {
            if (data.endsWith('\0'))
                data.chop(1);
            *value = QString::fromUtf8(data);
            found = true;
            break;
        }
    registry.closeKey(h);
    return found;
}

model::IndexGridModel* indexModel(QTableView* grid) {
    return static_cast<model::IndexGridModel*>(editing::gridModel(grid));
}

} // namespace

void ReloadBackupEntry(MainContext& ctx, const QString& recordName) {
    const QString app = QLatin1String(kMainAppName), section = backupSection(recordName);
    const QString fileExt = GetSetting(app, section, QStringLiteral("FileExt"), kMissingRecord);
    const QString fileType = GetSetting(app, section, QStringLiteral("FileType"), kMissingRecord);
    if (fileExt == kMissingRecord || !ctx.registry || !ctx.editing)
        return;
    EditingSession& session = *ctx.editing;
    const QStringList words = fileExt.split(u' ', Qt::SkipEmptyParts).mid(0, 50);
    model::IndexGridModel* extModel = indexModel(ctx.ui->flex1);
    model::IndexGridModel* typeModel = indexModel(ctx.ui->flex2);
    if (!extModel || !typeModel)
        return;
    QList<model::IndexRow> extRows = extModel->records();
    QString typeName;
    bool filled = false;
    for (const QString& word : words) {
        const QString ext = word.toUpper();
        qsizetype found = -1;
        for (qsizetype i = 0; i < session.extensions.size() && found < 0; ++i)
            if (session.extensions[i].Ext == ext)
                found = i;
        if (found >= 0 && !session.extensions[found].TypeName.isEmpty())
            continue;
        QString keyName = u'.' + word.toLower(), value;
        if (!readDefault(*ctx.registry, keyName, &value)) {
            keyName = u'.' + ext;
            if (!readDefault(*ctx.registry, keyName, &value))
                continue;
        }
        if (found < 0) {
            session.extensions.append(model::ExtensionEntry{});
            found = session.extensions.size() - 1;
        }
        model::ExtensionEntry& e = session.extensions[found];
        e.KeyName = keyName;
        e.Ext = ext;
        e.TypeName = value;
        e.Description = fileType;
        e.ContentType = QStringLiteral(" ");
        typeName = value;
        extRows.append(model::extensionRow(ext, fileType));
        filled = true;
    }
    if (!filled)
        return;
    model::sortRows(extRows, 0, true);
    extModel->setRecords(extRows);

    QList<model::IndexRow> typeRows = typeModel->records();
    bool updated = false;
    for (model::FileTypeEntry& t : session.fileTypes) {
        if (t.TypeName != typeName)
            continue;
        for (model::IndexRow& row : typeRows)
            if (row.name == t.Description && row.related == t.Extensions) {
                QStringList merged = t.Extensions.split(u' ', Qt::SkipEmptyParts);
                for (const QString& w : words)
                    if (!merged.contains(w.toUpper()))
                        merged << w.toUpper();
                merged.sort();
                t.Description = fileType;
                t.Extensions = merged.join(u' ');
                row.name = t.Description;
                row.related = t.Extensions;
                updated = true;
                break;
            }
        break;
    }
    if (!updated) {
        session.fileTypes.append({typeName, fileType, fileExt.trimmed()});
        typeRows.append(model::fileTypeRow(fileType, fileExt.trimmed()));
    }
    model::sortRows(typeRows, 0, true);
    typeModel->setRecords(typeRows);
}

void RefreshMergedBackups(MainContext& ctx) {
    const QString app = QLatin1String(kMainAppName);
    const int next = nextNumber();
    for (int n = kFirstBackupNumber; n < next && n < kFirstBackupNumber + 9000; ++n) {
        const QString name = backupName(n);
        if (GetSetting(app, backupSection(name), QStringLiteral("Merge"), kMissingRecord) !=
            QLatin1String("yes"))
            continue;
        SaveSetting(app, backupSection(name), QStringLiteral("Merge"), QStringLiteral("no"));
        ReloadBackupEntry(ctx, name);
    }
}

BackupWindowHandlers::BackupWindowHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    connect(ctx.ui->cmdBackSystem, &QPushButton::clicked, this,
            &BackupWindowHandlers::cmdBackSystem_Click);
    connect(ctx.ui->mnuBackupFiles, &QAction::triggered, this,
            &BackupWindowHandlers::cmdBackSystem_Click);
    connect(ctx.ui->mnuUndo, &QAction::triggered, this, &BackupWindowHandlers::mnuUndo_Click);
}

void BackupWindowHandlers::mnuUndo_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    if (!m_ctx.registry || !m_ctx.editing)
        return;
    if (m_ctx.Busy || m_ctx.state.panelOpen()) {
        ui->lblScan->setText(QStringLiteral("Please Select Option!"));
        return;
    }
    const UndoPlan plan = planUndo(*m_ctx.registry, m_ctx.AppFolder);
    if (!plan.found) {
        ui->lblScan->setText(plan.message);
        return;
    }
    if (!plan.preview.readable) {
        ui->lblScan->setText(plan.preview.error + QStringLiteral("; nothing was merged"));
        return;
    }
    MergePreviewDialog preview(plan.path, plan.preview, m_ctx.window);
    preview.setWindowTitle(QStringLiteral("Undo ") + plan.record.Name + QStringLiteral(" (") +
                           plan.record.FileType + QStringLiteral(") - Merge Preview"));
    if (preview.exec() != QDialog::Accepted) {
        ui->lblScan->setText(QStringLiteral("Undo cancelled: ") + plan.record.Name);
        return;
    }
    const UndoOutcome out =
        runUndo(*m_ctx.registry, m_ctx.editing->extensions, m_ctx.AppFolder, plan);
    // The lists are read again: the undo may bring back or change any entry it covers.
    if (out.merge.wrote)
        editing::reloadLists(m_ctx);
    ui->lblScan->setText(out.message);
    if (!out.undone)
        QApplication::beep();
}

void BackupWindowHandlers::cmdBackSystem_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->cmdBackSystem->setEnabled(false);
    ui->cmdBackSystem->setEnabled(true);
    const QString status = ui->lblScan->text();
    const QString viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/pelusa");
    FrmBackup::Services services;
    services.openEditor = [viewer](const QString& path) {
        return platform::openInTextEditor(path, viewer);
    };
    services.confirmMerge = [](const QString& path, const MergePreview& preview, QWidget* parent) {
        MergePreviewDialog dialog(path, preview, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    {
        FrmBackup window(m_ctx.registry, m_ctx.AppFolder, services, m_ctx.window);
        window.exec();
    }
    ui->lblScan->setText(status);
    (m_ctx.state.byFileType() ? ui->flex2 : ui->flex1)->setFocus();
    RefreshMergedBackups(m_ctx);
}

} // namespace orvanex::backup
