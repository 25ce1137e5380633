#pragma once
// The main window's side of the backup files window: the "&Backup" button and the File menu item
// that open it, bringing the lists up to date for every backup merged meanwhile, and undo.

#include <QObject>

namespace orvanex {
struct MainContext;
}

namespace orvanex::backup {

// Every record marked "Merge" = "yes" is set back to "no" and reloaded into the lists.
void RefreshMergedBackups(MainContext& ctx);
// The extensions of one record that the registry has again, into the tables and lists.
void ReloadBackupEntry(MainContext& ctx, const QString& recordName);

class BackupWindowHandlers : public QObject {
    Q_OBJECT
public:
    BackupWindowHandlers(MainContext& ctx, QObject* parent);
    // The "&Backup" button and "File, Backup &Files…".
    void cmdBackSystem_Click();
    // "File, &Undo Last Change": the merge preview of the last change's backup, then the undo.
    void mnuUndo_Click();

private:
    MainContext& m_ctx;
};

} // namespace orvanex::backup
