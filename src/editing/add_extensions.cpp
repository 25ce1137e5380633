#include "editing/add_extensions.h"

#include "model/extension_tokens.h"
#include "model/registry_access.h"

namespace orvanex::editing {

OpenPanelOutcome OpenAddExtensions(EditContext& ctx, SelectBy selectBy, const QString& txtDesc,
                                   const QString& txtRel) {
    OpenPanelOutcome out;
    if (selectBy != SelectBy::FileType) {
        out.ignored = true;
        return out;
    }
    const auto refuse = [&]() {
        out.status = kCannotAddExtension;
        out.beep = true;
        return out;
    };
    // Placeholders for extensions without a real type key cannot take extensions.
    if (txtDesc.right(6) == QLatin1String("__File"))
        return refuse();
    const QString last = model::SplitLastWord(txtRel.trimmed()).word;
    const model::ExtensionEntry* entry = nullptr;
    for (const model::ExtensionEntry& e : ctx.extensions)
        if (e.Ext.toUpper() == last) {
            entry = &e;
            break;
        }
    if (!entry || !model::detail::keyOpens(ctx.state, entry->TypeName))
        return refuse();
    out.TargetTypeKey = entry->TypeName;
    out.opened = true;
    out.status = QStringLiteral("Please Enter The New File Extension(s)");
    out.focus = EditOutcome::Focus::NewExtensions;
    return out;
}

AddExtensionsOutcome AddExtensions(EditContext& ctx, const QString& targetTypeKey,
                                   const QString& txtDesc, const QString& txtRel,
                                   const QString& txtNewExtTypes) {
    AddExtensionsOutcome out;
    out.focus = EditOutcome::Focus::NewExtensions;
    const QStringList words = typedExtensions(txtNewExtTypes);
    if (words.isEmpty()) {
        out.status = QStringLiteral("Please Enter New File Extension(s)!");
        out.beep = true;
        return out;
    }
    const QString taken = wordOfAnotherType(ctx.extensions, words);
    if (!taken.isEmpty()) {
        out.status = anotherTypeError(taken);
        out.beep = true;
        return out;
    }
    const QString repeated = repeatedWord(words);
    if (!repeated.isEmpty()) {
        out.status = QStringLiteral("**Error** Duplicate File Extension Entered!   ") + repeated;
        out.beep = true;
        return out;
    }
    for (const QString& word : words) {
        QString backupName;
        qsizetype row = -1;
        const reg::Status s = claimExtension(ctx, word, targetTypeKey, txtDesc, &backupName, &row);
        if (!backupName.isEmpty())
            out.backups.append(backupName);
        if (s != reg::status::Success) {
            reg::RegErrorText(ctx.state, s);
            out.status =
                QStringLiteral("** Error **   .") + word.toLower() +
                QStringLiteral(" Not Added!   ") +
                (s == kBackupFailed ? backupFailedText(ctx.backup.Failure) : ctx.state.ErrorText);
            out.beep = true;
            return out;
        }
        out.extensionRows.append(row);
    }
    QStringList all = model::ExtensionTokens(txtRel.trimmed().toUpper());
    for (const QString& w : words)
        all.append(w.toUpper());
    out.extensions = model::SortJoinWords(all);
    for (qsizetype i = 0; i < ctx.fileTypes.size(); ++i)
        if (ctx.fileTypes[i].TypeName == targetTypeKey) {
            ctx.fileTypes[i].Extensions = out.extensions;
            out.typeRow = i;
            break;
        }
    out.added = true;
    out.focus = EditOutcome::Focus::None;
    out.status = QStringLiteral("File Extension(s) Added!   ") + txtNewExtTypes;
    if (!out.backups.isEmpty())
        out.status += QStringLiteral("    Backup=") + out.backups.join(u' ');
    return out;
}

} // namespace orvanex::editing
