// orvx action / delete / delete-action: the action panel and the delete panels of the main
// window, through the same core routines, with the same status texts and backups.

#include "editing/action_edit.h"
#include "editing/delete_entry.h"
#include "model/detail_view.h"
#include "tools/orvx_workbench.h"

namespace orvanex::tools {

namespace {

const QString kName = QStringLiteral("name");
const QString kCommand = QStringLiteral("command");
const QString kDefault = QStringLiteral("default");
const QString kDde = QStringLiteral("dde");
const QString kDdeMessage = QStringLiteral("dde-message");
const QString kDdeApplication = QStringLiteral("dde-application");
const QString kDdeIfExec = QStringLiteral("dde-ifexec");
const QString kDdeTopic = QStringLiteral("dde-topic");
const QString kLinux = QStringLiteral("linux");

// A yes|no option, or current when it is not given; false (with the reason printed) for any
// other text.
bool yesNo(OrvxContext& context, const QString& option, bool current, bool* value) {
    *value = current;
    if (!context.isSet(option))
        return true;
    const QString v = context.value(option);
    if (v != model::kYes && v != model::kNo) {
        context.fail(QStringLiteral("--%1 takes yes or no, not %2").arg(option, v));
        return false;
    }
    *value = v == model::kYes;
    return true;
}

void takeText(OrvxContext& context, const QString& option, QString* field) {
    if (context.isSet(option))
        *field = context.value(option);
}

// The detail view of a file type, as a click on its row of the file-type list shows it.
model::DetailView typeView(Workbench& w, const model::FileTypeEntry& type) {
    return model::ShowFileType(w.state, w.drives, w.fileTypes,
                               {type.Description, type.Extensions, type.Description});
}

// The file type named on the command line, in a workbench opened on the registry in use, and its
// detail view; null (the reason printed) when either is missing.
const model::FileTypeEntry* openType(OrvxContext& context, Workbench& w, const QString& name,
                                     model::DetailView* view) {
    if (!openWorkbench(context, w))
        return nullptr;
    const model::FileTypeEntry* type = findType(context, w, name);
    if (type)
        *view = typeView(w, *type);
    return type;
}

backup::BackupRequest typeBackup(const model::FileTypeEntry& type) {
    return {backup::BackupRequest::Mode::FileType, type.Extensions, type.Description};
}

// The action of a verb key (compared as the registry compares key names), or null.
const model::ActionEntry* findVerb(const model::ActionList& list, const QString& verb) {
    for (const model::ActionEntry& a : list.actions)
        if (a.Verb.compare(verb, Qt::CaseInsensitive) == 0)
            return &a;
    return nullptr;
}

int runAction(OrvxContext& context, const QStringList& args) {
    if (args.size() != 2)
        return context.fail(QStringLiteral(
            "usage: orvx action TYPE VERB [--name TEXT] [--command TEXT] [--default yes|no] "
            "[--dde yes|no] [--dde-message TEXT] [--dde-application TEXT] [--dde-ifexec TEXT] "
            "[--dde-topic TEXT] [--linux]"));
    Workbench w;
    model::DetailView view;
    const model::FileTypeEntry* type = openType(context, w, args[0], &view);
    if (!type)
        return exitcode::Failure;
    editing::ActionFields f;
    f.CurrentTypeKey = view.CurrentTypeKey;
    f.backup = typeBackup(*type);
    f.slot.FileType = view.txtDesc;
    f.slot.FileExtension = view.txtRel;
    f.slot.WhichKind = backup::whichKind(true, true);
    if (const model::ActionEntry* action = findVerb(view.actions, args[1])) {
        const model::ActionDetail detail =
            model::LoadActionDetail(w.state, f.CurrentTypeKey, view.actions, action->DisplayName);
        f.Remembered = detail.action;
        f.RememberedName = detail.found ? detail.ActionName : action->DisplayName;
        f.cellText = action->DisplayName;
    } else {
        if (context.isSet(kName))
            return context.fail(QStringLiteral("%1 has no action %2: to add it, VERB is its name "
                                               "and --name is not taken")
                                    .arg(args[0], args[1]));
        f.adding = true;
        f.cellText = args[1];
        f.RememberedName.clear();
    }
    // The panel's fields start as the action was read.
    f.txtActionName = f.adding ? args[1] : f.RememberedName;
    f.txtAppl = f.Remembered.Command;
    f.txtDDEMsg = f.Remembered.DdeMessage;
    f.txtDDEAppl = f.Remembered.DdeApplication;
    f.txtDDENot = f.Remembered.DdeNotRunning;
    f.txtDDETopic = f.Remembered.DdeTopic;
    if (!yesNo(context, kDefault, f.Remembered.IsDefault == model::kYes, &f.setDefaultChecked) ||
        !yesNo(context, kDde, f.Remembered.UsesDde == model::kYes, &f.ddeChecked))
        return exitcode::Failure;
    // Unchecking Use DDE empties its boxes, as in the panel.
    if (!f.ddeChecked) {
        f.txtDDEMsg.clear();
        f.txtDDEAppl.clear();
        f.txtDDENot.clear();
        f.txtDDETopic.clear();
    }
    const bool ddeText = context.isSet(kDdeMessage) || context.isSet(kDdeApplication) ||
                         context.isSet(kDdeIfExec) || context.isSet(kDdeTopic);
    if (ddeText && !f.ddeChecked)
        return context.fail(QStringLiteral("the DDE texts need --dde yes (the action %1 uses no "
                                           "DDE)")
                                .arg(args[1]));
    if (context.isSet(kLinux)) {
        if (context.isSet(kCommand) || ddeText || (context.isSet(kDde) && f.ddeChecked))
            return context.fail(QStringLiteral("--linux sets the command and turns DDE off: it "
                                               "takes no --command and no DDE options"));
        editing::applyTemplate(editing::kLinuxHandOver, &f);
    }
    takeText(context, kName, &f.txtActionName);
    takeText(context, kCommand, &f.txtAppl);
    takeText(context, kDdeMessage, &f.txtDDEMsg);
    takeText(context, kDdeApplication, &f.txtDDEAppl);
    takeText(context, kDdeIfExec, &f.txtDDENot);
    takeText(context, kDdeTopic, &f.txtDDETopic);

    Editing e(w);
    const editing::ActionOutcome r = editing::ApplyAction(e.ctx, f);
    return report(context, r.status, !r.failed && r.reopen == editing::ActionOutcome::Reopen::None);
}

// What the window shows for NAME: an extension (".EXT", "*", "Unknown") selected by extension,
// or a file type selected by type.
struct DeleteTarget {
    editing::DeleteFields fields;
    bool allowed = false;
};

bool deleteTarget(OrvxContext& context, Workbench& w, const QString& name, DeleteTarget* t) {
    const bool isExtension = name.startsWith(u'.') || name == model::kAllKey ||
                             name.compare(model::kUnknownKey, Qt::CaseInsensitive) == 0;
    model::DetailView view;
    if (isExtension) {
        const QString ext =
            name.startsWith(u'.') ? name.mid(1).trimmed().toUpper() : name.toUpper();
        const auto it = std::find_if(w.extensions.cbegin(), w.extensions.cend(),
                                     [&](const model::ExtensionEntry& e) { return e.Ext == ext; });
        if (it == w.extensions.cend()) {
            context.fail(QStringLiteral("no extension %1 in the registry").arg(name));
            return false;
        }
        view = model::ShowExtension(w.state, w.drives, w.extensions,
                                    {it->Ext, it->Description, it->Ext});
        t->fields.backup = {backup::BackupRequest::Mode::Extension, it->Ext, it->Description};
    } else {
        const model::FileTypeEntry* type = findType(context, w, name);
        if (!type)
            return false;
        view = typeView(w, *type);
        t->fields.byType = true;
        t->fields.backup = typeBackup(*type);
    }
    t->fields.CurrentTypeKey = view.CurrentTypeKey;
    t->fields.txtDesc = view.txtDesc;
    t->fields.txtExt = view.txtExt;
    t->fields.txtRel = view.txtRel;
    t->allowed = view.deleteExtEnabled;
    return true;
}

int runDelete(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx delete .EXT|TYPE"));
    Workbench w;
    if (!openWorkbench(context, w))
        return exitcode::Failure;
    DeleteTarget t;
    if (!deleteTarget(context, w, args[0], &t))
        return exitcode::Failure;
    if (!t.allowed)
        return context.fail(
            QStringLiteral("%1 is protected: it is never offered for deletion").arg(args[0]));
    const editing::DeleteFields& f = t.fields;
    if ((f.txtExt.isEmpty() && f.txtRel.isEmpty()) || f.txtDesc.isEmpty())
        return context.fail(QStringLiteral("%1 has no description or no extension: there is "
                                           "nothing the window would delete")
                                .arg(args[0]));
    Editing e(w);
    const editing::DeleteOutcome r = editing::DeleteEntry(e.ctx, f);
    return report(context, r.status, r.deleted);
}

int runDeleteAction(OrvxContext& context, const QStringList& args) {
    if (args.size() != 2)
        return context.fail(QStringLiteral("usage: orvx delete-action TYPE VERB"));
    Workbench w;
    model::DetailView view;
    const model::FileTypeEntry* type = openType(context, w, args[0], &view);
    if (!type)
        return exitcode::Failure;
    const model::ActionEntry* action = findVerb(view.actions, args[1]);
    if (!action)
        return context.fail(QStringLiteral("%1 has no action %2").arg(args[0], args[1]));
    Editing e(w);
    const editing::DeleteOutcome r = editing::DeleteAction(
        e.ctx, {view.CurrentTypeKey, action->Verb, action->DisplayName, typeBackup(*type)});
    return report(context, r.status, r.deleted);
}

QCommandLineOption textOption(const QString& name, const QString& help) {
    return QCommandLineOption(name, help, QStringLiteral("TEXT"));
}

QCommandLineOption yesNoOption(const QString& name, const QString& help) {
    return QCommandLineOption(name, help, QStringLiteral("yes|no"));
}

} // namespace

QList<OrvxCommand> editCommands() {
    return {
        {QStringLiteral("action"),
         QStringLiteral("action TYPE VERB [--name TEXT] [--command TEXT] [--default yes|no] "
                        "[--dde yes|no] [--dde-message TEXT] [--dde-application TEXT] "
                        "[--dde-ifexec TEXT] [--dde-topic TEXT] [--linux]"),
         QStringLiteral("add an action to a file type, or change one (backed up first)"),
         runAction,
         {textOption(kName, QStringLiteral("The action's name (an existing action).")),
          textOption(kCommand, QStringLiteral("The command line that performs the action.")),
          yesNoOption(kDefault, QStringLiteral("The file type's default action: yes or no.")),
          yesNoOption(kDde, QStringLiteral("Use DDE: yes or no.")),
          textOption(kDdeMessage, QStringLiteral("The DDE message (\"Default\" when empty).")),
          textOption(kDdeApplication, QStringLiteral("The DDE application.")),
          textOption(kDdeIfExec,
                     QStringLiteral("The DDE command when the application is not running.")),
          textOption(kDdeTopic, QStringLiteral("The DDE topic.")),
          QCommandLineOption(kLinux, QStringLiteral("The command hands the file over to the "
                                                    "Linux default program (winebrowser "
                                                    "\"%1\"), without DDE."))}},
        {QStringLiteral("delete"), QStringLiteral("delete .EXT|TYPE"),
         QStringLiteral("delete an extension, or a file type with its extensions (backed up "
                        "first)"),
         runDelete},
        {QStringLiteral("delete-action"), QStringLiteral("delete-action TYPE VERB"),
         QStringLiteral("delete an action of a file type (backed up first)"), runDeleteAction},
    };
}

} // namespace orvanex::tools
