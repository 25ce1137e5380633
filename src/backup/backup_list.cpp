#include "backup/backup_list.h"
#include "app/settings_store.h"
#include "backup/backup_merge.h"

namespace orvanex::backup {

QStringList backupNumbers() {
    const QString next = GetSetting(QLatin1String(kMainAppName), QStringLiteral("NextNumber"),
                                    QStringLiteral("NextNumber"), QStringLiteral("1000"))
                             .trimmed();
    QStringList numbers;
    // Text comparison, as the records' numbers all have four digits.
    for (int n = 1000; n < 1000 + 9000 && QString::number(n) < next; ++n)
        numbers << QString::number(n);
    return numbers;
}

QList<BackupRow> loadBackupRows() {
    const QString app = QLatin1String(kMainAppName);
    QList<BackupRow> rows;
    for (const QString& number : backupNumbers()) {
        const QString section = backupRecordSection(QStringLiteral("Reg") + number);
        const QString file = GetSetting(app, section, QStringLiteral("File"), QStringLiteral("99"));
        if (file == QLatin1String("99"))
            continue;
        BackupRow row;
        row.file = file.right(11);
        row.type = GetSetting(app, section, QStringLiteral("Type"));
        row.dateTime = GetSetting(app, section, QStringLiteral("DateTime"));
        row.fileType = GetSetting(app, section, QStringLiteral("FileType"));
        row.fileExt = GetSetting(app, section, QStringLiteral("FileExt"));
        row.number = QString::number(rows.size() + 1);
        rows.append(row);
    }
    return rows;
}

} // namespace orvanex::backup
