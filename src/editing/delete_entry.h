#pragma once
// Deleting a file type with all its extensions, one extension (and its type when no other
// extension uses it) or one action, each after a backup marked "Delete". The tables of the
// context are updated; the outcome tells the window which rows leave its grids.

#include "editing/apply_change.h"
#include "model/grid_rows.h"

namespace orvanex::editing {

// The status of a delete request: it names the backup file the deletion will write.
QString deleteRequestStatus(const QString& appFolder);

struct DeleteFields {
    bool byType = false; // a file type with all its extensions; else the extension shown
    QString CurrentTypeKey;
    QString txtDesc;
    QString txtExt; // the extension shown (by extension)
    QString txtRel; // the type's extensions (by type), the other extensions (by extension)
    backup::BackupRequest backup;
};

struct DeleteOutcome : EditOutcome {
    bool deleted = false;
    QString DeletedName;
    // The Ext of each extension whose key went, in deletion order (also on failure).
    QStringList removedExtensions;
    // The type's row of the file-type list: its texts before, and whether it goes or keeps
    // remainingExtensions.
    QString typeDescription;
    QString typeExtensions;
    bool typeRemoved = false;
    QString remainingExtensions;
};

DeleteOutcome DeleteEntry(EditContext& ctx, const DeleteFields& fields);

struct DeleteActionFields {
    QString CurrentTypeKey;
    QString Verb;
    QString DisplayName;
    backup::BackupRequest backup;
};
DeleteOutcome DeleteAction(EditContext& ctx, const DeleteActionFields& fields);

// The rows of the deleted extensions out of the extension list; the type's row out of the
// file-type list, or showing the extensions it keeps.
void removeDeletedRows(model::IndexGridModel& extensions, model::IndexGridModel& fileTypes,
                       const DeleteOutcome& out);

// The extension list without one word (single blanks, order kept).
QString withoutExtension(const QString& extensions, const QString& ext);

} // namespace orvanex::editing
