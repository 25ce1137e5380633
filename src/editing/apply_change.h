#pragma once
// Apply: writing the detail area back to the registry, for a new file type with its extensions or
// for the icon and marks of a file type shown. The window reads its fields into these records,
// calls the operation and shows the outcome; orvx does the same.

#include "editing/edit_context.h"

namespace orvanex::editing {

// The outcome every operation gives the window.
struct EditOutcome {
    QString status;
    bool beep = false;
    enum class Focus { None, Description, Extensions, NewExtensions } focus = Focus::None;
};

// Apply for a file type shown (any EditState but 3).
struct ChangeFields {
    QString CurrentTypeKey;
    QString txtDesc;
    QString txtIcon;
    QString iconNumber; // the icon number caption, trimmed here
    bool alwaysShowChecked = false;
    bool quickViewChecked = false;
    // As loaded or last applied; refreshed after a fully successful change.
    QString OldIconFile, OldIconNumber, OldQuickView, OldAlwaysShow;
    // The description as loaded; a changed txtDesc is written to the type key when it may take
    // one (see descriptionEditable).
    QString OldDescription;
    bool descriptionEditable = false;
    // The extension key shown ("" in the file-type view) and its content type as loaded (" " for
    // none); a changed txtMIME is written to its "Content Type" value, an empty one deletes it.
    QString ExtensionKey;
    QString txtMIME;
    QString OldContentType;
    // What the backup routine backs up: the entry shown.
    backup::BackupRequest backup;
    // The slot texts of the entry shown: FileType, FileExtension and WhichKind.
    backup::SlotValues slot;
};
struct ChangeOutcome : EditOutcome {
    bool nothingToUpdate = false;
    bool updated = false;
    bool backupFailed = false;       // nothing written
    bool descriptionChanged = false; // the tables hold the new description
    bool contentTypeChanged = false;
    int slot = 0; // the update slot written
};
// Writes what changed after its backup; a failed backup stops it before any write. A changed
// description or content type goes into the context's tables too.
ChangeOutcome ApplyChange(EditContext& ctx, ChangeFields& fields);

// A type key whose default value is a description the user may change: a real type key that
// opens, not an extension key standing for its own type, nor the two wildcards.
bool descriptionEditable(reg::RegState& state, const QString& typeKey);
// The key of the first entry of the table with this Ext, "" when none.
QString extensionKeyOf(const QList<model::ExtensionEntry>& entries, const QString& ext);

// Apply for a new file type (EditState 3).
struct NewTypeFields {
    QString txtDesc;
    QString txtRel;
    QString txtIcon;
    QString iconNumber;
    bool alwaysShowChecked = false;
    bool quickViewChecked = false;
};
struct NewTypeOutcome : EditOutcome {
    bool finished = false; // EditState back to 0 and Apply disabled (success or missing icon)
    bool added = false;    // every key written
    QString NewTypeKey;
    QString joinedExtensions; // txtRel's new text, once the type entered the list
    // Rows of the extension table written (appended or claimed), in writing order.
    QList<qsizetype> extensionRows;
    bool typeAppended = false; // the type is the last entry of ctx.fileTypes
    QStringList backups;       // names of backups of claimed extension keys
};
NewTypeOutcome ApplyNewType(EditContext& ctx, const NewTypeFields& fields);

// The status texts shared with the add-extensions panel.
QString anotherTypeError(const QString& word);
QString iconMissingStatus(const QString& iconText);

} // namespace orvanex::editing
