// Apply on the action panel without a window: adding, changing, the DDE and default rules, the
// backup and update slot of a change, and every failure path.

#include "backup/backup_records.h"
#include "editing/action_edit.h"
#include "faulty_edit_world.h"
#include "model/readers.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::editing;
using namespace orvanex::test;

namespace {

struct ActionWorld : FaultyEditWorld {
    explicit ActionWorld(const QString& name) : FaultyEditWorld(name) {
        f.addType("txtfile", "Text Document", {".txt", ".log"});
        f.write("txtfile\\Shell", QString(), "open");
        f.write("txtfile\\Shell\\print", QString(), "&Print");
        f.write("txtfile\\Shell\\print\\command", QString(), "notepad.exe /p %1");
        f.write("txtfile\\Shell\\print\\ddeexec", QString(), "[print(\"%1\")]");
        f.write("txtfile\\Shell\\print\\ddeexec\\application", QString(), "notepad");
        f.write("txtfile\\Shell\\print\\ddeexec\\topic", QString(), "System");
        f.load();
    }
    // The fields as the panel opens for adding.
    ActionFields adding(const QString& name, const QString& application) {
        ActionFields a = base();
        a.adding = true;
        a.txtActionName = name;
        a.txtAppl = application;
        return a;
    }
    // The fields as the panel opens the action of verb, unchanged.
    ActionFields opened(const QString& verb) {
        const model::ActionList list = model::LoadActions(state, "txtfile");
        QString display;
        for (const model::ActionEntry& e : list.actions)
            if (e.Verb == verb)
                display = e.DisplayName;
        const model::ActionDetail d = model::LoadActionDetail(state, "txtfile", list, display);
        ActionFields a = base();
        a.cellText = display;
        a.Remembered = d.action;
        a.RememberedName = a.txtActionName = d.ActionName;
        a.txtAppl = d.action.Command;
        a.setDefaultChecked = d.action.IsDefault == model::kYes;
        a.ddeChecked = d.action.UsesDde == model::kYes;
        a.txtDDEMsg = d.action.DdeMessage;
        a.txtDDEAppl = d.action.DdeApplication;
        a.txtDDENot = d.action.DdeNotRunning;
        a.txtDDETopic = d.action.DdeTopic;
        return a;
    }
    ActionFields base() {
        ActionFields a;
        a.CurrentTypeKey = "txtfile";
        a.backup = {backup::BackupRequest::Mode::FileType, "LOG TXT", "Text Document"};
        a.slot.FileType = "Text Document";
        a.slot.FileExtension = "LOG TXT";
        a.slot.WhichKind = backup::whichKind(true, true);
        return a;
    }
    bool backupExists(int n) { return QFile::exists(backup::backupFilePath(f.backupFolder(), n)); }
};

} // namespace

TEST(ActionEdit, AddingMakesTheVerbKeyFromTheNameWithoutABackup) {
    ActionWorld w("action-add");
    const ActionOutcome out =
        ApplyAction(w.ctx, w.adding("Open  with Word", "C:\\WORD\\WORD.EXE %1"));
    EXPECT_EQ(out.status, "Open  with Word Updated!");
    EXPECT_EQ(out.Verb, "Open_with_Word");
    EXPECT_TRUE(out.reload);
    EXPECT_EQ(w.read("txtfile\\Shell\\Open_with_Word"), "Open  with Word");
    EXPECT_EQ(w.read("txtfile\\Shell\\Open_with_Word\\command"), "C:\\WORD\\WORD.EXE %1");
    EXPECT_FALSE(w.exists("txtfile\\Shell\\Open_with_Word\\ddeexec"));
    EXPECT_EQ(w.read("txtfile\\Shell"), "open"); // not made the default
    EXPECT_FALSE(w.backupExists(1000));
    EXPECT_EQ(out.slot, 0);

    // Default and DDE asked for: the default moves, DDE gets its "Default" message.
    ActionFields a = w.adding("Edit", "edit.exe %1");
    a.setDefaultChecked = true;
    a.ddeChecked = true;
    a.txtDDEAppl = "EDIT";
    const ActionOutcome second = ApplyAction(w.ctx, a);
    EXPECT_EQ(second.status, "Edit Updated!");
    EXPECT_EQ(w.read("txtfile\\Shell"), "Edit");
    EXPECT_EQ(w.read("txtfile\\Shell\\Edit\\ddeexec"), "Default");
    EXPECT_EQ(second.txtDDEMsg, "Default");
    EXPECT_EQ(w.read("txtfile\\Shell\\Edit\\ddeexec\\application"), "EDIT");
    EXPECT_FALSE(w.exists("txtfile\\Shell\\Edit\\ddeexec\\topic"));
}

