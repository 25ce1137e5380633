#pragma once
// The detail panel of one extension or file type: everything it shows, computed from the tables
// and the registry, for the window to apply.

#include "model/file_type_model.h"
#include "model/readers.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QImage>
#include <optional>

namespace orvanex::model {

// The selected row of flex1 or flex2.
struct SelectedRow {
    QString column0;  // Ext (flex1) or Description (flex2)
    QString column3;  // Description (flex1) or Extensions (flex2)
    QString cellText; // the current cell's text, quoted in the status texts
};

struct DetailView {
    // Fields
    QString txtExt, txtDesc, txtRel, txtMIME, txtIcon, txtIconNumber;
    int relatedCount = 0; // other extensions of the type (extension view)
    // Icon
    QImage picIcon; // null: nothing drawn
    int iconCount = 0;
    bool hsEnabled = false;
    int hsMax = 0;
    int hsValue = 0;
    bool iconCommandsEnabled = false; // cmdIconView, cmdIcons
    IconLocation icon;
    QString iconNativePath; // the icon file on this system, when it exists
    // Commands of the protected-entry rule
    bool deleteExtEnabled = true;          // cmdDeleteExt
    std::optional<bool> addExtTypeEnabled; // mnuAddExtType, set by the file-type view only
    bool backupEnabled = true;             // mnuBackup
    // Outcome
    QString status; // lblScan after the whole routine
    bool typeFound = false;
    QString CurrentTypeKey;
    QString OldIconFile, OldIconNumber; // the loaded icon texts, to detect changes later
    int EditState = 0;                  // 1 once a type was shown
    Flags flags;
    ActionList actions;
};

// "Retrieving ..." status shown while the view loads.
QString retrievingStatus(const QString& cellText, bool fileType);
// True for EXE, DLL, COM, BAT, "*" and UNKNOWN.
bool isProtectedSelection(const QString& extensionText);

DetailView ShowFileType(reg::RegState& state, const platform::DriveMap& drives,
                        const QList<FileTypeEntry>& types, const SelectedRow& row);
DetailView ShowExtension(reg::RegState& state, const platform::DriveMap& drives,
                         const QList<ExtensionEntry>& entries, const SelectedRow& row);

} // namespace orvanex::model
