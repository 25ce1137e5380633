#pragma once
// The action grid (opening the action panel to add or to change an action), the Use DDE toggle
// and the rule by which edits enable the two apply buttons.

#include "editing/change_group.h"

namespace orvanex::editing {

class ActionGridHandlers : public ChangeGroup {
    Q_OBJECT
public:
    ActionGridHandlers(MainContext& ctx, backup::BackupHandlers& backup, QObject* parent = nullptr);

    // row: the grid row clicked (0 = the header row).
    void flex3_Click(int row, int col);
    void chkDDE_Click();

    // Change and click handlers of the detail and action fields.
    void entryFlagClicked(); // chkAlwaysShow, chkQuickView
    void entryTextChanged(); // txtDesc, txtRel
    void txtIcon_Change();
    void hs_Change();
    void actionFieldEdited(); // the action panel's fields and Set Default

private:
    void openForAdd();
    void openForChange(const QString& displayName);
};

} // namespace orvanex::editing