TEST(ActionEdit, AddingChecksNameAndApplicationFirst) {
    ActionWorld w("action-add-checks");
    const struct {
        QString name, application, status;
        ActionOutcome::Reopen reopen;
    } cases[] = {
        {"", "x.exe %1", kEnterActionName, ActionOutcome::Reopen::Name},
        {"   ", "x.exe %1", kEnterActionName, ActionOutcome::Reopen::Name},
        {"a\\b", "x.exe %1", "**Error** An Action Name Cannot Hold A Backslash!",
         ActionOutcome::Reopen::Name},
        {"View", "", kEnterApplication, ActionOutcome::Reopen::Application},
    };
    for (const auto& c : cases) {
        const ActionOutcome out = ApplyAction(w.ctx, w.adding(c.name, c.application));
        EXPECT_EQ(out.status, c.status) << c.name.toStdString();
        EXPECT_EQ(out.reopen, c.reopen) << c.name.toStdString();
        EXPECT_FALSE(out.written);
    }
    EXPECT_EQ(w.faulty.failedWrites(), 0);
    EXPECT_FALSE(w.exists("txtfile\\Shell\\View"));
}

TEST(ActionEdit, AddingOverAnExistingVerbBacksItUpFirst) {
    ActionWorld w("action-add-existing");
    const ActionOutcome out = ApplyAction(w.ctx, w.adding("print", "lp %1"));
    EXPECT_EQ(out.status, "print Updated!    Backup=Reg1000");
    EXPECT_TRUE(w.backupExists(1000));
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.Type, "Change");
    EXPECT_EQ(w.read("txtfile\\Shell\\print\\command"), "lp %1");
}

TEST(ActionEdit, ChangingBacksUpWritesInOrderAndFillsASlot) {
    ActionWorld w("action-change");
    ActionFields a = w.opened("open");
    EXPECT_EQ(ApplyAction(w.ctx, a).status, "Nothing To Update!");
    EXPECT_FALSE(w.backupExists(1000));

    a.txtActionName = "&Open it";
    a.txtAppl = "vi %1";
    const ActionOutcome out = ApplyAction(w.ctx, a);
    EXPECT_EQ(out.status, "open Updated!    Backup=Reg1000");
    EXPECT_TRUE(out.reload);
    // The verb key keeps its name; only the shown name changes.
    EXPECT_EQ(w.read("txtfile\\Shell\\open"), "&Open it");
    EXPECT_EQ(w.read("txtfile\\Shell\\open\\command"), "vi %1");
    EXPECT_EQ(w.read("txtfile\\Shell"), "open");
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.Type, "Change");
    ASSERT_EQ(out.slot, 1);
    const backup::SlotValues slot = backup::UpdateSlots::load(1);
    EXPECT_EQ(slot.ActionHandle, "open");
    EXPECT_EQ(slot.ActionName, "&Open it");
    EXPECT_EQ(slot.Application, "vi %1");
    EXPECT_EQ(slot.SetDefault, "yes");
    EXPECT_EQ(slot.UseDDE, "no");
    EXPECT_EQ(slot.Handle, "txtfile");
    EXPECT_EQ(slot.WhichKind, backup::whichKind(true, true));

    // Unchecking Set Default on the default action leaves a single blank.
    a = w.opened("open");
    a.setDefaultChecked = false;
    EXPECT_EQ(ApplyAction(w.ctx, a).status, "&Open it Updated!    Backup=Reg1001");
    EXPECT_EQ(w.read("txtfile\\Shell"), " ");
    a = w.opened("print");
    a.setDefaultChecked = true;
    ApplyAction(w.ctx, a);
    EXPECT_EQ(w.read("txtfile\\Shell"), "print");
}

