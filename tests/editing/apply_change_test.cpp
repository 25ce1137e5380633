// Apply and the add-extensions panel without a window: every status text, stopping rule and
// failure path, with a registry that fails chosen writes.

#include "backup/backup_records.h"
#include "editing/add_extensions.h"
#include "editing/apply_change.h"
#include "faulty_edit_world.h"
#include "model/extension_tokens.h"
#include "model/loading.h"
#include "registry/faulty_registry.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::editing;
using namespace orvanex::test;

namespace {

// The editing context with a text type, a document type and an extension that names no type.
struct World : FaultyEditWorld {
    explicit World(const QString& name) : FaultyEditWorld(name) {
        f.addType("txtfile", "Text Document", {".txt"});
        f.addType("docfile", "Document", {".doc", ".dot"});
        f.write("docfile\\QuickView", QString(), "*");
        f.write("docfile\\DefaultIcon", QString(), "winword.exe");
        f.write(".xyz", "Content Type", "text/xyz"); // an extension that names no type
        f.load();
    }
    // The change fields of docfile as its detail view loads them.
    ChangeFields docChange() {
        ChangeFields c;
        c.CurrentTypeKey = "docfile";
        c.txtDesc = "Document";
        c.txtIcon = c.OldIconFile = "winword.exe";
        c.iconNumber = c.OldIconNumber = "";
        c.OldQuickView = "yes";
        c.OldAlwaysShow = "no";
        c.quickViewChecked = true;
        c.backup = {backup::BackupRequest::Mode::FileType, "DOC DOT", "Document"};
        c.slot.FileType = "Document";
        c.slot.FileExtension = "DOC DOT";
        c.slot.WhichKind = backup::whichKind(true, false);
        return c;
    }
};

qsizetype countExt(const QList<model::ExtensionEntry>& entries, const QString& ext) {
    return std::count_if(entries.begin(), entries.end(),
                         [&](const model::ExtensionEntry& e) { return e.Ext == ext; });
}

} // namespace

TEST(ExtensionTokens, SplitSortAndJoin) {
    const model::SplitWord s = model::SplitLastWord("abc def ghi");
    EXPECT_EQ(s.before, "abc def");
    EXPECT_EQ(s.word, "ghi");
    EXPECT_TRUE(s.found);
    EXPECT_FALSE(model::SplitLastWord("abc").found);
    EXPECT_EQ(model::SplitLastWord("abc").word, "abc");
    EXPECT_EQ(model::SplitLastWord("abc ").word, "");
    EXPECT_EQ(model::ExtensionTokens("  abc  def ghi "), QStringList({"ghi", "def", "abc"}));
    EXPECT_EQ(model::SortJoinExtensions("txt Doc  abc"), "ABC DOC TXT");
    EXPECT_EQ(model::SortJoinExtensions("B A B"), "A B B");
    EXPECT_EQ(model::SortJoinExtensions("Z a"), "A Z");
    EXPECT_EQ(model::SortJoinExtensions("a_ aa a1"), "A1 AA A_"); // by character code
    QStringList many;
    for (int i = 0; i < 120; ++i)
        many << QString("e%1").arg(119 - i, 3, 10, QChar('0'));
    const QStringList joined = model::SortJoinExtensions(many.join(' ')).split(' ');
    ASSERT_EQ(joined.size(), 120); // every word kept
    EXPECT_EQ(joined.first(), "E000");
    EXPECT_EQ(joined.last(), "E119");
    EXPECT_EQ(model::ExtensionWord(".abc"), "abc");
    EXPECT_EQ(model::ExtensionWord("..abc"), ".abc");
    EXPECT_EQ(typedExtensions(". .abc def"), QStringList({"def", "abc"}));
}

TEST(ApplyChange, NothingToUpdateTakesNoBackup) {
    World w("nothing");
    ChangeFields c = w.docChange();
    c.iconNumber = "  "; // the trimmed number is compared
    const ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "Nothing To Update!");
    EXPECT_TRUE(r.nothingToUpdate);
    EXPECT_FALSE(r.updated);
    EXPECT_TRUE(backup::listBackupRecords().isEmpty());
    EXPECT_EQ(w.slots.LastSlot, 0);
}

