#include "backup/backup_undo.h"

#include "backup/backup_routine.h"
#include "registry/reg_file.h"

#include <QSet>

namespace orvanex::backup {

namespace {

// The lines of the file's top keys (one level below their root), as the file spells them.
QList<QByteArray> topKeyLines(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    QList<QByteArray> tops;
    QSet<QString> seen;
    for (const reg::RegFileOp& op : reg::parseRegFile(bytes).ops) {
        if (op.kind != reg::RegFileOp::CreateKey || op.line < 1 || op.line > lines.size())
            continue;
        reg::HKey root = 0;
        QString rootName, subPath;
        if (!reg::splitRegKeyName(op.key, &root, &rootName, &subPath) || subPath.isEmpty() ||
            subPath.contains(u'\\'))
            continue;
        if (seen.contains(op.key.toLower()))
            continue;
        seen.insert(op.key.toLower());
        QByteArray line = lines[op.line - 1];
        if (line.endsWith('\r'))
            line.chop(1);
        tops.append(line.trimmed());
    }
    return tops;
}

} // namespace

UndoPlan planUndo(reg::Registry& registry, const QString& appFolder) {
    UndoPlan plan;
    const QString registryName = registry.hivePath();
    const QList<BackupRecord> records = listBackupRecords();
    for (auto it = records.crbegin(); it != records.crend(); ++it)
        if ((it->Type == kChangeType || it->Type == kDeleteType) && it->Registry == registryName) {
            plan.record = *it;
            plan.found = true;
            break;
        }
    if (!plan.found) {
        plan.message = QStringLiteral("Nothing To Undo!");
        return plan;
    }
    plan.path = backupRecordPath(plan.record.Name, appFolder);
    QByteArray backup;
    const QString error = reg::readRegFile(plan.path, &backup);
    if (!error.isEmpty()) {
        plan.found = false;
        plan.message = plan.record.Name + QStringLiteral(": ") + error;
        return plan;
    }
    const qsizetype headerEnd = backup.indexOf('\n');
    if (!backup.startsWith("REGEDIT4") || headerEnd < 0) {
        plan.found = false;
        plan.message = plan.path + QStringLiteral(": not a backup file; nothing was merged");
        return plan;
    }
    plan.bytes = "REGEDIT4\r\n";
    for (const QByteArray& line : topKeyLines(backup))
        plan.bytes += "\r\n[-" + line.mid(1) + "\r\n";
    plan.bytes += backup.mid(headerEnd + 1);
    plan.preview = previewRegBytes(registry, plan.bytes, plan.path);
    return plan;
}

UndoOutcome runUndo(reg::Registry& registry, const QList<model::ExtensionEntry>& entries,
                    const QString& appFolder, const UndoPlan& plan) {
    UndoOutcome out;
    if (!plan.found) {
        out.message = plan.message;
        return out;
    }
    // An undo is a change like any other: what it replaces is backed up first. Keys that are
    // gone (the undo of a delete) leave nothing to back up.
    BackupState state;
    state.QuietBackup = 1;
    const BackupRequest request{BackupRequest::Mode::FileType, plan.record.FileExt,
                                plan.record.FileType};
    BackupRoutine(registry, entries, appFolder).run(request, state, kUndoType);
    if (state.BackupResult == QLatin1String("OK")) {
        out.backupName = state.BackupName;
    } else if (state.Failure != typeLookupError(plan.record.FileExt)) {
        out.message = QStringLiteral("Error!   ") + plan.record.Name +
                      QStringLiteral(" Not Undone!   Backup Failed!    ") +
                      (state.Failure.isEmpty() ? state.BackupName : state.Failure);
        return out;
    }
    out.merge = mergeRegBytes(registry, plan.bytes, plan.path);
    if (!out.merge.wrote) {
        out.message = out.merge.message;
        return out;
    }
    // Marked only when everything it read was written, as a merge is.
    if (!out.merge.complete) {
        out.message = out.merge.message;
        return out;
    }
    if (!setBackupType(plan.record.Name, kUndoneType)) {
        out.message = plan.record.Name +
                      QStringLiteral(" was merged back, but its record could not be marked");
        return out;
    }
    out.undone = true;
    out.message =
        QStringLiteral("Undone: ") + plan.record.Name + QStringLiteral(" (") +
        plan.record.FileType + QStringLiteral(")   ") + out.merge.message +
        (out.backupName.isEmpty() ? QString() : QStringLiteral("   Backup=") + out.backupName);
    return out;
}

} // namespace orvanex::backup
