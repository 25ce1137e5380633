#pragma once
// The delete panels: the request of a file type or extension (menu) and of an action (the action
// panel's "&Delete"), their confirmations, which back up and delete, and their cancels.

#include <QObject>

namespace orvanex {
struct MainContext;
}
namespace orvanex::backup {
class BackupHandlers;
}

namespace orvanex::editing {

class DeleteHandlers : public QObject {
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

    MainContext& m_ctx;
    backup::BackupHandlers& m_backup;
};

} // namespace orvanex::editing