TEST(ApplyChange, ChangesAreBackedUpWrittenAndRecordedInASlot) {
    World w("change");
    ChangeFields c = w.docChange();
    c.quickViewChecked = false;
    c.alwaysShowChecked = true;
    c.txtIcon = "%1";
    ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "Document Updated!   Backup=Reg1000");
    EXPECT_TRUE(r.updated);
    EXPECT_FALSE(r.beep);
    EXPECT_FALSE(w.exists("docfile\\QuickView"));
    EXPECT_EQ(w.read("docfile", "AlwaysShowExt"), "*");
    EXPECT_EQ(w.read("docfile\\DefaultIcon"), "%1");
    // The backup holds the state before the change, and is marked as a change.
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.Type, "Change");
    EXPECT_TRUE(readFile(record.File).contains("[HKEY_CLASSES_ROOT\\docfile\\QuickView]"));
    EXPECT_EQ(r.slot, 1);
    const backup::SlotValues slot = backup::UpdateSlots::load(1);
    EXPECT_EQ(slot.Handle, "docfile");
    EXPECT_EQ(slot.IconFile, "%1");
    EXPECT_EQ(slot.QuickView, "no");
    EXPECT_EQ(slot.ShowExtension, "yes");
    EXPECT_EQ(slot.FileExtension, "DOC DOT");
    // The old values follow the change: the same Apply again has nothing to do.
    EXPECT_EQ(c.OldQuickView, "no");
    EXPECT_EQ(c.OldAlwaysShow, "yes");
    EXPECT_EQ(c.OldIconFile, "%1");
    EXPECT_EQ(ApplyChange(w.ctx, c).status, "Nothing To Update!");
    // Back again: the marks are removed and set the other way.
    c.quickViewChecked = true;
    c.alwaysShowChecked = false;
    c.txtIcon.clear(); // an empty icon deletes DefaultIcon
    r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "Document Updated!   Backup=Reg1001");
    EXPECT_EQ(r.slot, 1); // the same entry reuses its slot
    EXPECT_EQ(w.read("docfile\\QuickView"), "*");
    EXPECT_EQ(w.read("docfile", "AlwaysShowExt"), "");
    EXPECT_FALSE(w.exists("docfile\\DefaultIcon"));
}

TEST(ApplyChange, IconNumberAloneIsAChange) {
    World w("number");
    QDir().mkpath(w.f.appFolder + "/drive_c/WINDOWS");
    ChangeFields c = w.docChange();
    c.iconNumber = " 2 ";
    EXPECT_EQ(ApplyChange(w.ctx, c).status, "Document Updated!   Backup=Reg1000");
    EXPECT_EQ(c.OldIconNumber, "2");
}

TEST(ApplyChange, MissingIconFileStopsWithoutASlot) {
    World w("missingicon");
    ChangeFields c = w.docChange();
    c.quickViewChecked = false;
    c.txtIcon = "C:\\NOWHERE\\pic.ico";
    const ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "C:\\NOWHERE\\pic.ico     (Icon File Does Not Exist!)     Not Updated");
    EXPECT_FALSE(r.updated);
    EXPECT_EQ(w.slots.LastSlot, 0);
    EXPECT_EQ(c.OldQuickView, "yes");             // old values kept
    EXPECT_FALSE(w.exists("docfile\\QuickView")); // what was written before the icon stays
    EXPECT_EQ(w.read("docfile\\DefaultIcon"), "winword.exe");
}

TEST(ApplyChange, FailingWriteStopsTheRestAndKeepsTheBackup) {
    World w("failing");
    w.faulty.failWritesAt("docfile\\QuickView");
    ChangeFields c = w.docChange();
    c.quickViewChecked = false;
    c.alwaysShowChecked = true;
    const ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status,
              "Error!   Document Not Updated!   " + w.errorText(reg::status::AccessDenied));
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.updated);
    EXPECT_EQ(w.read("docfile", "AlwaysShowExt"), ""); // later steps skipped
    EXPECT_EQ(w.slots.LastSlot, 0);
    EXPECT_EQ(c.OldQuickView, "yes");
    EXPECT_EQ(backup::listBackupRecords().size(), 1);

    // A failure at the last step keeps the earlier writes.
    w.faulty.clearFailures();
    w.faulty.failWritesAt("docfile\\DefaultIcon", reg::status::CantWrite);
    c.txtIcon = "%1";
    EXPECT_EQ(ApplyChange(w.ctx, c).status,
              "Error!   Document Not Updated!   " + w.errorText(reg::status::CantWrite));
    EXPECT_FALSE(w.exists("docfile\\QuickView"));
    EXPECT_EQ(w.read("docfile", "AlwaysShowExt"), "*");
}

