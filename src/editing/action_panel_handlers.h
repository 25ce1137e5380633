#pragma once
// The action panel's buttons: Apply (add or change the action), Cancel, "&Find" with the
// application picker frmAction, and the template that hands files over to Linux.

#include "editing/change_group.h"

namespace orvanex::editing {

class ActionPanelHandlers : public ChangeGroup {
    Q_OBJECT
public:
    ActionPanelHandlers(MainContext& ctx, backup::BackupHandlers& backup,
                        QObject* parent = nullptr);

    void cmdOKAction_Click();
    void cmdCancelAction_Click();
    void cmdBrowseApplX_Click();
    // Fills the panel from the template; Apply writes it as any other change.
    void cmdLinuxAction_Click();
};

// The action grid read again from the registry and shown.
void reloadActions(MainContext& ctx);

} // namespace orvanex::editing
