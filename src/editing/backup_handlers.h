#pragma once
// The main window's backup menu item and the restore menu of the update slots: the handlers,
// with the backup handshake fields and the slot ring of this run.

#include "backup/backup_routine.h"
#include "backup/update_slots.h"

#include <QObject>

class QAction;

namespace orvanex {
struct MainContext;
}

namespace orvanex::backup {

class BackupHandlers : public QObject {
    Q_OBJECT
public:
    explicit BackupHandlers(MainContext& ctx, QObject* parent);

    // The one of a window (made by the editing handlers' installation).
    static BackupHandlers* of(MainContext& ctx);

    BackupState state; // QuietBackup, BackupResult, BackupName
    UpdateSlots slots;

    // What a backup of the current selection covers; false when nothing is selected or the
    // selection mode is neither of the two.
    bool currentRequest(BackupRequest* request) const;
    void mnuBackup_Click();

    // The slot texts of the entry shown (FileType, FileExtension, Handle, WhichKind).
    SlotValues currentEntry() const;
    // After a slot save: its item shows the description and is enabled.
    void slotSaved(int slot);
    // Enables only the item of the first saved slot matching the entry shown.
    void EnableEntrySlot();
    // The same for the action (its verb key) opened in the action panel.
    void EnableActionSlot(const QString& actionHandle);
    void mnuUpdate_Click(int slot);

    QAction* slotItem(int slot) const;

private:
    MainContext& m_ctx;
};

} // namespace orvanex::backup
