#pragma once
// The delete panels: the request of a file type or extension (menu) and of an action (the action
// panel's "&Delete"), their confirmations, which back up and delete, and their cancels.

#include "editing/change_group.h"

namespace orvanex::editing {

class DeleteHandlers : public ChangeGroup {
    Q_OBJECT
public:
    DeleteHandlers(MainContext& ctx, backup::BackupHandlers& backup, QObject* parent = nullptr);

    void cmdDeleteExt_Click();
    void cmdDeleteOKX_Click();
    void cmdCancelDelete_Click();
    void cmdDeleteAction_Click();
    void cmdDeleteOKXQ_Click();
    void cmdCancelDeleteQ_Click();

private:
    void hidePanels();
};

} // namespace orvanex::editing
