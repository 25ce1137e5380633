#include "backup/backup_records.h"

#include "settings/settings_store.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace orvanex::backup {

namespace {

QString app() {
    return QString::fromLatin1(kMainAppName);
}

const QString kCounter = QStringLiteral("NextNumber");
const QString kFile = QStringLiteral("File");

bool recordExists(const QString& name) {
    return GetSetting(app(), backupSection(name), kFile, kMissingRecord) != kMissingRecord;
}

} // namespace

QString backupName(int number) {
    return QStringLiteral("Reg") + QString::number(number);
}

QString backupSection(const QString& name) {
    return QStringLiteral("Backup\\") + name;
}

QString backupFilePath(const QString& backupFolder, int number) {
    return backupFolder + u'/' + backupName(number) + QStringLiteral(".reg");
}

QString nextNumberText() {
    return GetSetting(app(), kCounter, kCounter, QString::number(kFirstBackupNumber));
}

bool saveNextNumber(int number) {
    return SaveSetting(app(), kCounter, kCounter, QString::number(number));
}

bool writeBackupRecord(const BackupRecord& record) {
    SettingsBatch batch(app());
    const QString section = backupSection(record.Name);
    bool ok = SaveSetting(app(), section, kFile, record.File);
    ok = SaveSetting(app(), section, QStringLiteral("Type"), record.Type) && ok;
    ok = SaveSetting(app(), section, QStringLiteral("FileType"), record.FileType) && ok;
    ok = SaveSetting(app(), section, QStringLiteral("FileExt"), record.FileExt) && ok;
    ok = SaveSetting(app(), section, QStringLiteral("DateTime"), record.DateTime) && ok;
    ok = SaveSetting(app(), section, QStringLiteral("Merge"), record.Merge) && ok;
    return SaveSetting(app(), section, QStringLiteral("Registry"), record.Registry) && ok;
}

bool readBackupRecord(const QString& name, BackupRecord* record) {
    const QString section = backupSection(name);
    const QString file = GetSetting(app(), section, kFile, kMissingRecord);
    if (file == kMissingRecord)
        return false;
    record->Name = name;
    record->File = file;
    record->Type = GetSetting(app(), section, QStringLiteral("Type"));
    record->FileType = GetSetting(app(), section, QStringLiteral("FileType"));
    record->FileExt = GetSetting(app(), section, QStringLiteral("FileExt"));
    record->DateTime = GetSetting(app(), section, QStringLiteral("DateTime"));
    record->Merge = GetSetting(app(), section, QStringLiteral("Merge"));
    record->Registry = GetSetting(app(), section, QStringLiteral("Registry"));
    return true;
}

bool setBackupType(const QString& name, const QString& type) {
    return SaveSetting(app(), backupSection(name), QStringLiteral("Type"), type);
}

QList<BackupRecord> listBackupRecords() {
    QList<BackupRecord> records;
    const int next = nextNumber();
    for (int n = kFirstBackupNumber; n < next; ++n) {
        BackupRecord record;
        if (readBackupRecord(backupName(n), &record))
            records.append(record);
    }
    return records;
}

QString backupDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(now.time(), QLocale::LongFormat);
}

int nextNumber() {
    bool ok = false;
    const int next = nextNumberText().trimmed().toInt(&ok);
    return ok && next >= kFirstBackupNumber ? next : kFirstBackupNumber;
}

int FindBackupNumber(int next, const std::function<bool(int)>& taken) {
    int candidate = kFirstBackupNumber;
    for (int count = 1;; ++count) {
        if (candidate >= next || count > 9000)
            return candidate;
        if (!recordExists(backupName(candidate)) && !(taken && taken(candidate)))
            return candidate;
        ++candidate;
    }
}

bool backupNumberTaken(const QString& backupFolder, int number) {
    return recordExists(backupName(number)) ||
           QFileInfo::exists(backupFilePath(backupFolder, number));
}

int peekBackupNumber(const QString& backupFolder) {
    const auto onDisk = [&](int n) { return QFileInfo::exists(backupFilePath(backupFolder, n)); };
    const int next = nextNumber();
    int n = FindBackupNumber(next, onDisk);
    if (n < next)
        return n;
    for (n = next; backupNumberTaken(backupFolder, n);)
        ++n;
    return n;
}

} // namespace orvanex::backup
