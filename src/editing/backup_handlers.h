#pragma once
// The main window's backup menu item and the restore menu of the update slots: the handlers,
// with the backup handshake fields and the slot ring of this run.

#include "backup/backup_routine.h"
#include "backup/update_slots.h"
#include "editing/edit_context.h"

#include <QObject>

class QAction;

namespace orvanex {
struct MainContext;
}

namespace orvanex::backup {

class BackupHandlers : public QObject {
    Q_OBJECT
public:
    // Follows the entry the detail area shows with the slot items.
    explicit BackupHandlers(MainContext& ctx, QObject* parent = nullptr);

    BackupState state; // QuietBackup, BackupResult, BackupName
    UpdateSlots slots;

    // The editing operations' context over the window's tables, this backup state and these slots.
    editing::EditContext editContext();

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