// A file where the Backup folder belongs: no backup can be written, whoever runs the test.
void blockBackups(World& w) {
    QDir(w.f.backupFolder()).removeRecursively();
    QFile blocker(w.f.backupFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

TEST(ApplyChange, FailedBackupStopsTheChangeAndSaysWhy) {
    World w("nobackup");
    blockBackups(w);
    ChangeFields c = w.docChange();
    c.quickViewChecked = false;
    const ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "Error!   Document Not Updated!   Backup Failed!    The Backup Folder "
                        "Cannot Be Written: " +
                            QDir::toNativeSeparators(w.f.backupFolder()));
    EXPECT_TRUE(r.backupFailed);
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.updated);
    EXPECT_TRUE(w.exists("docfile\\QuickView"));
    EXPECT_EQ(c.OldQuickView, "yes"); // nothing applied, nothing remembered
    EXPECT_EQ(w.slots.LastSlot, 0);
    EXPECT_EQ(w.faulty.failedWrites(), 0);

    // A backup that cannot find its entry stops it as well, naming the lookup error.
    World other("nobackup-lookup");
    ChangeFields d = other.docChange();
    d.quickViewChecked = false;
    d.backup.FileExt = "NOPE";
    EXPECT_EQ(ApplyChange(other.ctx, d).status,
              "Error!   Document Not Updated!   Backup Failed!    " +
                  backup::typeLookupError("NOPE"));
    EXPECT_TRUE(other.exists("docfile\\QuickView"));
}

TEST(ApplyChange, DescriptionAndContentTypeAreWrittenAfterTheBackup) {
    World w("desc");
    ChangeFields c = w.docChange();
    c.OldDescription = "Document";
    c.descriptionEditable = descriptionEditable(w.state, "docfile");
    ASSERT_TRUE(c.descriptionEditable);
    c.txtDesc = "Word Text";
    ChangeOutcome r = ApplyChange(w.ctx, c);
    EXPECT_EQ(r.status, "Word Text Updated!   Backup=Reg1000");
    EXPECT_TRUE(r.descriptionChanged);
    EXPECT_EQ(w.read("docfile"), "Word Text");
    EXPECT_TRUE(readFile(w.f.backupFolder() + "/Reg1000.reg").contains("@=\"Document\""));
    for (const model::ExtensionEntry& e : w.f.extensions) {
        if (e.TypeName == "docfile") {
            EXPECT_EQ(e.Description, "Word Text");
        }
    }
    EXPECT_EQ(w.f.fileTypes[1].Description, "Word Text");
    EXPECT_EQ(c.OldDescription, "Word Text");
    EXPECT_EQ(backup::UpdateSlots::load(r.slot).FileType, "Word Text");
    EXPECT_EQ(ApplyChange(w.ctx, c).status, "Nothing To Update!");

    // A description the type key does not hold is never written, even when the field differs.
    EXPECT_FALSE(descriptionEditable(w.state, ".xyz"));
    EXPECT_FALSE(descriptionEditable(w.state, "*"));
    EXPECT_FALSE(descriptionEditable(w.state, "nosuchfile"));
    c.descriptionEditable = false;
    c.txtDesc = "Other";
    EXPECT_EQ(ApplyChange(w.ctx, c).status, "Nothing To Update!");

    // The content type of the extension key shown: written, then deleted when emptied.
    ChangeFields x = w.docChange();
    x.ExtensionKey = extensionKeyOf(w.f.extensions, "XYZ");
    ASSERT_EQ(x.ExtensionKey, ".xyz");
    x.OldContentType = "text/xyz";
    x.txtMIME = " text/x-first ";
    r = ApplyChange(w.ctx, x);
    EXPECT_TRUE(r.contentTypeChanged);
    EXPECT_EQ(w.read(".xyz", "Content Type"), "text/x-first");
    EXPECT_EQ(x.OldContentType, "text/x-first");
    x.txtMIME = "";
    EXPECT_TRUE(ApplyChange(w.ctx, x).updated);
    reg::RegValue v;
    EXPECT_NE(reg::ReadValue(w.f.state(), ".xyz", "Content Type", v), reg::status::Success);
    EXPECT_EQ(x.OldContentType, " ");
    EXPECT_EQ(ApplyChange(w.ctx, x).status, "Nothing To Update!"); // " " is no content type
    // Deleting a value that is not there is no failure.
    x.OldContentType = "text/stale";
    EXPECT_TRUE(ApplyChange(w.ctx, x).updated);
}

