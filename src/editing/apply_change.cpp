#include "editing/apply_change.h"

#include "model/extension_tokens.h"
#include "model/writers.h"

namespace orvanex::editing {

namespace {

QString yesNo(bool checked) {
    return checked ? model::kYes : model::kNo;
}

} // namespace

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
    if (f.txtIcon == f.OldIconFile && newAlwaysShow == f.OldAlwaysShow &&
        newQuickView == f.OldQuickView && iconNumber == f.OldIconNumber) {
        out.status = QStringLiteral("Nothing To Update!");
        out.nothingToUpdate = true;
        return out;
    }
    // A failed backup does not stop the change; its name then shows as "XXXX".
    quietBackup(ctx, f.backup, QStringLiteral("Change"));

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
    if (s != reg::status::Success) {
        reg::RegErrorText(st, s);
        out.status = QStringLiteral("Error!   ") + f.txtDesc + QStringLiteral(" Not Updated!   ") +
                     st.ErrorText;
        out.beep = true;
        return out;
    }
    backup::SlotValues slot = f.slot;
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
                     st.ErrorText;
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
