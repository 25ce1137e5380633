#pragma once
// What the editing operations of the main window work on, without the window: the registry, the
// tables the lists are built from, the backup folder and the update slots. The window and orvx
// each fill one and call the same operations.

#include "backup/backup_routine.h"
#include "backup/update_slots.h"
#include "model/file_type_model.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QList>
#include <QString>

namespace orvanex::editing {

struct EditContext {
    reg::RegState& state;
    const platform::DriveMap& drives;
    QList<model::ExtensionEntry>& extensions;
    QList<model::FileTypeEntry>& fileTypes;
    QString appFolder;
    backup::BackupState& backup;
    backup::UpdateSlots& slots;
};

inline const QString kPleaseWait = QStringLiteral("Please wait...............");

// Backs up what request names, quietly, and marks the record with type ("Change", "Delete").
// Returns the status text the backup wants shown (its failure texts), "" otherwise.
QString quietBackup(EditContext& ctx, const backup::BackupRequest& request, const QString& type);

// No change goes ahead without its backup: takes it quietly and returns true when it was written;
// otherwise *why holds what the status line says after "Backup Failed!    ".
bool backUpFirst(EditContext& ctx, const backup::BackupRequest& request, const QString& type,
                 QString* why);
QString backupFailedText(const QString& why); // "Backup Failed!    " + why
// claimExtension's status when the backup of an existing key failed (nothing written).
inline constexpr std::int32_t kBackupFailed = 99998;

// The typed extension words in token order (the last typed first), one leading dot dropped.
QStringList typedExtensions(const QString& text);
// The first word (in token order) that an extension of the table already naming a file type
// has (compared upper-cased), or "".
QString wordOfAnotherType(const QList<model::ExtensionEntry>& entries, const QStringList& words);
// The first word that another word repeats, compared without regard to case, or "".
QString repeatedWord(const QStringList& words);
// True when the entry's key names a file type (its TypeName is not the key itself).
bool namesFileType(const model::ExtensionEntry& entry);

// Writes ".word" pointing to typeName; an existing key of that name (one naming no file type,
// as the rules above allow) is backed up first, and left alone when that fails (kBackupFailed,
// ctx.backup.Failure saying why). The table gets the entry, or the existing entry
// is pointed to the type. Returns the status; *backupName is set when a backup was taken, and
// *index to the entry's index in the table.
reg::Status claimExtension(EditContext& ctx, const QString& word, const QString& typeName,
                           const QString& description, QString* backupName, qsizetype* index);

} // namespace orvanex::editing