TEST(ApplyChange, AFailedContentTypeWriteIsReported) {
    World w("mimefail");
    w.faulty.failWritesAt(".xyz", reg::status::CantWrite);
    ChangeFields x = w.docChange();
    x.ExtensionKey = ".xyz";
    x.OldContentType = "text/xyz";
    x.txtMIME = "text/other";
    const ChangeOutcome r = ApplyChange(w.ctx, x);
    EXPECT_EQ(r.status, "Error!   Document Not Updated!   " + w.errorText(reg::status::CantWrite));
    EXPECT_FALSE(r.updated);
    EXPECT_EQ(w.read(".xyz", "Content Type"), "text/xyz");
}

TEST(AddExtensions, AFailedBackupOfAClaimedKeyStopsBeforeIt) {
    World w("claim-nobackup");
    blockBackups(w);
    const AddExtensionsOutcome r = AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "xyz");
    EXPECT_FALSE(r.added);
    EXPECT_TRUE(r.status.startsWith("** Error **   .xyz Not Added!   Backup Failed!    "))
        << r.status.toStdString();
    EXPECT_EQ(w.read(".xyz", "Content Type"), "text/xyz");
    EXPECT_EQ(w.read(".xyz"), "");
    const NewTypeOutcome n = ApplyNewType(w.ctx, {"Mine", "xyz", "", "", false, false});
    EXPECT_FALSE(n.added);
    EXPECT_TRUE(n.status.startsWith("Error!   Mine Not Added!   Backup Failed!    "))
        << n.status.toStdString();
    EXPECT_EQ(w.read(".xyz"), "");
}

TEST(ApplyNewType, WritesEveryExtensionAndTheType) {
    World w("newtype");
    NewTypeFields f{"My Data", "abc def", "%1", "", true, true};
    const NewTypeOutcome r = ApplyNewType(w.ctx, f);
    EXPECT_EQ(r.status, "My Data Added!");
    EXPECT_TRUE(r.added);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.NewTypeKey, "defabcFileExt");
    EXPECT_EQ(r.joinedExtensions, "ABC DEF");
    EXPECT_EQ(w.read(".def"), "defabcFileExt");
    EXPECT_EQ(w.read(".abc"), "defabcFileExt");
    EXPECT_EQ(w.read("defabcFileExt"), "My Data");
    EXPECT_EQ(w.read("defabcFileExt", "AlwaysShowExt"), "*");
    EXPECT_EQ(w.read("defabcFileExt\\QuickView"), "*");
    EXPECT_EQ(w.read("defabcFileExt\\DefaultIcon"), "%1");
    // .def first, then .abc, at the end of the table; the type at the end of its list.
    ASSERT_EQ(r.extensionRows.size(), 2);
    EXPECT_EQ(w.f.extensions[r.extensionRows[0]].KeyName, ".def");
    EXPECT_EQ(w.f.extensions[r.extensionRows[1]].KeyName, ".abc");
    EXPECT_EQ(w.f.extensions[r.extensionRows[1]].Description, "My Data");
    EXPECT_EQ(w.f.fileTypes.last().TypeName, "defabcFileExt");
    EXPECT_EQ(w.f.fileTypes.last().Extensions, "ABC DEF");
    EXPECT_TRUE(backup::listBackupRecords().isEmpty()); // nothing existed before
}