TEST(ActionEdit, UseDdeOnAndOff) {
    ActionWorld w("action-dde");
    // Unchecked (the toggle empties the boxes): the four keys go.
    ActionFields a = w.opened("print");
    ASSERT_EQ(a.Remembered.UsesDde, "yes");
    a.ddeChecked = false;
    a.txtDDEMsg = a.txtDDEAppl = a.txtDDENot = a.txtDDETopic = "";
    ActionOutcome out = ApplyAction(w.ctx, a);
    EXPECT_EQ(out.status, "&Print Updated!");
    EXPECT_FALSE(w.exists("txtfile\\Shell\\print\\ddeexec"));
    EXPECT_TRUE(w.exists("txtfile\\Shell\\print\\command"));
    EXPECT_EQ(out.slot, 1);

    // Checked with every box empty: a change of its own, written as "Default".
    a = w.opened("open");
    a.ddeChecked = true;
    out = ApplyAction(w.ctx, a);
    EXPECT_FALSE(out.nothingToUpdate);
    EXPECT_EQ(out.txtDDEMsg, "Default");
    EXPECT_EQ(w.read("txtfile\\Shell\\open\\ddeexec"), "Default");

    // One text changed: only the DDE keys are written; an emptied box deletes its key.
    a = w.opened("open");
    a.txtDDETopic = "System";
    ApplyAction(w.ctx, a);
    EXPECT_EQ(w.read("txtfile\\Shell\\open\\ddeexec\\topic"), "System");
    a = w.opened("open");
    a.txtDDETopic.clear();
    a.txtDDEAppl = "vi";
    ApplyAction(w.ctx, a);
    EXPECT_FALSE(w.exists("txtfile\\Shell\\open\\ddeexec\\topic"));
    EXPECT_EQ(w.read("txtfile\\Shell\\open\\ddeexec\\application"), "vi");
}

TEST(ActionEdit, AFailingWriteStopsTheRestAndNamesTheKey) {
    ActionWorld w("action-fail");
    ActionFields a = w.opened("print");
    a.setDefaultChecked = true;
    a.txtAppl = "lp %1";
    a.txtDDETopic = "Other";
    w.faulty.failWritesAt("txtfile\\Shell\\print\\command");
    const ActionOutcome out = ApplyAction(w.ctx, a);
    EXPECT_TRUE(out.failed);
    EXPECT_TRUE(out.beep);
    EXPECT_EQ(out.status, "Error!   &Print Not Updated!   txtfile\\Shell\\print\\command    " +
                              FaultyEditWorld::errorText(reg::status::AccessDenied));
    // Written before the failure: kept; after it: not attempted.
    EXPECT_EQ(w.read("txtfile\\Shell"), "print");
    EXPECT_EQ(w.read("txtfile\\Shell\\print\\command"), "notepad.exe /p %1");
    EXPECT_EQ(w.read("txtfile\\Shell\\print\\ddeexec\\topic"), "System");
    // The default did change: the slot records it.
    EXPECT_EQ(out.slot, 1);

    // A failure in the DDE step is reported the same way.
    w.faulty.clearFailures();
    a = w.opened("print");
    a.txtDDETopic = "Other";
    w.faulty.failWritesAt("txtfile\\Shell\\print\\ddeexec\\topic", reg::status::CantWrite);
    const ActionOutcome dde = ApplyAction(w.ctx, a);
    EXPECT_TRUE(dde.failed);
    EXPECT_TRUE(dde.status.startsWith("Error!   &Print Not Updated!   txtfile\\Shell\\print\\"
                                      "ddeexec\\topic    "))
        << dde.status.toStdString();
}

TEST(ActionEdit, AFailedBackupStopsTheChangeBeforeAnyWrite) {
    ActionWorld w("action-no-backup");
    QDir(w.f.backupFolder()).removeRecursively();
    QFile blocker(w.f.backupFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ActionFields a = w.opened("print");
    a.txtAppl = "write.exe /p %1";
    a.setDefaultChecked = true;
    const ActionOutcome out = ApplyAction(w.ctx, a);
    EXPECT_TRUE(out.failed);
    EXPECT_TRUE(out.beep);
    EXPECT_FALSE(out.written);
    EXPECT_TRUE(out.status.startsWith("Error!   &Print Not Updated!   Backup Failed!    "))
        << out.status.toStdString();
    EXPECT_EQ(w.read("txtfile\\Shell\\print\\command"), "notepad.exe /p %1");
    EXPECT_EQ(w.read("txtfile\\Shell"), "open");
    EXPECT_EQ(out.slot, 0);
    // Adding an action over nothing has nothing to back up and goes ahead.
    EXPECT_EQ(ApplyAction(w.ctx, w.adding("Edit", "edit.exe %1")).status, "Edit Updated!");
}
