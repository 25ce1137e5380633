// The ring of ten update slots: which slot a change goes to, what it holds, what a restore gives.

#include "backup/backup_fixture.h"
#include "backup/update_slots.h"
#include "model/loading.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::backup;

namespace {

SlotValues entry(const QString& type, const QString& icon = "C:\\a.dll") {
    SlotValues v;
    v.FileType = type + " Document";
    v.FileExtension = type.toUpper();
    v.Handle = type + "file";
    v.WhichKind = whichKind(true, false);
    v.IconFile = icon;
    v.IconNumber = "3";
    v.ShowExtension = "yes";
    v.QuickView = "no";
    return v;
}

SlotValues action(const QString& type, const QString& verb) {
    SlotValues v = entry(type);
    v.WhichKind = whichKind(true, true);
    v.ActionHandle = verb;
    v.ActionName = verb;
    v.Application = "edit.exe %1";
    v.SetDefault = "yes";
    v.UseDDE = "no";
    v.DDEMessage = v.DDEApplication = v.DDERunning = v.DDETopic = " ";
    return v;
}

class UpdateSlotsTest : public testing::Test {
protected:
    void SetUp() override {
        test::resetSettings();
        model::ResetUpdateSlots();
    }
};

} // namespace

TEST_F(UpdateSlotsTest, ChangesFillTheRingAndTheSameEntryReusesItsSlot) {
    UpdateSlots slots;
    EXPECT_EQ(slots.SaveEntrySlot(entry("txt")), 1);
    EXPECT_EQ(slots.captions[0], "txt Document");
    EXPECT_EQ(slots.captions[1], "?");
    EXPECT_EQ(slots.SaveEntrySlot(entry("doc")), 2);
    EXPECT_EQ(slots.SaveEntrySlot(entry("txt", "C:\\b.ico")), 1);
    EXPECT_EQ(slots.LastSlot, 1);
    EXPECT_EQ(UpdateSlots::load(1).IconFile, "C:\\b.ico");
    // The next new entry goes to the slot after the one written last, over what was there.
    EXPECT_EQ(slots.SaveEntrySlot(entry("bmp")), 2);
    EXPECT_EQ(UpdateSlots::load(2).FileType, "bmp Document");
    EXPECT_EQ(slots.SaveEntrySlot(entry("doc")), 3);
    // An action of an entry is a slot of its own, matched by its verb too.
    EXPECT_EQ(slots.SaveActionSlot(action("txt", "open")), 4);
    EXPECT_EQ(slots.SaveActionSlot(action("txt", "print")), 5);
    EXPECT_EQ(slots.SaveActionSlot(action("txt", "open")), 4);
}

TEST_F(UpdateSlotsTest, SlotsAreStoredUnderTheirOwnNames) {
    EXPECT_EQ(whichKind(false, false), "File Extension(Part1)");
    EXPECT_EQ(whichKind(true, false), "File Type(Part1)");
    EXPECT_EQ(whichKind(false, true), "File Extension(Part2)");
    EXPECT_EQ(whichKind(true, true), "File Type(Part2)");
    UpdateSlots slots;
    for (int i = 1; i <= 10; ++i)
        slots.SaveEntrySlot(entry(QString("t%1").arg(i)));
    slots.SaveActionSlot(action("txt", "open"));
    const auto get = [](const char* section, const char* key) {
        return GetSetting(kMainAppName, section, key, "99");
    };
    EXPECT_EQ(get("Update10", "FileType"), "t10 Document");
    EXPECT_EQ(get("Update10", "IconFile"), "C:\\a.dll");
    EXPECT_EQ(get("Update10", "ShowExtension"), "yes");
    EXPECT_EQ(get("Update01", "WhichKind"), "File Type(Part2)");
    EXPECT_EQ(get("Update01", "ActionHandle"), "open");
    EXPECT_EQ(get("Update01", "Application"), "edit.exe %1");
    EXPECT_EQ(get("Update01", "IconFile"), " "); // cleared when the ring wrapped
}

