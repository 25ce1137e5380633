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

    // The row whose entry the detail area shows, as it was shown: backups, update slots and
    // deletes take this one, whatever row of the grid is current. Cleared with the area.
    struct ShownRow {
        bool shown = false;
        bool byType = false;
        QString column0; // Ext (flex1) or Description (flex2)
        QString column3; // Description (flex1) or Extensions (flex2)
    } shownRow;

    // The entry shown: its actions as flex3 shows them and the loaded texts.
    model::ActionList actions;
    QString OldIconFile;
    QString OldIconNumber;
    QString OldDescription;
    QString OldContentType;    // " " for none
    QString ShownExtensionKey; // the extension key shown ("" by file type)
    bool DescriptionEditable = false;
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