TEST(ApplyNewType, RefusalsWriteNothing) {
    World w("refusals");
    const auto apply = [&](const QString& desc, const QString& rel) {
        return ApplyNewType(w.ctx, NewTypeFields{desc, rel, "", "", false, false});
    };
    NewTypeOutcome r = apply("", "abc");
    EXPECT_EQ(r.status, "Please Enter Registered File Type!");
    EXPECT_EQ(r.focus, EditOutcome::Focus::Description);
    EXPECT_FALSE(r.finished);
    r = apply("X", "");
    EXPECT_EQ(r.status, "Please Enter File Extension(s)!");
    EXPECT_EQ(r.focus, EditOutcome::Focus::Extensions);
    EXPECT_EQ(apply("X", "   ").status, "Please Enter File Extension(s)!");
    r = apply("X", "abc Doc");
    EXPECT_EQ(r.status, "**Error** The File Extension Existed In Another File Type!   Doc");
    EXPECT_TRUE(r.beep);
    // Registry names ignore case, so do duplicates; a typed dot is not part of the name.
    r = apply("X", "ABC abc");
    EXPECT_EQ(r.status, "**Error** Duplicate File Extension! abc");
    EXPECT_TRUE(r.beep);
    EXPECT_EQ(apply("X", "abc .abc").status, "**Error** Duplicate File Extension! abc");
    EXPECT_FALSE(w.exists(".abc"));
    EXPECT_FALSE(w.exists("abcFileExt"));
    r = apply("X", ".abc");
    EXPECT_EQ(r.status, "X Added!");
    EXPECT_EQ(r.NewTypeKey, "abcFileExt");
    EXPECT_EQ(w.read(".abc"), "abcFileExt");
    EXPECT_FALSE(w.exists("..abc"));
}

TEST(ApplyNewType, ClaimingATypelessExtensionBacksItUp) {
    World w("claim");
    const NewTypeOutcome r = ApplyNewType(w.ctx, NewTypeFields{"Xyz", "XYZ", "", "", false, false});
    EXPECT_EQ(r.status, "Xyz Added!");
    EXPECT_EQ(r.backups, QStringList{"Reg1000"});
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord("Reg1000", &record));
    EXPECT_EQ(record.Type, "Change");
    EXPECT_TRUE(readFile(record.File).contains("\"Content Type\"=\"text/xyz\""));
    EXPECT_EQ(w.read(".xyz"), "XYZFileExt");
    EXPECT_EQ(w.read(".xyz", "Content Type"), "text/xyz");
    EXPECT_EQ(countExt(w.f.extensions, "XYZ"), 1); // listed once, now under the new type
}

TEST(ApplyNewType, FailureStaysInAddModeAndKeepsWhatWasWritten) {
    World w("newfail");
    w.faulty.failWritesAt(".ccc");
    NewTypeOutcome r =
        ApplyNewType(w.ctx, NewTypeFields{"Four", "ddd ccc bbb aaa", "", "", false, false});
    EXPECT_EQ(r.status, "Error!   Four Not Added!   " + w.errorText(reg::status::AccessDenied));
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.finished);
    EXPECT_EQ(w.read(".aaa"), "aaabbbcccdddFileExt");
    EXPECT_EQ(w.read(".bbb"), "aaabbbcccdddFileExt");
    EXPECT_FALSE(w.exists(".ccc"));
    EXPECT_FALSE(w.exists(".ddd"));
    EXPECT_EQ(r.extensionRows.size(), 2);
    EXPECT_EQ(w.f.fileTypes.last().TypeName, "txtfile"); // the type is not listed yet
    EXPECT_FALSE(r.typeAppended);

    // The type key itself failing.
    w.faulty.clearFailures();
    w.faulty.failWritesAt("qqqFileExt");
    r = ApplyNewType(w.ctx, NewTypeFields{"Q", "qqq", "", "", false, false});
    EXPECT_EQ(r.status, "Error!   Q Not Added!   " + w.errorText(reg::status::AccessDenied));
    EXPECT_EQ(w.read(".qqq"), "qqqFileExt");
}

