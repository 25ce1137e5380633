#include "editing/delete_entry.h"

#include "backup/backup_records.h"
#include "model/extension_tokens.h"
#include "model/writers.h"
#include "settings/app_folder.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace orvanex::editing {

namespace {

const QString kDeleteType = QStringLiteral("Delete");

// A key that is gone already is what the deletion wants; anything else is a failure.
reg::Status deleteKeyIfPresent(reg::RegState& st, const QString& key) {
    const reg::Status s = model::deleteKey(st, key);
    return s == reg::status::FileNotFound ? reg::status::Success : s;
}

void fail(reg::RegState& st, DeleteOutcome& out, reg::Status s, const QString& what,
          const QString& key) {
    reg::RegErrorText(st, s);
    out.status = QStringLiteral("Error!   ") + out.DeletedName + what + key +
                 QStringLiteral("    ") + st.ErrorText;
    out.beep = true;
}

const QString kNotDeleted = QStringLiteral(" Not Deleted!   ");

// A deletion cannot be undone without its backup: when the backup fails, nothing is deleted.
bool backedUp(EditContext& ctx, const backup::BackupRequest& request, DeleteOutcome& out,
              const QString& what) {
    QString why;
    if (backUpFirst(ctx, request, kDeleteType, &why))
        return true;
    out.status = QStringLiteral("Error!   ") + out.DeletedName + what + backupFailedText(why);
    out.beep = true;
    return false;
}

// Removes the rows whose flag is set, in one pass.
void removeMarked(QList<model::ExtensionEntry>& entries, const QList<bool>& gone) {
    qsizetype to = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!gone[i])
            entries[to++] = std::move(entries[i]);
    entries.resize(to);
}

// The file-type entry of a key, or -1.
qsizetype typeIndex(const QList<model::FileTypeEntry>& types, const QString& typeKey) {
    for (qsizetype i = 0; i < types.size(); ++i)
        if (types[i].TypeName == typeKey)
            return i;
    return -1;
}

} // namespace

QString deleteRequestStatus(const QString& appFolder) {
    const int n = backup::peekBackupNumber(backupFolderPath(appFolder));
    return QStringLiteral("                                                Delete Request!        "
                          "                                          Registry Backup File: ") +
           QDir::toNativeSeparators(backup::backupFilePath(backupFolderPath(appFolder), n));
}

QString withoutExtension(const QString& extensions, const QString& ext) {
    QStringList words = extensions.split(u' ', Qt::SkipEmptyParts);
    words.removeAll(ext);
    return words.join(u' ');
}

DeleteOutcome DeleteEntry(EditContext& ctx, const DeleteFields& f) {
    DeleteOutcome out;
    out.status = kPleaseWait;
    reg::RegState& st = ctx.state;
    out.DeletedName = f.byType ? f.txtDesc : f.txtExt;
    if (!backedUp(ctx, f.backup, out, kNotDeleted))
        return out;
    const qsizetype type = typeIndex(ctx.fileTypes, f.CurrentTypeKey);
    if (type >= 0) {
        out.typeDescription = ctx.fileTypes[type].Description;
        out.typeExtensions = ctx.fileTypes[type].Extensions;
    }

    QStringList words;
    if (f.byType) {
        for (const QString& token : model::ExtensionTokens(f.txtRel))
            if (!token.isEmpty())
                words.append(token);
    } else {
        words.append(f.txtExt);
    }
    // The table's first entry of each word, found in one pass over the table.
    const QSet<QString> wanted(words.cbegin(), words.cend());
    QHash<QString, qsizetype> firstOf;
    for (qsizetype i = 0; i < ctx.extensions.size(); ++i)
        if (wanted.contains(ctx.extensions[i].Ext) && !firstOf.contains(ctx.extensions[i].Ext))
            firstOf.insert(ctx.extensions[i].Ext, i);
    QList<bool> gone(ctx.extensions.size(), false);
    const bool typeGoes = f.byType || f.txtRel.isEmpty();

    reg::WriteBatch batch(*st.registry);
    reg::Status s = reg::status::Success;
    QString failedKey;
    for (const QString& word : words) {
        const auto it = firstOf.constFind(word);
        if (it == firstOf.constEnd() || gone[*it])
            continue; // not in the registry's table: no key to delete
        const QString key = ctx.extensions[*it].KeyName;
        s = deleteKeyIfPresent(st, key);
        if (s != reg::status::Success) {
            failedKey = key;
            break;
        }
        gone[*it] = true;
        out.removedExtensions.append(word);
    }
    // An empty key path would name HKEY_CLASSES_ROOT itself.
    if (s == reg::status::Success && typeGoes && !f.CurrentTypeKey.isEmpty()) {
        s = deleteKeyIfPresent(st, f.CurrentTypeKey);
        if (s != reg::status::Success)
            failedKey = f.CurrentTypeKey;
    }
    if (const reg::Status committed = batch.finish(); committed != reg::status::Success) {
        // Nothing of the batch stays: the tables keep every entry.
        fail(st, out, committed, kNotDeleted, f.CurrentTypeKey);
        out.removedExtensions.clear();
        return out;
    }

    removeMarked(ctx.extensions, gone);
    if (type >= 0) {
        QString remaining = ctx.fileTypes[type].Extensions;
        for (const QString& ext : out.removedExtensions)
            remaining = withoutExtension(remaining, ext);
        // The type's row goes with its key, or when it has no extension left.
        out.typeRemoved = (s == reg::status::Success && typeGoes) || remaining.isEmpty();
        out.remainingExtensions = remaining;
        if (out.typeRemoved)
            ctx.fileTypes.remove(type);
        else
            ctx.fileTypes[type].Extensions = remaining;
    }
    if (s != reg::status::Success) {
        fail(st, out, s, kNotDeleted, failedKey);
        return out;
    }
    out.deleted = true;
    out.status = out.DeletedName + QStringLiteral(" Deleted!     Backup=") + ctx.backup.BackupName;
    return out;
}

