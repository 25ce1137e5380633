#include "editing/edit_context.h"

#include "model/extension_tokens.h"
#include "model/writers.h"

#include <QHash>
#include <QSet>

namespace orvanex::editing {

QString quietBackup(EditContext& ctx, const backup::BackupRequest& request, const QString& type) {
    ctx.backup.QuietBackup = 1;
    const QString status = backup::BackupRoutine(*ctx.state.registry, ctx.extensions, ctx.appFolder)
                               .run(request, ctx.backup, type);
    ctx.backup.QuietBackup = 0;
    return status;
}

bool backUpFirst(EditContext& ctx, const backup::BackupRequest& request, const QString& type,
                 QString* why) {
    const QString status = quietBackup(ctx, request, type);
    if (ctx.backup.BackupResult == QLatin1String("OK"))
        return true;
    if (!status.trimmed().isEmpty())
        *why = status.trimmed();
    else if (!ctx.backup.Failure.isEmpty())
        *why = ctx.backup.Failure;
    else
        *why = ctx.backup.BackupName;
    return false;
}

QString backupFailedText(const QString& why) {
    return QStringLiteral("Backup Failed!    ") + why;
}

QStringList typedExtensions(const QString& text) {
    QStringList words;
    for (const QString& token : model::ExtensionTokens(text)) {
        const QString word = model::ExtensionWord(token);
        if (!word.isEmpty())
            words.append(word);
    }
    return words;
}

bool namesFileType(const model::ExtensionEntry& entry) {
    return !entry.TypeName.isEmpty() && entry.TypeName != entry.KeyName;
}

QString wordOfAnotherType(const QList<model::ExtensionEntry>& entries, const QStringList& words) {
    QSet<QString> typed;
    for (const QString& w : words)
        typed.insert(w.toUpper());
    QSet<QString> taken;
    for (const model::ExtensionEntry& e : entries)
        if (namesFileType(e) && typed.contains(e.Ext))
            taken.insert(e.Ext);
    for (const QString& w : words)
        if (taken.contains(w.toUpper()))
            return w;
    return QString();
}

QString repeatedWord(const QStringList& words) {
    QHash<QString, int> seen;
    for (const QString& w : words)
        ++seen[w.toUpper()];
    for (const QString& w : words)
        if (seen.value(w.toUpper()) > 1)
            return w;
    return QString();
}

reg::Status claimExtension(EditContext& ctx, const QString& word, const QString& typeName,
                           const QString& description, QString* backupName, qsizetype* index) {
    const QString ext = word.toUpper();
    const QString keyName = u'.' + word.toLower();
    *index = -1;
    for (qsizetype i = 0; i < ctx.extensions.size(); ++i)
        if (ctx.extensions[i].Ext == ext &&
            ctx.extensions[i].KeyName.compare(keyName, Qt::CaseInsensitive) == 0) {
            *index = i;
            break;
        }
    if (*index >= 0) {
        // The key exists and names no file type: changing it is a change like any other.
        QString why;
        if (!backUpFirst(
                ctx,
                {backup::BackupRequest::Mode::Extension, ext, ctx.extensions[*index].Description},
                QStringLiteral("Change"), &why)) {
            ctx.backup.Failure = why;
            return kBackupFailed;
        }
        *backupName = ctx.backup.BackupName;
    }
    const reg::Status s = model::setExtension(ctx.state, keyName, typeName);
    if (s != reg::status::Success)
        return s;
    model::ExtensionEntry entry;
    entry.Ext = ext;
    entry.KeyName = *index >= 0 ? ctx.extensions[*index].KeyName : keyName;
    entry.TypeName = entry.TypeNameCopy = typeName;
    entry.Description = entry.DescriptionCopy = description;
    entry.ContentType = *index >= 0 ? ctx.extensions[*index].ContentType : QStringLiteral(" ");
    if (*index >= 0) {
        ctx.extensions[*index] = entry;
    } else {
        ctx.extensions.append(entry);
        *index = ctx.extensions.size() - 1;
    }
    return s;
}

} // namespace orvanex::editing
