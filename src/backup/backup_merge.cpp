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
    QByteArray bytes;
    QString error;
    if (!readFile(path, &bytes, &error)) {
        MergePreview preview;
        preview.error = error;
        return preview;
    }
    return previewRegBytes(registry, bytes, path);
}

MergePreview previewRegBytes(reg::Registry& registry, const QByteArray& bytes,
                             const QString& path) {
    MergePreview preview;
    preview.diff = reg::diffRegFile(registry, bytes);
    if (preview.diff.refused) {
        preview.error = path + QStringLiteral(": ") + preview.diff.error;
        return preview;
    }
    preview.readable = true;
    return preview;
}

MergeOutcome mergeBackupFile(reg::Registry& registry, const QString& path) {
    QByteArray bytes;
    QString error;
    if (!readFile(path, &bytes, &error)) {
        MergeOutcome outcome;
        outcome.message = error + QStringLiteral("; nothing was merged");
        return outcome;
    }
    return mergeRegBytes(registry, bytes, path);
}

MergeOutcome mergeRegBytes(reg::Registry& registry, const QByteArray& bytes, const QString& path) {
    MergeOutcome outcome;
    const reg::RegFileParse parse = reg::parseRegFile(bytes);
    const int unreadable = int(parse.warnings.size());
    // Counted as the preview counts: the changes to the registry as it is now, not the lines.
    const qsizetype changes = qsizetype(reg::diffRegParse(registry, parse, bytes).changes.size());
    const reg::RegImport imported = reg::importRegFile(registry, bytes);
    outcome.problems = imported.warnings;
    if (imported.refused || !imported.error.isEmpty()) {
        outcome.message = path + QStringLiteral(": ") + imported.error +
                          (imported.refused ? QStringLiteral("; nothing was merged") : QString());
        return outcome;
    }
    outcome.wrote = true;
    outcome.complete = imported.warnings.isEmpty();
    outcome.changes = changes;
    const QString counts = changes == 0
                               ? QStringLiteral("nothing in the registry changed")
                               : QStringLiteral("made %1 change(s) to the registry").arg(changes);
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
