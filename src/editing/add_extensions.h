#pragma once
// Adding extensions to an existing file type: opening the panel (which type it adds to) and its
// OK button.

#include "editing/apply_change.h"
#include "editing/window_state.h"

namespace orvanex::editing {

inline const QString kCannotAddExtension = QStringLiteral(
    "                       Can Not Add A New File Extension To This File Type                    "
    " See Help Topic 'Adding A File Extension to An Existing File Type'!");

struct OpenPanelOutcome : EditOutcome {
    bool ignored = false; // not in selection by file type: nothing happens
    bool opened = false;
    QString TargetTypeKey;
};
// selectBy: the window's list; txtDesc and txtRel: the file type shown.
OpenPanelOutcome OpenAddExtensions(EditContext& ctx, SelectBy selectBy, const QString& txtDesc,
                                   const QString& txtRel);

struct AddExtensionsOutcome : EditOutcome {
    bool added = false;             // the panel closes
    QString extensions;             // the type's new Extensions text
    qsizetype typeRow = -1;         // the file-type table entry that got it
    QList<qsizetype> extensionRows; // table rows written, in writing order
    QStringList backups;
};
AddExtensionsOutcome AddExtensions(EditContext& ctx, const QString& targetTypeKey,
                                   const QString& txtDesc, const QString& txtRel,
                                   const QString& txtNewExtTypes);

} // namespace orvanex::editing
