#pragma once
// What the editing commands of orvx work on: the registry and the tables the main window holds
// after start-up, and an editing context over them with the update slots as the settings hold
// them.

#include "backup/update_slots.h"
#include "editing/edit_context.h"
#include "platform/drive_map.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

struct Workbench {
    std::unique_ptr<reg::Registry> registry;
    reg::RegState state;
    platform::DriveMap drives;
    QList<model::ExtensionEntry> extensions;
    QList<model::FileTypeEntry> fileTypes;
    QString appFolder;
};

// Opens the chosen registry (the default hive is made on first use), loads the tables and makes
// the App folder's backup folder; false (with the reason printed) when it cannot.
bool openWorkbench(OrvxContext& context, Workbench& w);

struct Editing {
    backup::BackupState backupState;
    backup::UpdateSlots slots = backup::UpdateSlots::fromSettings();
    editing::EditContext ctx;
    explicit Editing(Workbench& w)
        : ctx{w.state, w.drives, w.extensions, w.fileTypes, w.appFolder, backupState, slots} {}
};

// The outcome of an edit: the status text on standard output when it succeeded, on standard
// error otherwise.
int report(OrvxContext& context, const QString& status, bool ok);

// The file type of a key name (without regard to case), else of a description as the file-type
// list shows it; null (with the reason printed) when there is none, or when two types share the
// description (the reason lists their type keys).
const model::FileTypeEntry* findType(OrvxContext& context, const Workbench& w, const QString& name);
const model::FileTypeEntry* findFileType(const QList<model::FileTypeEntry>& types,
                                         const QString& name, QString* error);

} // namespace orvanex::tools
