#include "editing/action_edit.h"

#include "model/readers.h"
#include "model/registry_access.h"
#include "model/writers.h"

namespace orvanex::editing {

namespace {

QString yesNo(bool checked) {
    return checked ? model::kYes : model::kNo;
}

// A remembered flag that was never read counts as "no".
QString flagOrNo(const QString& flag) {
    return flag.isEmpty() ? model::kNo : flag;
}

bool ddeTextsEqual(const ActionFields& f) {
    const model::ActionEntry& r = f.Remembered;
    return f.txtDDEMsg == r.DdeMessage && f.txtDDEAppl == r.DdeApplication &&
           f.txtDDENot == r.DdeNotRunning && f.txtDDETopic == r.DdeTopic;
}

} // namespace

ActionOutcome ApplyAction(EditContext& ctx, const ActionFields& f) {
    ActionOutcome out;
    out.status = kPleaseWait;
    out.txtDDEMsg = f.txtDDEMsg;
    QString cell = f.cellText;
    if (f.adding) {
        // A name of blanks only would make an empty verb, which is the Shell key itself.
        if (f.txtActionName.trimmed().isEmpty()) {
            out.status = kEnterActionName;
            out.reopen = ActionOutcome::Reopen::Name;
            return out;
        }
        // A backslash would nest keys below the verb instead of naming one.
        if (f.txtActionName.contains(u'\\')) {
            out.status = QStringLiteral("**Error** An Action Name Cannot Hold A Backslash!");
            out.reopen = ActionOutcome::Reopen::Name;
            out.beep = true;
            return out;
        }
        if (f.txtAppl.isEmpty()) {
            out.status = kEnterApplication;
            out.reopen = ActionOutcome::Reopen::Application;
            return out;
        }
        out.Verb = model::VerbFromActionName(f.txtActionName);
        if (cell.isEmpty())
            cell = f.txtActionName;
    } else {
        out.Verb = f.Remembered.Verb;
    }

    const QString newIsDefault = yesNo(f.setDefaultChecked);
    const QString oldIsDefault = flagOrNo(f.Remembered.IsDefault);
    const QString newUsesDde = yesNo(f.ddeChecked);
    const QString oldUsesDde = flagOrNo(f.Remembered.UsesDde);
    // Use DDE counts as a change of its own: checked with empty boxes, it writes "Default".
    if (f.txtActionName == f.RememberedName && f.txtAppl == f.Remembered.Command &&
        ddeTextsEqual(f) && newIsDefault == oldIsDefault && newUsesDde == oldUsesDde) {
        out.status = QStringLiteral("Nothing To Update!");
        out.nothingToUpdate = true;
        return out;
    }

    reg::RegState& st = ctx.state;
    const QString typeVerb = f.CurrentTypeKey + QStringLiteral("\\Shell\\") + out.Verb;
    // An added action whose verb key exists already overwrites that action: back it up as well.
    const bool backedUp = !f.adding || model::detail::keyOpens(st, typeVerb);
    // No change without its backup.
    if (QString why; backedUp && !backUpFirst(ctx, f.backup, QStringLiteral("Change"), &why)) {
        out.status = QStringLiteral("Error!   ") + cell + QStringLiteral(" Not Updated!   ") +
                     backupFailedText(why);
        out.beep = true;
        out.failed = true;
        return out;
    }
    const QString updated =
        cell + (backedUp ? QStringLiteral(" Updated!    Backup=") + ctx.backup.BackupName
                         : QStringLiteral(" Updated!"));

    reg::WriteBatch batch(*st.registry);
    bool changed = false; // an existing action changed
    reg::Status s = reg::status::Success;
    bool toResult = true; // step 12 runs
    const auto wrote = [&] {
        out.written = true;
        out.status = updated;
        changed = !f.adding;
    };
    if (newIsDefault != oldIsDefault) {
        s = newIsDefault == model::kYes ? model::setDefaultAction(st, f.CurrentTypeKey, out.Verb)
                                        : model::clearDefaultAction(st, f.CurrentTypeKey);
        if (s == reg::status::Success)
            wrote();
    }
    if (s == reg::status::Success && f.txtActionName != f.RememberedName) {
        s = model::setActionName(st, f.CurrentTypeKey, out.Verb, f.txtActionName);
        if (s == reg::status::Success) {
            wrote();
            out.reload = true;
        }
    }
    if (s == reg::status::Success && f.txtAppl != f.Remembered.Command) {
        s = model::setCommand(st, f.CurrentTypeKey, out.Verb, f.txtAppl);
        if (s == reg::status::Success) {
            wrote();
            out.reload = true;
        }
    }
    if (s == reg::status::Success) {
        if (ddeTextsEqual(f) && newUsesDde == oldUsesDde) {
            toResult = false;
        } else if (newUsesDde == model::kYes) {
            if (out.txtDDEMsg.isEmpty())
                out.txtDDEMsg = QStringLiteral("Default");
            s = model::setDde(st, f.CurrentTypeKey, out.Verb,
                              {out.txtDDEMsg, f.txtDDEAppl, f.txtDDENot, f.txtDDETopic});
            out.written = out.written || s == reg::status::Success;
        } else if (oldUsesDde == model::kYes) {
            s = model::deleteDde(st, f.CurrentTypeKey, out.Verb);
            out.written = out.written || s == reg::status::Success;
        } else if (!f.adding) {
            toResult = false;
        }
    }
    // The batch's commit is the last write: when it fails, nothing of it stays.
    if (const reg::Status committed = batch.finish();
        s == reg::status::Success && committed != reg::status::Success) {
        s = committed;
        st.LastStatus = s;
        toResult = true;
    }
    if (toResult) {
        if (s != reg::status::Success) {
            reg::RegErrorText(st, s);
            out.status = QStringLiteral("Error!   ") + cell + QStringLiteral(" Not Updated!   ") +
                         st.KeyPath + QStringLiteral("    ") + st.ErrorText;
            out.beep = true;
            out.failed = true;
        } else {
            out.status = cell + QStringLiteral(" Updated!");
            changed = !f.adding;
        }
    }
    if (changed) {
        backup::SlotValues slot = f.slot;
        slot.Handle = f.CurrentTypeKey;
        slot.ActionHandle = out.Verb;
        slot.ActionName = f.txtActionName.isEmpty() ? out.Verb : f.txtActionName;
        slot.Application = f.txtAppl;
        slot.SetDefault = newIsDefault;
        slot.UseDDE = newUsesDde;
        slot.DDEMessage = out.txtDDEMsg;
        slot.DDEApplication = f.txtDDEAppl;
        slot.DDERunning = f.txtDDENot;
        slot.DDETopic = f.txtDDETopic;
        out.slot = ctx.slots.SaveActionSlot(slot);
    }
    return out;
}

void applyTemplate(const ActionTemplate& t, ActionFields* fields) {
    if (fields->adding && fields->txtActionName.trimmed().isEmpty())
        fields->txtActionName = t.verb;
    fields->txtAppl = t.command;
    fields->ddeChecked = false;
    fields->txtDDEMsg.clear();
    fields->txtDDEAppl.clear();
    fields->txtDDENot.clear();
    fields->txtDDETopic.clear();
}

} // namespace orvanex::editing
