#pragma once
// What each group of the main window's handlers that writes to the registry starts from: the
// window's shared context, and the backup handlers that take a backup before every write and keep
// the update slots.

#include <QObject>

namespace orvanex {
struct MainContext;
}
namespace orvanex::backup {
class BackupHandlers;
}

namespace orvanex::editing {

class ChangeGroup : public QObject {
protected:
    ChangeGroup(MainContext& ctx, backup::BackupHandlers& backup, QObject* parent)
        : QObject(parent), m_ctx(ctx), m_backup(backup) {}

    MainContext& m_ctx;
    backup::BackupHandlers& m_backup;
};

} // namespace orvanex::editing
