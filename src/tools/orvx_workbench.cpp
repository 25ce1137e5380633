#include "tools/orvx_workbench.h"

#include "model/default_registry.h"
#include "model/loading.h"
#include "settings/app_folder.h"

namespace orvanex::tools {

bool openWorkbench(OrvxContext& context, Workbench& w) {
    // The default hive is made on first use, as at the window's start; a Wine prefix is not.
    const reg::RegistryChoice choice = context.registryChoice();
    if (choice.isOwnHive()) {
        const model::DefaultRegistryResult made = model::ensureDefaultRegistry(choice.hive);
        if (!made.error.isEmpty()) {
            context.fail(made.error);
            return false;
        }
    }
    w.registry = context.openRegistry();
    if (!w.registry)
        return false;
    w.state.registry = w.registry.get();
    w.drives = platform::DriveMap::forHive(w.registry->hivePath());
    w.extensions = model::LoadExtensions(w.state).entries;
    w.fileTypes = model::BuildFileTypes(w.extensions).types;
    // The App folder is the current directory, and its backup folder exists, as at start-up.
    w.appFolder = currentAppFolder();
    createBackupFolder(w.appFolder);
    return true;
}

int report(OrvxContext& context, const QString& status, bool ok) {
    if (!ok)
        return context.fail(status);
    context.out << status << Qt::endl;
    return 0;
}

const model::FileTypeEntry* findType(OrvxContext& context, const Workbench& w,
                                     const QString& name) {
    QString error;
    const model::FileTypeEntry* type = findFileType(w.fileTypes, name, &error);
    if (!type)
        context.fail(error);
    return type;
}

const model::FileTypeEntry* findFileType(const QList<model::FileTypeEntry>& types,
                                         const QString& name, QString* error) {
    for (const model::FileTypeEntry& t : types)
        if (t.TypeName.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    // Else by its description, as the file-type list shows it; one that two types share names
    // neither.
    QList<const model::FileTypeEntry*> described;
    for (const model::FileTypeEntry& t : types)
        if (t.Description == name)
            described.append(&t);
    if (described.size() == 1)
        return described.first();
    if (described.isEmpty()) {
        *error = QStringLiteral("no file type %1 in the registry").arg(name);
        return nullptr;
    }
    QStringList keys;
    for (const model::FileTypeEntry* t : described)
        keys.append(t->TypeName);
    *error = QStringLiteral("%1 describes %2 file types; name one by its type key: %3")
                 .arg(name)
                 .arg(keys.size())
                 .arg(keys.join(QStringLiteral(", ")));
    return nullptr;
}

} // namespace orvanex::tools
