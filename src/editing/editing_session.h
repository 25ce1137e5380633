#pragma once
// What the main window's editing handlers keep between events: the file-type tables, the drive
// map the registry's paths resolve through, and the remembered texts of the entry and action
// shown. The window's MainContext owns one (MainContext::editing).

#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "model/file_type_model.h"
#include "model/loading.h"
#include "model/readers.h"
#include "platform/drive_map.h"

#include <QPointer>

class QWidget;

namespace orvanex {

struct EditingSession {
    platform::DriveMap drives;
    QList<model::ExtensionEntry> extensions; // the extension table, in enumeration order
    QList<model::FileTypeEntry> fileTypes;   // one per distinct TypeName
    model::AuxiliaryLists lists;             // known command lines and icon files
    editing::GridModels grids;               // what flex1, flex2 and flex3 show

    // The entry shown: its actions as flex3 shows them and the loaded icon texts.
    model::ActionList actions;
    QString OldIconFile;
    QString OldIconNumber;
    QString RememberedIconNumber;
    // The icon file and type the icon panel last worked on; forgotten on a selection switch.
    QString RememberedIconFile;
    QString RememberedIconType;

    // The action opened in the action panel, as read (restored by the Use DDE toggle).
    model::ActionEntry RememberedAction;
    QString RememberedActionName;
    // The same as read, untouched by the toggle: Apply compares with what the registry holds.
    model::ActionEntry OpenedAction;
    bool PendingActionDelete = false;

    // The control whose right-click help menu is up.
    QPointer<QWidget> HelpControl;
};

// The session of a window's context, made on first use.
EditingSession& editingSession(MainContext& ctx);

} // namespace orvanex
