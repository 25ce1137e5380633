#pragma once
// Apply on the action panel: adding an action to the file type shown or writing the changes of
// one, in a fixed order (default, name, command, DDE), with a backup before a change and the
// update slot after it. The window and orvx both fill ActionFields and call ApplyAction.

#include "editing/apply_change.h"
#include "model/file_type_model.h"

namespace orvanex::editing {

struct ActionFields {
    QString CurrentTypeKey;
    bool adding = false;
    // What the status texts name the action by: the action grid's current cell (the typed name
    // when adding).
    QString cellText;
    QString txtActionName;
    QString txtAppl;
    bool setDefaultChecked = false;
    bool ddeChecked = false;
    QString txtDDEMsg, txtDDEAppl, txtDDENot, txtDDETopic;
    // The action as it was opened (empty when adding) and its name as the panel showed it.
    model::ActionEntry Remembered;
    QString RememberedName;
    // The backup of the entry shown and its slot texts (FileType, FileExtension, WhichKind).
    backup::BackupRequest backup;
    backup::SlotValues slot;
};

struct ActionOutcome : EditOutcome {
    // Adding without a name or an application: the panel opens again on that field.
    enum class Reopen { None, Name, Application } reopen = Reopen::None;
    bool nothingToUpdate = false;
    bool written = false; // at least one key was written or deleted
    bool failed = false;  // a write failed (status and beep set)
    bool reload = false;  // name or command written: the action grid is read again
    QString Verb;         // the action's verb key
    QString txtDDEMsg;    // what the DDE message box shows afterwards
    int slot = 0;         // the update slot written, 0 when none
};

ActionOutcome ApplyAction(EditContext& ctx, const ActionFields& fields);

// A ready-made action the panel and orvx fill in before Apply: its verb (when one is added), its
// command and no DDE.
struct ActionTemplate {
    QString caption; // the panel's button
    QString verb;
    QString command;
};

// Inside Wine, winebrowser hands the file over to the Linux desktop's default program for it.
inline const ActionTemplate kLinuxHandOver{QStringLiteral("&Linux Program"), QStringLiteral("open"),
                                           QStringLiteral("winebrowser \"%1\"")};

// The template's command with DDE off: winebrowser takes the file on its command line only.
void applyTemplate(const ActionTemplate& t, ActionFields* fields);

// The status texts of the panel's checks.
inline const QString kEnterActionName = QStringLiteral("Please Enter The New Action Name!");
inline const QString kEnterApplication =
    QStringLiteral("Please Enter The New Application Used To Perform Action!");

} // namespace orvanex::editing
