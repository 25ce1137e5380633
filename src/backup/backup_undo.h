#pragma once
// Undo: the backup of the last change or delete made to a registry merged back, so that its keys
// are again as they were before it. The window's "&Undo Last Change" and orvx undo both come here.

#include "backup/backup_merge.h"
#include "backup/backup_records.h"
#include "model/file_type_model.h"

#include <QByteArray>
#include <QList>

namespace orvanex::backup {

struct UndoPlan {
    bool found = false;
    BackupRecord record; // the newest "Change" or "Delete" record of the registry
    QString path;        // its backup file
    // The backup with its keys deleted first: what the change added goes as well, and the keys
    // come back as the backup holds them.
    QByteArray bytes;
    MergePreview preview; // over the registry as it is now
    QString message;      // why there is nothing to undo
};
UndoPlan planUndo(reg::Registry& registry, const QString& appFolder);

struct UndoOutcome {
    bool undone = false;
    QString message;    // one line for the status line or standard error
    QString backupName; // what the undo backed up first ("" when the keys were gone)
    MergeOutcome merge;
};
// Backs up what the undo replaces (a record marked "Undo", which no undo takes), merges the plan in
// one batch and marks its record "Undone" (only when all of it was written). A failed backup
// stops it before any write.
// entries: the extension table the backup looks the keys up in.
UndoOutcome runUndo(reg::Registry& registry, const QList<model::ExtensionEntry>& entries,
                    const QString& appFolder, const UndoPlan& plan);

} // namespace orvanex::backup
