#pragma once
// The backups host changes take first, numbered and recorded like the registry backups: a
// REGEDIT4 file of the prefix's export log before a registry change, and a folder
// "RegNNNN.dsk" holding a copy of every file and line a removal takes away.

#include "backup/backup_file.h"
#include "registry/registry.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace orvanex::desktop {

inline const QString kHostBackupType = QStringLiteral("Host");
inline const QString kHostFileType = QStringLiteral("Linux Desktop Entries");
inline const QString kWineRecordsType = QStringLiteral("Wine FileOpenAssociations");

// The Backup folder held for one operation: numbers are handed out and recorded while it lives.
class HostBackupFolder {
public:
    explicit HostBackupFolder(const QString& appFolder);
    ~HostBackupFolder();
    bool isLocked() const;
    QString folder() const { return m_folder; }

    // A number free as a .reg file, a .dsk folder and a record; the counter moves past it.
    int claimNumber();
    // The export log of exts with "Exclude" and "Enable" as they are, into RegNNNN.reg with a
    // record "Change" of the registry. False with *error when any step fails.
    bool backUpRecords(reg::Registry& registry, const QStringList& exts, QString* name,
                       QString* error);

private:
    QString m_folder;
    std::unique_ptr<backup::FolderLock> m_lock;
    struct Batch;
    std::unique_ptr<Batch> m_batch;
};

QString hostBackupPath(const QString& backupFolder, int number); // folder + "/Reg1000.dsk"
// "PDF RTF" of {".pdf", ".rtf"}, as the backup records name extensions.
QString recordExtensions(const QStringList& exts);

} // namespace orvanex::desktop
