#pragma once
// Merging a backup file back into the registry, the record's marks afterwards, and deleting a
// backup. The window's "&Merge" and "&Delete", orvx merge and delete-backup all come here.

#include "registry/reg_diff.h"

#include <QString>
#include <QStringList>

namespace orvanex::backup {

// The record's "File" value; when the record has none, the backup folder + the file name.
QString backupRecordPath(const QString& recordName, const QString& appFolder);

// What the merge of a file would change in the registry as it is now.
struct MergePreview {
    bool readable = false; // the file could be read and is a registry file
    QString error;
    reg::RegDiff diff;
};
MergePreview previewMerge(reg::Registry& registry, const QString& path);

struct MergeOutcome {
    bool wrote = false;    // the batch was committed
    bool complete = false; // every line was read and every change written
    QString message;       // one line for the status line or standard error
    qsizetype changes = 0; // as the preview counts them: what differed before the merge
    QStringList problems;  // the lines that were skipped or could not be written
};
// Merges the file as one batch through the .reg importer.
MergeOutcome mergeBackupFile(reg::Registry& registry, const QString& path);
// The same for the bytes of a file (path names it in the message).
MergeOutcome mergeRegBytes(reg::Registry& registry, const QByteArray& bytes, const QString& path);
// What merging the bytes would change (path names the file in errors).
MergePreview previewRegBytes(reg::Registry& registry, const QByteArray& bytes, const QString& path);

// "Merge" = "yes" and "Type" = "Merged" in the record; false when the settings could not be saved.
bool markRecordMerged(const QString& recordName);

// Sends a recorded backup's file to the trash, then drops its record. The record never goes
// without its file, so nothing is left listed that cannot be restored.
struct BackupDeletion {
    bool ok = false;
    QString path;    // the backup file
    QString message; // "PATH *** Deleted ***", or why not
};
BackupDeletion deleteBackup(const QString& recordName, const QString& appFolder);

} // namespace orvanex::backup