TEST(ApplyNewType, MissingIconEndsAddModeWithTheKeysWritten) {
    World w("newicon");
    const NewTypeOutcome r =
        ApplyNewType(w.ctx, NewTypeFields{"Pic", "pcx", "C:\\NO\\pic.ico", "0", false, true});
    EXPECT_EQ(r.status, "C:\\NO\\pic.ico     (Icon File Does Not Exist!)     Not Updated");
    EXPECT_TRUE(r.finished);
    EXPECT_FALSE(r.added);
    EXPECT_EQ(w.read("pcxFileExt\\QuickView"), "*");
    EXPECT_FALSE(w.exists("pcxFileExt\\DefaultIcon"));
}

TEST(AddExtensions, PanelOpensOnlyForARealTypeShownByType) {
    World w("panel");
    EXPECT_TRUE(OpenAddExtensions(w.ctx, SelectBy::FileExtension, "Document", "DOC DOT").ignored);
    OpenPanelOutcome r = OpenAddExtensions(w.ctx, SelectBy::FileType, "Document", "DOC DOT");
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.TargetTypeKey, "docfile");
    EXPECT_EQ(r.status, "Please Enter The New File Extension(s)");
    r = OpenAddExtensions(w.ctx, SelectBy::FileType, "ABC__File", "ABC");
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(r.status, kCannotAddExtension);
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(OpenAddExtensions(w.ctx, SelectBy::FileType, "Document", "DOC GONE").opened);
    ASSERT_EQ(reg::DeleteKeyTree(w.f.state(), "txtfile"), 0);
    EXPECT_FALSE(OpenAddExtensions(w.ctx, SelectBy::FileType, "Text Document", "TXT").opened);
}

TEST(AddExtensions, AddsSortedAndRefusesAsApplyDoes) {
    World w("addexts");
    AddExtensionsOutcome r = AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "");
    EXPECT_EQ(r.status, "Please Enter New File Extension(s)!");
    EXPECT_TRUE(r.beep);
    r = AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "abc txt");
    EXPECT_EQ(r.status, "**Error** The File Extension Existed In Another File Type!   txt");
    r = AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "wri WRI");
    EXPECT_EQ(r.status, "**Error** Duplicate File Extension Entered!   WRI");
    EXPECT_FALSE(w.exists(".wri"));
    r = AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "wri .ASC");
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.status, "File Extension(s) Added!   wri .ASC"); // no backup, no suffix
    EXPECT_EQ(r.extensions, "ASC DOC DOT WRI");
    EXPECT_EQ(w.f.fileTypes[r.typeRow].Extensions, "ASC DOC DOT WRI");
    EXPECT_EQ(w.read(".asc"), "docfile");
    EXPECT_EQ(w.read(".wri"), "docfile");
    EXPECT_EQ(w.f.extensions[r.extensionRows[0]].KeyName, ".asc");
    EXPECT_EQ(w.f.extensions[r.extensionRows[0]].Description, "Document");
    // Claiming a key that names no type backs it up and names the backup.
    r = AddExtensions(w.ctx, "docfile", "Document", "ASC DOC DOT WRI", "xyz");
    EXPECT_EQ(r.status, "File Extension(s) Added!   xyz    Backup=Reg1000");
    EXPECT_EQ(countExt(w.f.extensions, "XYZ"), 1);
}

TEST(AddExtensions, FailureOnTheThirdOfFourKeepsTheFirstTwo) {
    World w("addfail");
    w.faulty.failWritesAt(".ccc", reg::status::CantWrite);
    const AddExtensionsOutcome r =
        AddExtensions(w.ctx, "docfile", "Document", "DOC DOT", "ddd ccc bbb aaa");
    EXPECT_EQ(r.status, "** Error **   .ccc Not Added!   " + w.errorText(reg::status::CantWrite));
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.added);
    EXPECT_EQ(w.read(".aaa"), "docfile");
    EXPECT_EQ(w.read(".bbb"), "docfile");
    EXPECT_FALSE(w.exists(".ddd"));
    EXPECT_EQ(r.extensionRows.size(), 2);
    EXPECT_EQ(r.typeRow, -1);
    EXPECT_EQ(w.f.fileTypes[1].Extensions, "DOC DOT"); // the type's list is not changed yet
}
