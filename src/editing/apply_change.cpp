#include "editing/apply_change.h"

#include "model/extension_tokens.h"
#include "model/registry_access.h"
#include "model/writers.h"

namespace orvanex::editing {

namespace {

QString yesNo(bool checked) {
    return checked ? model::kYes : model::kNo;
}

const QString kContentTypeValue = QStringLiteral("Content Type");

// The new description in the tables: every extension of the type and the type's entry.
void renameType(EditContext& ctx, const QString& typeKey, const QString& description,
                ChangeOutcome* out) {
    for (model::ExtensionEntry& e : ctx.extensions)
        if (e.TypeName == typeKey)
            e.Description = e.DescriptionCopy = description;
    for (model::FileTypeEntry& t : ctx.fileTypes)
        if (t.TypeName == typeKey)
            t.Description = description;
    out->descriptionChanged = true;
}

} // namespace

bool descriptionEditable(reg::RegState& state, const QString& typeKey) {
    if (typeKey.isEmpty() || typeKey.startsWith(u'.') || typeKey == model::kAllKey ||
        typeKey.compare(model::kUnknownKey, Qt::CaseInsensitive) == 0)
        return false;
    return model::detail::keyOpens(state, typeKey);
}

QString extensionKeyOf(const QList<model::ExtensionEntry>& entries, const QString& ext) {
    for (const model::ExtensionEntry& e : entries)
        if (e.Ext == ext)
            return e.KeyName;
    return QString();
}

QString anotherTypeError(const QString& word) {
    return QStringLiteral("**Error** The File Extension Existed In Another File Type!   ") + word;
}

QString iconMissingStatus(const QString& iconText) {
    return iconText + QStringLiteral("     (Icon File Does Not Exist!)     Not Updated");
}

ChangeOutcome ApplyChange(EditContext& ctx, ChangeFields& f) {
    ChangeOutcome out;
    out.status = kPleaseWait;
    const QString newAlwaysShow = yesNo(f.alwaysShowChecked);
    const QString newQuickView = yesNo(f.quickViewChecked);
    const QString iconNumber = f.iconNumber.trimmed();
    const bool descChanged = f.descriptionEditable && f.txtDesc != f.OldDescription;
    const QString newContentType = f.txtMIME.trimmed();
    const bool mimeChanged =
        !f.ExtensionKey.isEmpty() && newContentType != f.OldContentType.trimmed();
    if (f.txtIcon == f.OldIconFile && newAlwaysShow == f.OldAlwaysShow &&
        newQuickView == f.OldQuickView && iconNumber == f.OldIconNumber && !descChanged &&
        !mimeChanged) {
        out.status = QStringLiteral("Nothing To Update!");
        out.nothingToUpdate = true;
        return out;
    }
    if (descChanged && f.txtDesc.trimmed().isEmpty()) {
        out.status = QStringLiteral("Please Enter Registered File Type!");
        out.focus = EditOutcome::Focus::Description;
        out.beep = true;
        return out;
    }
    // No change without its backup.
    QString why;
    if (!backUpFirst(ctx, f.backup, QStringLiteral("Change"), &why)) {
        out.status = QStringLiteral("Error!   ") + f.txtDesc + QStringLiteral(" Not Updated!   ") +
                     backupFailedText(why);
        out.beep = true;
        out.backupFailed = true;
        return out;
    }

    reg::RegState& st = ctx.state;
    reg::Status s = reg::status::Success;
    if (f.OldQuickView == model::kYes && newQuickView == model::kNo)
        s = model::clearQuickView(st, f.CurrentTypeKey);
    else if (f.OldQuickView == model::kNo && newQuickView == model::kYes)
        s = model::setQuickView(st, f.CurrentTypeKey);
    if (s == reg::status::Success) {
        if (f.OldAlwaysShow == model::kYes && newAlwaysShow == model::kNo)
            s = model::clearAlwaysShowExt(st, f.CurrentTypeKey);
        else if (f.OldAlwaysShow == model::kNo && newAlwaysShow == model::kYes)
            s = model::setAlwaysShowExt(st, f.CurrentTypeKey);
    }
    if (s == reg::status::Success &&
        (f.txtIcon != f.OldIconFile || iconNumber != f.OldIconNumber)) {
        s = model::setDefaultIcon(st, ctx.drives, f.CurrentTypeKey, f.txtIcon, iconNumber);
        if (s == model::kIconFileMissing) {
            out.status = iconMissingStatus(f.txtIcon);
            return out;
        }
    }
    if (s == reg::status::Success && descChanged) {
        s = reg::WriteText(st, f.CurrentTypeKey, QString(), f.txtDesc);
        if (s == reg::status::Success)
            renameType(ctx, f.CurrentTypeKey, f.txtDesc, &out);
    }
    if (s == reg::status::Success && mimeChanged) {
        s = newContentType.isEmpty()
                ? reg::DeleteValueAt(st, f.ExtensionKey, kContentTypeValue)
                : reg::WriteText(st, f.ExtensionKey, kContentTypeValue, newContentType);
        if (s == reg::status::FileNotFound && newContentType.isEmpty())
            s = reg::status::Success; // no value to delete
        if (s == reg::status::Success) {
            for (model::ExtensionEntry& e : ctx.extensions)
                if (e.KeyName.compare(f.ExtensionKey, Qt::CaseInsensitive) == 0)
                    e.ContentType = newContentType.isEmpty() ? QStringLiteral(" ") : newContentType;
            out.contentTypeChanged = true;
        }
    }
    if (s != reg::status::Success) {
        reg::RegErrorText(st, s);
        out.status = QStringLiteral("Error!   ") + f.txtDesc + QStringLiteral(" Not Updated!   ") +
                     st.ErrorText;
        out.beep = true;
        return out;
    }
    if (out.descriptionChanged)
        f.OldDescription = f.txtDesc;
    if (out.contentTypeChanged)
        f.OldContentType = newContentType.isEmpty() ? QStringLiteral(" ") : newContentType;
    backup::SlotValues slot = f.slot;
    slot.FileType = f.txtDesc;
    slot.Handle = f.CurrentTypeKey;
    slot.IconFile = f.txtIcon;
    slot.IconNumber = iconNumber;
    slot.ShowExtension = newAlwaysShow;
    slot.QuickView = newQuickView;
    out.slot = ctx.slots.SaveEntrySlot(slot);
    f.OldQuickView = newQuickView;
    f.OldAlwaysShow = newAlwaysShow;
    f.OldIconNumber = iconNumber;
    f.OldIconFile = f.txtIcon;
    out.updated = true;
    out.status = f.txtDesc + QStringLiteral(" Updated!   Backup=") + ctx.backup.BackupName;
    return out;
}

NewTypeOutcome ApplyNewType(EditContext& ctx, const NewTypeFields& f) {
    NewTypeOutcome out;
    out.status = kPleaseWait;
    if (f.txtDesc.isEmpty()) {
        out.status = QStringLiteral("Please Enter Registered File Type!");
        out.focus = EditOutcome::Focus::Description;
        return out;
    }
    const QStringList words = typedExtensions(f.txtRel);
    if (words.isEmpty()) {
        out.status = QStringLiteral("Please Enter File Extension(s)!");
        out.focus = EditOutcome::Focus::Extensions;
        return out;
    }
    const QString taken = wordOfAnotherType(ctx.extensions, words);
    if (!taken.isEmpty()) {
        out.status = anotherTypeError(taken);
        out.focus = EditOutcome::Focus::Extensions;
        out.beep = true;
        return out;
    }
    out.NewTypeKey = words.join(QString()) + QStringLiteral("FileExt");
    const QString repeated = repeatedWord(words);
    if (!repeated.isEmpty()) {
        out.status = QStringLiteral("**Error** Duplicate File Extension! ") + repeated;
        out.focus = EditOutcome::Focus::Extensions;
        out.beep = true;
        return out;
    }

    reg::RegState& st = ctx.state;
    const auto failed = [&](reg::Status s) {
        reg::RegErrorText(st, s);
        out.status = QStringLiteral("Error!   ") + f.txtDesc + QStringLiteral(" Not Added!   ") +
                     (s == kBackupFailed ? backupFailedText(ctx.backup.Failure) : st.ErrorText);
        out.beep = true;
        return out;
    };
    for (const QString& word : words) {
        QString backupName;
        qsizetype row = -1;
        const reg::Status s =
            claimExtension(ctx, word, out.NewTypeKey, f.txtDesc, &backupName, &row);
        if (!backupName.isEmpty())
            out.backups.append(backupName);
        if (s != reg::status::Success)
            return failed(s);
        out.extensionRows.append(row);
    }
    QStringList upper;
    for (const QString& w : words)
        upper.append(w.toUpper());
    out.joinedExtensions = model::SortJoinWords(upper);
    ctx.fileTypes.append(model::FileTypeEntry{out.NewTypeKey, f.txtDesc, out.joinedExtensions});
    out.typeAppended = true;

    reg::Status s = reg::WriteText(st, out.NewTypeKey, QString(), f.txtDesc);
    if (s == reg::status::Success && f.alwaysShowChecked)
        s = model::setAlwaysShowExt(st, out.NewTypeKey);
    if (s == reg::status::Success && f.quickViewChecked)
        s = model::setQuickView(st, out.NewTypeKey);
    if (s == reg::status::Success && !f.txtIcon.isEmpty()) {
        s = model::setDefaultIcon(st, ctx.drives, out.NewTypeKey, f.txtIcon,
                                  f.iconNumber.trimmed());
        if (s == model::kIconFileMissing) {
            out.status = iconMissingStatus(f.txtIcon);
            out.finished = true;
            return out;
        }
    }
    if (s != reg::status::Success)
        return failed(s);
    out.status = f.txtDesc + QStringLiteral(" Added!");
    out.added = out.finished = true;
    return out;
}

} // namespace orvanex::editing
