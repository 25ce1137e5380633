#include "desktop/host_backup.h"

#include "backup/backup_records.h"
#include "desktop/wine_association.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFileInfo>

namespace orvanex::desktop {

struct HostBackupFolder::Batch {
    SettingsBatch settings{QString::fromLatin1(kMainAppName)};
};

HostBackupFolder::HostBackupFolder(const QString& appFolder)
    : m_folder(backupFolderPath(appFolder)) {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<backup::FolderLock>(m_folder);
    // The counter and the records reach the settings file together, while the lock is held.
    if (m_lock->isLocked())
        m_batch = std::make_unique<Batch>();
}

HostBackupFolder::~HostBackupFolder() = default;

bool HostBackupFolder::isLocked() const {
    return m_lock->isLocked();
}

QString hostBackupPath(const QString& backupFolder, int number) {
    return backupFolder + u'/' + backup::backupName(number) + QStringLiteral(".dsk");
}

QString recordExtensions(const QStringList& exts) {
    QStringList names;
    for (const QString& e : exts)
        names.append(e.mid(1).toUpper());
    return names.join(u' ');
}

int HostBackupFolder::claimNumber() {
    const auto onDisk = [&](int n) {
        return QFileInfo::exists(backup::backupFilePath(m_folder, n)) ||
               QFileInfo::exists(hostBackupPath(m_folder, n));
    };
    const int next = backup::nextNumber();
    int n = backup::FindBackupNumber(next, onDisk);
    if (n < next)
        return n;
    for (n = next; backup::backupNumberTaken(m_folder, n) || onDisk(n);)
        ++n;
    backup::saveNextNumber(n + 1);
    return n;
}

bool HostBackupFolder::backUpRecords(reg::Registry& registry, const QStringList& exts,
                                     QString* name, QString* error) {
    const QByteArray text = associationsBackup(registry, exts, error);
    if (text.isEmpty())
        return false;
    const int n = claimNumber();
    const QString path = backup::backupFilePath(m_folder, n);
    if (!backup::writeNewFile(path, text)) {
        *error = QStringLiteral("Cannot Write ") + path;
        return false;
    }
    backup::BackupRecord record;
    record.Name = backup::backupName(n);
    record.File = QDir::toNativeSeparators(path);
    record.Type = backup::kChangeType;
    record.FileType = kWineRecordsType;
    record.FileExt = recordExtensions(exts);
    record.DateTime = backup::backupDateTime();
    record.Registry = registry.hivePath();
    if (!backup::writeBackupRecord(record)) {
        *error = QStringLiteral("The Backup Record Could Not Be Saved In The Settings");
        return false;
    }
    *name = record.Name;
    return true;
}

} // namespace orvanex::desktop
