#pragma once
// The rows of the backup files window: every recorded backup, in ascending number.

#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::backup {

inline const QString kEmptyRowKey = QStringLiteral("9999999999"); // sorts emptied rows last
inline constexpr int kBackupColumns = 6;

struct BackupRow {
    QString file; // the last 11 characters of the record's "File": Reg1000.reg
    QString type; // "Backup", "Change", "Delete", "Merged"
    QString dateTime;
    QString fileType;
    QString fileExt;
    QString number; // running number from 1; kEmptyRowKey in an emptied row
    QStringList cells() const { return {file, type, dateTime, fileType, fileExt, number}; }
    // The record's name: the first 7 characters of the file name.
    QString recordName() const { return file.left(7); }
};

// The recorded backups, from 1000 up to below "NextNumber"; missing numbers skipped.
QList<BackupRow> loadBackupRows();

} // namespace orvanex::backup