DeleteOutcome DeleteAction(EditContext& ctx, const DeleteActionFields& f) {
    DeleteOutcome out;
    out.status = kPleaseWait;
    out.DeletedName = f.DisplayName;
    reg::RegState& st = ctx.state;
    const QString verbKey = f.CurrentTypeKey + QStringLiteral("\\Shell\\") + f.Verb;
    // Without a verb the writers would work on the Shell key itself.
    if (f.Verb.isEmpty() || f.CurrentTypeKey.isEmpty()) {
        fail(st, out, reg::status::BadKey, QStringLiteral(" Not Updated!   "), verbKey);
        return out;
    }
    if (!backedUp(ctx, f.backup, out, QStringLiteral(" Not Updated!   ")))
        return out;
    reg::WriteBatch batch(*st.registry);
    // An action without DDE has no ddeexec key to delete.
    reg::Status s = model::deleteDde(st, f.CurrentTypeKey, f.Verb);
    if (s == reg::status::FileNotFound)
        s = reg::status::Success;
    if (s == reg::status::Success)
        s = model::deleteAction(st, f.CurrentTypeKey, f.Verb);
    const QString failedKey = st.KeyPath;
    if (const reg::Status committed = batch.finish();
        s == reg::status::Success && committed != reg::status::Success)
        s = committed;
    if (s != reg::status::Success) {
        fail(st, out, s, QStringLiteral(" Not Updated!   "),
             failedKey.isEmpty() ? verbKey : failedKey);
        return out;
    }
    out.deleted = true;
    out.status = f.DisplayName + QStringLiteral(" Deleted!    Backup=") + ctx.backup.BackupName;
    return out;
}

void removeDeletedRows(model::IndexGridModel& extensions, model::IndexGridModel& fileTypes,
                       const DeleteOutcome& out) {
    const QSet<QString> gone(out.removedExtensions.cbegin(), out.removedExtensions.cend());
    if (!gone.isEmpty()) {
        // One pass and one reset: row by row, a large list would move its rows once per
        // extension. The grid shows its top afterwards, as after any deletion.
        QList<model::IndexRow> kept;
        kept.reserve(extensions.recordCount());
        for (const model::IndexRow& r : extensions.records())
            if (!gone.contains(r.name))
                kept.append(r);
        extensions.setRecords(std::move(kept));
    }
    if (out.typeDescription.isEmpty())
        return;
    const int row = fileTypes.findRecord([&](const model::IndexRow& r) {
        return r.name == out.typeDescription && r.related == out.typeExtensions;
    });
    if (row < 0)
        return;
    if (out.typeRemoved)
        fileTypes.removeRecord(row);
    else
        fileTypes.setCell(row, 3, out.remainingExtensions);
}

} // namespace orvanex::editing
