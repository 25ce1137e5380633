// orvx backup / backups / add-type / add-extensions / set: the backups and edits of the main
// window, through the same core routines, with the same status texts.

#include "backup/backup_records.h"
#include "backup/backup_routine.h"
#include "backup/backup_undo.h"
#include "editing/add_extensions.h"
#include "editing/apply_change.h"
#include "model/default_registry.h"
#include "model/detail_view.h"
#include "model/loading.h"
#include "platform/drive_map.h"
#include "registry/hive_location.h"
#include "settings/app_folder.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_workbench.h"

namespace orvanex::tools {

namespace {

// What the backup of NAME covers: ".EXT" (also "*" and "Unknown") one extension as the
// extension list shows it; otherwise a file type by its key name, with all its extensions.
bool backupRequestFor(const Workbench& w, const QString& name, backup::BackupRequest* request,
                      QString* error) {
    const bool isExtension = name.startsWith(u'.') || name == model::kAllKey ||
                             name.compare(model::kUnknownKey, Qt::CaseInsensitive) == 0;
    if (isExtension) {
        const QString ext =
            name.startsWith(u'.') ? name.mid(1).trimmed().toUpper() : name.toUpper();
        for (const model::ExtensionEntry& e : w.extensions)
            if (e.Ext == ext) {
                *request = {backup::BackupRequest::Mode::Extension, e.Ext, e.Description};
                return true;
            }
        *error = QStringLiteral("no extension %1 in the registry").arg(name);
        return false;
    }
    const model::FileTypeEntry* t = findFileType(w.fileTypes, name, error);
    if (!t)
        return false;
    *request = {backup::BackupRequest::Mode::FileType, t->Extensions, t->Description};
    return true;
}

int runBackup(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx backup .EXT|TYPE"));
    Workbench w;
    if (!openWorkbench(context, w))
        return 1;
    backup::BackupRequest request;
    QString error;
    if (!backupRequestFor(w, args.first(), &request, &error))
        return context.fail(error);
    backup::BackupState state;
    state.QuietBackup = 1; // the path alone is printed, for scripts
    const QString status =
        backup::BackupRoutine(*w.registry, w.extensions, w.appFolder).run(request, state);
    if (state.BackupResult != QLatin1String("OK"))
        return context.fail(
            status.isEmpty()
                ? QStringLiteral("the backup %1 could not be written").arg(state.BackupName)
                : status);
    context.out << state.BackupFile << Qt::endl;
    return 0;
}

int listBackups(OrvxContext& context, const QStringList& args) {
    if (!args.isEmpty())
        return context.fail(QStringLiteral("usage: orvx backups"));
    for (const backup::BackupRecord& r : backup::listBackupRecords())
        context.out << r.Name << '\t' << r.Type << '\t' << r.DateTime << '\t' << r.FileType << '\t'
                    << r.FileExt << '\n';
    context.out.flush();
    return 0;
}

// "FILE[,N]": the icon file and its number, as the icon fields hold them. The number is taken
// only when the text after the last comma is one.
void splitIcon(const QString& text, QString* file, QString* number) {
    const qsizetype comma = text.lastIndexOf(u',');
    bool isNumber = false;
    if (comma >= 0)
        text.mid(comma + 1).trimmed().toInt(&isNumber);
    *file = isNumber ? text.left(comma) : text;
    *number = isNumber ? text.mid(comma + 1).trimmed() : QStringLiteral("0");
}

// The command's options as the command line gave them (declared with the command, so the parser
// has taken them out of args already).
struct Options {
    QStringList positional;
    QHash<QString, QString> values;
};
bool parseOptions(OrvxContext& context, const QStringList& args, const QStringList& withValue,
                  const QStringList& flags, Options* o) {
    o->positional = args;
    for (const QString& name : withValue)
        if (context.isSet(name.mid(2)))
            o->values.insert(name, context.value(name.mid(2)));
    for (const QString& name : flags)
        if (context.isSet(name.mid(2)))
            o->values.insert(name, model::kYes);
    return true;
}

bool yesNoOption(OrvxContext& context, const Options& o, const QString& name, bool current,
                 bool* value) {
    if (!o.values.contains(name)) {
        *value = current;
        return true;
    }
    const QString v = o.values.value(name);
    if (v != model::kYes && v != model::kNo) {
        context.fail(QStringLiteral("%1 takes yes or no").arg(name));
        return false;
    }
    *value = v == model::kYes;
    return true;
}

int addType(OrvxContext& context, const QStringList& args) {
    Options o;
    if (!parseOptions(context, args, {QStringLiteral("--icon")},
                      {QStringLiteral("--quick-view"), QStringLiteral("--always-show")}, &o))
        return 1;
    if (o.positional.size() != 2)
        return context.fail(QStringLiteral("usage: orvx add-type DESCRIPTION \"EXT ...\" "
                                           "[--icon FILE[,N]] [--quick-view] [--always-show]"));
    Workbench w;
    if (!openWorkbench(context, w))
        return 1;
    Editing e(w);
    editing::NewTypeFields f;
    f.txtDesc = o.positional[0];
    f.txtRel = o.positional[1];
    if (o.values.contains(QStringLiteral("--icon")))
        splitIcon(o.values.value(QStringLiteral("--icon")), &f.txtIcon, &f.iconNumber);
    f.quickViewChecked = o.values.contains(QStringLiteral("--quick-view"));
    f.alwaysShowChecked = o.values.contains(QStringLiteral("--always-show"));
    const editing::NewTypeOutcome r = editing::ApplyNewType(e.ctx, f);
    return report(context, r.status, r.added);
}

int addExtensions(OrvxContext& context, const QStringList& args) {
    if (args.size() != 2)
        return context.fail(QStringLiteral("usage: orvx add-extensions TYPE \"EXT ...\""));
    Workbench w;
    if (!openWorkbench(context, w))
        return 1;
    const model::FileTypeEntry* type = findType(context, w, args[0]);
    if (!type)
        return 1;
    const QString description = type->Description;
    const QString extensions = type->Extensions;
    Editing e(w);
    const editing::OpenPanelOutcome open =
        editing::OpenAddExtensions(e.ctx, editing::SelectBy::FileType, description, extensions);
    if (!open.opened)
        return context.fail(open.status.trimmed());
    const editing::AddExtensionsOutcome r =
        editing::AddExtensions(e.ctx, open.TargetTypeKey, description, extensions, args[1]);
    return report(context, r.status, r.added);
}

int setType(OrvxContext& context, const QStringList& args) {
    Options o;
    if (!parseOptions(context, args,
                      {QStringLiteral("--icon"), QStringLiteral("--quick-view"),
                       QStringLiteral("--always-show"), QStringLiteral("--description"),
                       QStringLiteral("--content-type")},
                      {}, &o))
        return 1;
    if (o.positional.size() != 1)
        return context.fail(QStringLiteral("usage: orvx set TYPE|.EXT [--icon FILE[,N]] "
                                           "[--quick-view yes|no] [--always-show yes|no] "
                                           "[--description TEXT] [--content-type TEXT]"));
    Workbench w;
    if (!openWorkbench(context, w))
        return 1;
    const QString& name = o.positional[0];
    const bool isExtension = name.startsWith(u'.') || name == model::kAllKey ||
                             name.compare(model::kUnknownKey, Qt::CaseInsensitive) == 0;
    if (!isExtension && o.values.contains(QStringLiteral("--content-type")))
        return context.fail(QStringLiteral("the content type belongs to an extension: orvx set "
                                           ".EXT --content-type TEXT"));
    backup::BackupRequest request;
    QString error;
    if (!backupRequestFor(w, name, &request, &error))
        return context.fail(error);
    // The entry as its detail view shows it: by extension or by file type.
    const model::DetailView view =
        isExtension ? model::ShowExtension(w.state, w.drives, w.extensions,
                                           {request.FileExt, request.FileType, request.FileExt})
                    : model::ShowFileType(w.state, w.drives, w.fileTypes,
                                          {request.FileType, request.FileExt, request.FileType});
    if (!view.typeFound)
        return context.fail(
            QStringLiteral("%1 names no file type whose details can be set").arg(name));
    editing::ChangeFields f;
    f.CurrentTypeKey = view.CurrentTypeKey;
    f.txtDesc = f.OldDescription = view.txtDesc;
    f.descriptionEditable = editing::descriptionEditable(w.state, view.CurrentTypeKey);
    f.txtIcon = view.txtIcon;
    f.iconNumber = view.txtIconNumber;
    f.OldIconFile = view.OldIconFile;
    f.OldIconNumber = view.OldIconNumber;
    f.OldQuickView = view.flags.QuickView;
    f.OldAlwaysShow = view.flags.AlwaysShowExt;
    if (isExtension) {
        f.ExtensionKey = editing::extensionKeyOf(w.extensions, view.txtExt);
        f.txtMIME = f.OldContentType = view.txtMIME;
    }
    if (!yesNoOption(context, o, QStringLiteral("--quick-view"), f.OldQuickView == model::kYes,
                     &f.quickViewChecked) ||
        !yesNoOption(context, o, QStringLiteral("--always-show"), f.OldAlwaysShow == model::kYes,
                     &f.alwaysShowChecked))
        return 1;
    if (o.values.contains(QStringLiteral("--icon")))
        splitIcon(o.values.value(QStringLiteral("--icon")), &f.txtIcon, &f.iconNumber);
    if (o.values.contains(QStringLiteral("--description"))) {
        if (!f.descriptionEditable)
            return context.fail(QStringLiteral("the description of %1 is not kept in a type key "
                                               "of its own: it cannot be set")
                                    .arg(name));
        f.txtDesc = o.values.value(QStringLiteral("--description"));
    }
    if (o.values.contains(QStringLiteral("--content-type")))
        f.txtMIME = o.values.value(QStringLiteral("--content-type"));
    f.backup = request;
    f.slot.FileType = view.txtDesc;
    f.slot.FileExtension = isExtension ? view.txtExt : view.txtRel;
    f.slot.WhichKind = backup::whichKind(!isExtension, false);
    Editing e(w);
    const editing::ChangeOutcome r = editing::ApplyChange(e.ctx, f);
    return report(context, r.status, r.updated || r.nothingToUpdate);
}

int undo(OrvxContext& context, const QStringList& args) {
    if (!args.isEmpty())
        return context.fail(QStringLiteral("usage: orvx undo [--preview]"));
    Workbench w;
    if (!openWorkbench(context, w))
        return 1;
    const backup::UndoPlan plan = backup::planUndo(*w.registry, w.appFolder);
    if (!plan.found)
        return context.fail(plan.message);
    if (!plan.preview.readable)
        return context.fail(plan.preview.error + QStringLiteral("; nothing was merged"));
    // The merge preview first, as the window shows it.
    context.out << QStringLiteral("Undo %1 (%2, %3): %4 change(s)")
                       .arg(plan.record.Name, plan.record.Type, plan.record.FileType)
                       .arg(plan.preview.diff.changes.size())
                << '\n';
    for (const reg::RegChange& c : plan.preview.diff.changes)
        context.out << "  " << reg::describeRegChange(c) << '\n';
    context.out.flush();
    if (context.isSet(QStringLiteral("preview")))
        return 0;
    const backup::UndoOutcome out = backup::runUndo(*w.registry, w.extensions, w.appFolder, plan);
    for (const QString& p : out.merge.problems)
        context.err << "orvx: " << p << '\n';
    if (!out.undone)
        return context.fail(out.message);
    context.out << out.message << Qt::endl;
    return 0;
}

QCommandLineOption iconOption() {
    return QCommandLineOption(QStringLiteral("icon"),
                              QStringLiteral("The icon: a file, then a comma and its number."),
                              QStringLiteral("FILE[,N]"));
}

} // namespace

QList<OrvxCommand> backupCommands() {
    return {
        {QStringLiteral("backup"), QStringLiteral("backup .EXT|TYPE"),
         QStringLiteral("back up an extension or a file type into the Backup folder"), runBackup},
        {QStringLiteral("backups"), QStringLiteral("backups"),
         QStringLiteral("the backup records: name, type, date, file type, extensions"),
         listBackups},
        {QStringLiteral("undo"),
         QStringLiteral("undo [--preview]"),
         QStringLiteral("merge back the backup of the last change or delete of this registry, "
                        "after printing what it changes (--preview: print only)"),
         undo,
         {QCommandLineOption(QStringLiteral("preview"),
                             QStringLiteral("Print what the undo would change; change nothing."))}},
        {QStringLiteral("add-type"),
         QStringLiteral("add-type DESCRIPTION \"EXT ...\" [--icon FILE[,N]] [--quick-view] "
                        "[--always-show]"),
         QStringLiteral("register a new file type with its extensions"),
         addType,
         {iconOption(),
          QCommandLineOption(QStringLiteral("quick-view"), QStringLiteral("Enable Quick View.")),
          QCommandLineOption(QStringLiteral("always-show"),
                             QStringLiteral("Always show the extension."))}},
        {QStringLiteral("add-extensions"), QStringLiteral("add-extensions TYPE \"EXT ...\""),
         QStringLiteral("add extensions to a file type"), addExtensions},
        {QStringLiteral("set"),
         QStringLiteral("set TYPE|.EXT [--icon FILE[,N]] [--quick-view yes|no] "
                        "[--always-show yes|no] [--description TEXT] [--content-type TEXT]"),
         QStringLiteral("change a file type's icon, marks and description, or an extension's "
                        "content type (backed up first)"),
         setType,
         {iconOption(),
          QCommandLineOption(QStringLiteral("description"),
                             QStringLiteral("The file type's description."),
                             QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("content-type"),
                             QStringLiteral("The extension's content type (MIME); empty deletes "
                                            "it."),
                             QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("quick-view"), QStringLiteral("Quick View: yes or no."),
                             QStringLiteral("yes|no")),
          QCommandLineOption(QStringLiteral("always-show"),
                             QStringLiteral("Always show the extension: yes or no."),
                             QStringLiteral("yes|no"))}},
    };
}

} // namespace orvanex::tools