TEST_F(UpdateSlotsTest, TheEleventhChangeClearsSlotOne) {
    UpdateSlots slots;
    EXPECT_EQ(slots.SaveActionSlot(action("a", "open")), 1);
    for (int i = 2; i <= 10; ++i)
        EXPECT_EQ(slots.SaveEntrySlot(entry(QString("t%1").arg(i))), i);
    EXPECT_EQ(slots.SlotsWrapped, 0);
    EXPECT_EQ(slots.SaveEntrySlot(entry("eleven")), 1);
    EXPECT_EQ(slots.SlotsWrapped, 1);
    const SlotValues one = UpdateSlots::load(1);
    EXPECT_EQ(one.FileType, "eleven Document");
    // The action keys of the slot's earlier content were cleared, not left behind.
    EXPECT_EQ(one.ActionHandle, " ");
    EXPECT_EQ(one.Application, " ");
    EXPECT_EQ(slots.SaveEntrySlot(entry("twelve")), 2);
    EXPECT_EQ(slots.SlotsWrapped, 2);
}

TEST_F(UpdateSlotsTest, OnlyTheMatchingSlotIsEnabled) {
    UpdateSlots slots;
    slots.SaveEntrySlot(entry("txt"));
    slots.SaveActionSlot(action("txt", "open"));
    EXPECT_EQ(slots.EnableEntrySlot(entry("txt")), 1);
    EXPECT_EQ(slots.EnableActionSlot(action("txt", "open")), 2);
    EXPECT_EQ(slots.EnableActionSlot(action("txt", "print")), 0);
    SlotValues other = entry("txt");
    other.WhichKind = whichKind(false, false); // the same type shown by extension
    EXPECT_EQ(slots.EnableEntrySlot(other), 0);
    other = entry("txt");
    other.FileExtension = "TXT LOG";
    EXPECT_EQ(slots.EnableEntrySlot(other), 0);
    other = entry("txt");
    other.Handle = "other";
    EXPECT_EQ(slots.EnableEntrySlot(other), 0);
    other = entry("txt");
    other.FileType = "Other";
    EXPECT_EQ(slots.EnableEntrySlot(other), 0);
}

TEST_F(UpdateSlotsTest, RestoreGivesTheSavedValues) {
    UpdateSlots slots;
    EXPECT_EQ(restoreSlot(slots, 1).kind, SlotRestore::Kind::Nothing);
    slots.SaveEntrySlot(entry("txt"));
    SlotRestore r = restoreSlot(slots, 1);
    EXPECT_EQ(r.kind, SlotRestore::Kind::Entry);
    EXPECT_EQ(r.status, "Restore Request!");
    EXPECT_EQ(r.values.IconFile, "C:\\a.dll");
    EXPECT_EQ(r.values.IconNumber, "3");
    EXPECT_EQ(r.values.ShowExtension, "yes");
    EXPECT_EQ(r.values.QuickView, "no");
    slots.SaveActionSlot(action("txt", "open"));
    r = restoreSlot(slots, 2);
    EXPECT_EQ(r.kind, SlotRestore::Kind::Action);
    EXPECT_EQ(r.values.Application, "edit.exe %1");
    // A slot cleared behind the menu's back is an invalid request.
    UpdateSlots::ClearSlot(1);
    r = restoreSlot(slots, 1);
    EXPECT_EQ(r.kind, SlotRestore::Kind::Invalid);
    EXPECT_EQ(r.status, "Restore Request Invalid!");
}

TEST_F(UpdateSlotsTest, AnotherProcessContinuesTheRing) {
    UpdateSlots first;
    first.SaveEntrySlot(entry("txt"));
    first.SaveEntrySlot(entry("doc"));
    UpdateSlots later = UpdateSlots::fromSettings();
    EXPECT_EQ(later.captions[1], "doc Document");
    EXPECT_EQ(later.SaveEntrySlot(entry("doc")), 2);
    EXPECT_EQ(later.SaveEntrySlot(entry("bmp")), 3);
}
