#include "backup/backup_list.h"
#include "backup/backup_records.h"

namespace orvanex::backup {

QList<BackupRow> loadBackupRows() {
    QList<BackupRow> rows;
    for (const BackupRecord& record : listBackupRecords()) {
        BackupRow row;
        row.file = record.File.right(11);
        row.type = record.Type;
        row.dateTime = record.DateTime;
        row.fileType = record.FileType;
        row.fileExt = record.FileExt;
        row.number = QString::number(rows.size() + 1);
        rows.append(row);
    }
    return rows;
}

} // namespace orvanex::backup
