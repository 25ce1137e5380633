#pragma once
// Merging a backup file back into the registry, and the record's marks afterwards. The window's
// "&Merge" and orvx merge both come here.

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
    QStringList problems;  // the lines that were skipped or could not be written
};
// Merges the file as one batch through the .reg importer.
MergeOutcome mergeBackupFile(reg::Registry& registry, const QString& path);

// "Merge" = "yes" and "Type" = "Merged" in the record; false when the settings could not be saved.
bool markRecordMerged(const QString& recordName);

} // namespace orvanex::backup
