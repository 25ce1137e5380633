#include "backup/backup_merge.h"
#include "backup/backup_records.h"
#include "platform/trash.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"

#include <QFile>

namespace orvanex::backup {

namespace {

bool readFile(const QString& path, QByteArray* bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QString backupRecordPath(const QString& recordName, const QString& appFolder) {
    const QString file = GetSetting(QLatin1String(kMainAppName), backupSection(recordName),
                                    QStringLiteral("File"), QStringLiteral("99"));
    if (file != QLatin1String("99"))
        return file;
    return backupFolderPath(appFolder) + u'/' + recordName + QStringLiteral(".reg");
}

MergePreview previewMerge(reg::Registry& registry, const QString& path) {
    MergePreview preview;
    QByteArray bytes;
    if (!readFile(path, &bytes, &preview.error))
        return preview;
    preview.diff = reg::diffRegFile(registry, bytes);
    if (preview.diff.refused) {
        preview.error = path + QStringLiteral(": ") + preview.diff.error;
        return preview;
    }
    preview.readable = true;
    return preview;
}

MergeOutcome mergeBackupFile(reg::Registry& registry, const QString& path) {
    MergeOutcome outcome;
    QByteArray bytes;
    if (!readFile(path, &bytes, &outcome.message)) {
        outcome.message += QStringLiteral("; nothing was merged");
        return outcome;
    }
    const int unreadable = int(reg::parseRegFile(bytes).warnings.size());
    const reg::RegImport imported = reg::importRegFile(registry, bytes);
    outcome.problems = imported.warnings;
    if (imported.refused || !imported.error.isEmpty()) {
        outcome.message = path + QStringLiteral(": ") + imported.error +
                          (imported.refused ? QStringLiteral("; nothing was merged") : QString());
        return outcome;
    }
    outcome.wrote = true;
    outcome.complete = imported.warnings.isEmpty();
    const QString counts = QStringLiteral("%1 keys created, %2 deleted, %3 values set, %4 deleted")
                               .arg(imported.keysCreated)
                               .arg(imported.keysDeleted)
                               .arg(imported.valuesSet)
                               .arg(imported.valuesDeleted);
    if (outcome.complete) {
        outcome.message = QStringLiteral("Merged %1: %2").arg(path, counts);
    } else {
        const int unwritten = int(imported.warnings.size()) - unreadable;
        outcome.message = QStringLiteral("Merged %1 in part: %2; %3 lines could not be read, %4 "
                                         "changes could not be written")
                              .arg(path, counts)
                              .arg(unreadable)
                              .arg(unwritten);
    }
    return outcome;
}

bool markRecordMerged(const QString& recordName) {
    const QString app = QLatin1String(kMainAppName);
    const QString section = backupSection(recordName);
    return SaveSetting(app, section, QStringLiteral("Merge"), QStringLiteral("yes")) &&
           SaveSetting(app, section, QStringLiteral("Type"), QStringLiteral("Merged"));
}

BackupDeletion deleteBackup(const QString& recordName, const QString& appFolder) {
    BackupDeletion deletion;
    deletion.path = backupRecordPath(recordName, appFolder);
    if (QFile::exists(deletion.path) && !platform::moveToTrash(deletion.path)) {
        deletion.message = deletion.path + QStringLiteral(" could not be moved to the trash");
        return deletion;
    }
    if (!DeleteSetting(QLatin1String(kMainAppName), backupSection(recordName))) {
        deletion.message = deletion.path + QStringLiteral(" is in the trash, but its record ") +
                           recordName + QStringLiteral(" could not be removed");
        return deletion;
    }
    deletion.ok = true;
    deletion.message = deletion.path + QStringLiteral(" *** Deleted ***");
    return deletion;
}

} // namespace orvanex::backup
