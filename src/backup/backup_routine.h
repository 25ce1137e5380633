#pragma once
// The backup taken before every change: the registry keys of one extension, or of a file type
// and all its extensions, exported into one numbered REGEDIT4 file in the backup folder and
// recorded in the settings.

#include "model/file_type_model.h"
#include "registry/registry.h"

#include <QList>
#include <QString>

namespace orvanex::backup {

// The fields a backup shares with the operation that asked for it.
struct BackupState {
    int QuietBackup = 0;  // 1: the caller shows its own success text
    QString BackupResult; // "XX" until the record is written, then "OK"
    QString BackupName;   // "XXXX" until a number is chosen, then "Reg" + number
    QString BackupFile;   // the backup file written, empty when none
    QString Failure;      // why the last backup was not taken, empty after a success
};

struct BackupRequest {
    enum class Mode { Extension, FileType };
    Mode mode = Mode::Extension;
    QString FileExt;  // the Ext (extension mode) or the type's Extensions text
    QString FileType; // the Description as the lists show it
};

class BackupRoutine {
public:
    // entries: the extension table the keys are looked up in; appFolder holds the backup folder.
    BackupRoutine(reg::Registry& registry, const QList<model::ExtensionEntry>& entries,
                  QString appFolder);

    // Takes the backup. Returns the status text to show ("" when there is none: a quiet
    // success, or a failure the routine keeps silent about); state tells the outcome.
    // markAs: the record's "Type" as the calling operation marks it ("Change", "Delete"), written
    // in the same settings write as the record.
    QString run(const BackupRequest& request, BackupState& state, const QString& markAs = {});

private:
    struct Run;
    reg::Registry& m_registry;
    const QList<model::ExtensionEntry>& m_entries;
    QString m_folder;
};

// The status texts.
QString extensionLookupError(const QString& fileExt);
QString typeLookupError(const QString& fileExt);

} // namespace orvanex::backup
