#pragma once
// The settings side of backups: the counter "NextNumber", one record per backup file (section
// "Backup\" + name) and the choice of the next backup number.

#include <QList>
#include <QString>
#include <functional>

namespace orvanex::backup {

inline constexpr int kFirstBackupNumber = 1000;
inline const QString kMissingRecord = QStringLiteral("99"); // the "File" default of no record

// The record of one backup file; Name is "Reg" + number.
struct BackupRecord {
    QString Name;
    QString File;
    QString Type = QStringLiteral("Backup"); // "Backup", "Change" or "Delete"
    QString FileType;
    QString FileExt;
    QString DateTime;
    QString Merge = QStringLiteral("no");
    QString Registry; // the hive file (or prefix file) whose keys it holds; "" for none known
};

QString backupName(int number);             // "Reg1000"
QString backupSection(const QString& name); // "Backup\Reg1000"
// The backup file of a number in the backup folder: folder + "/Reg1000.reg".
QString backupFilePath(const QString& backupFolder, int number);

// "NextNumber" as stored (default "1000").
QString nextNumberText();
bool saveNextNumber(int number);

// The six keys in their order and the registry's, in one settings write.
bool writeBackupRecord(const BackupRecord& record);
// The record of name, when its "File" key exists.
bool readBackupRecord(const QString& name, BackupRecord* record);
bool setBackupType(const QString& name, const QString& type);
// Types of the records a change or a delete wrote, which undo takes back, and of an undone one.
inline const QString kChangeType = QStringLiteral("Change");
inline const QString kDeleteType = QStringLiteral("Delete");
inline const QString kUndoneType = QStringLiteral("Undone");
inline const QString kUndoType = QStringLiteral("Undo"); // the backup an undo takes first
// Every record from 1000 up to the counter, in number order.
QList<BackupRecord> listBackupRecords();

// The date and time text of a record: the system's short date and long time.
QString backupDateTime();

// The counter as a number (1000 when missing or not a number).
int nextNumber();
// The lowest number from 1000 below next whose record is absent and that taken() does not claim;
// else next (the search gives up after 9000 numbers).
int FindBackupNumber(int next, const std::function<bool(int)>& taken = {});
// A number is taken when its record or its file exists.
bool backupNumberTaken(const QString& backupFolder, int number);
// The number the next backup into backupFolder will take (for the delete confirmations).
int peekBackupNumber(const QString& backupFolder);

} // namespace orvanex::backup
