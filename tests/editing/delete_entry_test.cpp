// Deleting without a window: a file type with its extensions, one extension, an action; the
// backups they take, the tables they leave and every failure path.

#include "backup/backup_records.h"
#include "editing/delete_entry.h"
#include "faulty_edit_world.h"
#include "settings/app_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::editing;
using namespace orvanex::test;

namespace {

struct DeleteWorld : FaultyEditWorld {
    explicit DeleteWorld(const QString& name) : FaultyEditWorld(name) {
        f.addType("txtfile", "Text Document", {".txt"});
        f.addType("docfile", "Document", {".doc", ".dot", ".rtf"});
        f.write("docfile\\DefaultIcon", QString(), "winword.exe,1");
        f.write("docfile\\Shell", QString(), "open");
        f.write("docfile\\Shell\\print\\command", QString(), "winword.exe /p %1");
        f.write("docfile\\Shell\\print\\ddeexec", QString(), "[print]");
        f.write("docfile\\Shell\\print\\ddeexec\\topic", QString(), "System");
        f.load();
    }
    DeleteFields type(const QString& key, const QString& desc, const QString& exts) {
        return {true,      key,  desc,
                QString(), exts, {backup::BackupRequest::Mode::FileType, exts, desc}};
    }
    DeleteFields extension(const QString& key, const QString& desc, const QString& ext,
                           const QString& others) {
        return {false, key, desc, ext, others, {backup::BackupRequest::Mode::Extension, ext, desc}};
    }
    QStringList tableExts() const {
        QStringList exts;
        for (const model::ExtensionEntry& e : f.extensions)
            exts.append(e.Ext);
        return exts;
    }
    QString recordType(const QString& name) {
        backup::BackupRecord r;
        return backup::readBackupRecord(name, &r) ? r.Type : QString();
    }
};

} // namespace

TEST(DeleteEntry, AFileTypeGoesWithEveryExtensionAfterItsBackup) {
    DeleteWorld w("delete-type");
    const DeleteOutcome out = DeleteEntry(w.ctx, w.type("docfile", "Document", "DOC DOT RTF"));
    EXPECT_TRUE(out.deleted);
    EXPECT_EQ(out.status, "Document Deleted!     Backup=Reg1000");
    EXPECT_EQ(out.removedExtensions, QStringList({"RTF", "DOT", "DOC"}));
    EXPECT_TRUE(out.typeRemoved);
    EXPECT_EQ(out.typeDescription, "Document");
    EXPECT_EQ(out.typeExtensions, "DOC DOT RTF");
    for (const char* key : {".doc", ".dot", ".rtf", "docfile"})
        EXPECT_FALSE(w.exists(key)) << key;
    EXPECT_TRUE(w.exists(".txt"));
    EXPECT_TRUE(w.exists("txtfile"));
    EXPECT_EQ(w.tableExts(), QStringList({"TXT"}));
    ASSERT_EQ(w.f.fileTypes.size(), 1);
    EXPECT_EQ(w.f.fileTypes[0].TypeName, "txtfile");
    EXPECT_EQ(w.recordType("Reg1000"), "Delete");
    const QByteArray saved = readFile(backup::backupFilePath(w.f.backupFolder(), 1000));
    for (const char* key : {"[HKEY_CLASSES_ROOT\\.rtf]", "[HKEY_CLASSES_ROOT\\docfile\\Shell\\print"
                                                         "\\ddeexec\\topic]"})
        EXPECT_TRUE(saved.contains(key)) << key;
}

TEST(DeleteEntry, AnExtensionGoesAloneOrWithItsOnlyType) {
    DeleteWorld w("delete-ext");
    DeleteOutcome out = DeleteEntry(w.ctx, w.extension("docfile", "Document", "DOT", "DOC RTF"));
    EXPECT_EQ(out.status, "DOT Deleted!     Backup=Reg1000");
    EXPECT_FALSE(w.exists(".dot"));
    EXPECT_TRUE(w.exists("docfile"));
    EXPECT_FALSE(out.typeRemoved);
    EXPECT_EQ(out.remainingExtensions, "DOC RTF");
    EXPECT_EQ(w.f.fileTypes[0].Extensions, "DOC RTF");
    EXPECT_EQ(w.tableExts(), QStringList({"DOC", "RTF", "TXT"}));

    out = DeleteEntry(w.ctx, w.extension("txtfile", "Text Document", "TXT", ""));
    EXPECT_EQ(out.status, "TXT Deleted!     Backup=Reg1001");
    EXPECT_FALSE(w.exists(".txt"));
    EXPECT_FALSE(w.exists("txtfile"));
    EXPECT_TRUE(out.typeRemoved);
    EXPECT_EQ(w.f.fileTypes.size(), 1);
}

TEST(DeleteEntry, AFailingExtensionStopsTheRestAndKeepsWhatWentBefore) {
    DeleteWorld w("delete-ext-fail");
    w.faulty.failWritesAt(".dot");
    const DeleteOutcome out = DeleteEntry(w.ctx, w.type("docfile", "Document", "DOC DOT RTF"));
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.beep);
    EXPECT_EQ(out.status, "Error!   Document Not Deleted!   .dot    " +
                              FaultyEditWorld::errorText(reg::status::AccessDenied));
    EXPECT_FALSE(w.exists(".rtf"));
    EXPECT_TRUE(w.exists(".dot"));
    EXPECT_TRUE(w.exists(".doc"));
    EXPECT_TRUE(w.exists("docfile"));
    // The tables follow the registry: the type stays with the extensions it still has.
    EXPECT_EQ(out.removedExtensions, QStringList({"RTF"}));
    EXPECT_FALSE(out.typeRemoved);
    EXPECT_EQ(w.f.fileTypes[0].Extensions, "DOC DOT");
    EXPECT_TRUE(QFile::exists(backup::backupFilePath(w.f.backupFolder(), 1000)));
}

TEST(DeleteEntry, AFailingTypeKeyIsReportedByName) {
    DeleteWorld w("delete-type-fail");
    w.faulty.failWritesAt("docfile");
    DeleteOutcome out = DeleteEntry(w.ctx, w.type("docfile", "Document", "DOC DOT RTF"));
    EXPECT_FALSE(out.deleted);
    EXPECT_EQ(out.status, "Error!   Document Not Deleted!   docfile    " +
                              FaultyEditWorld::errorText(reg::status::AccessDenied));
    EXPECT_FALSE(w.exists(".doc"));
    EXPECT_TRUE(w.exists("docfile"));
    EXPECT_TRUE(out.typeRemoved); // no extension names it any more

    w.faulty.failWritesAt("txtfile", reg::status::CantWrite);
    out = DeleteEntry(w.ctx, w.extension("txtfile", "Text Document", "TXT", ""));
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.status.startsWith("Error!   TXT Not Deleted!   txtfile    "));
}

TEST(DeleteEntry, AKeyThatIsGoneAlreadyCountsAsDeleted) {
    DeleteWorld w("delete-gone");
    ASSERT_EQ(reg::DeleteKeyTree(w.f.state(), "docfile"), 0);
    const DeleteOutcome out =
        DeleteEntry(w.ctx, w.extension("docfile", "Document", "DOC", "DOT RTF"));
    EXPECT_TRUE(out.deleted);
    // An empty type key never names HKEY_CLASSES_ROOT itself.
    const DeleteOutcome none = DeleteEntry(w.ctx, w.extension("", "Text Document", "TXT", ""));
    EXPECT_TRUE(none.deleted);
    EXPECT_TRUE(w.exists("txtfile"));
    EXPECT_TRUE(w.exists(".dot"));
}

TEST(DeleteEntry, ActionsGoWithTheirDdeKeysAndTheDefault) {
    DeleteWorld w("delete-action");
    const backup::BackupRequest request{backup::BackupRequest::Mode::FileType, "DOC DOT RTF",
                                        "Document"};
    DeleteOutcome out = DeleteAction(w.ctx, {"docfile", "print", "print", request});
    EXPECT_EQ(out.status, "print Deleted!    Backup=Reg1000");
    EXPECT_EQ(w.recordType("Reg1000"), "Delete");
    EXPECT_FALSE(w.exists("docfile\\Shell\\print"));
    EXPECT_EQ(w.read("docfile\\Shell"), "open");

    // The default action, the last one: its Shell key goes too.
    out = DeleteAction(w.ctx, {"docfile", "open", "open", request});
    EXPECT_TRUE(out.deleted);
    EXPECT_FALSE(w.exists("docfile\\Shell"));
    EXPECT_TRUE(w.exists("docfile\\DefaultIcon"));

    w.faulty.failWritesAt("txtfile\\Shell\\open");
    out = DeleteAction(w.ctx, {"txtfile", "open", "Open it", request});
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.beep);
    EXPECT_TRUE(out.status.startsWith("Error!   Open it Not Updated!   txtfile\\Shell\\open"))
        << out.status.toStdString();
    EXPECT_TRUE(w.exists("txtfile\\Shell\\open\\command"));

    // Without a verb there is nothing to delete, and the Shell key is never taken for one.
    out = DeleteAction(w.ctx, {"txtfile", "", "", request});
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(w.exists("txtfile\\Shell"));
}

TEST(DeleteEntry, TheDefaultActionLeavesABlankDefault) {
    DeleteWorld w("delete-default");
    const backup::BackupRequest request{backup::BackupRequest::Mode::FileType, "DOC DOT RTF",
                                        "Document"};
    EXPECT_TRUE(DeleteAction(w.ctx, {"docfile", "open", "open", request}).deleted);
    EXPECT_EQ(w.read("docfile\\Shell"), " ");
    EXPECT_TRUE(w.exists("docfile\\Shell\\print"));
}

TEST(DeleteEntry, TheRequestNamesTheBackupFileToCome) {
    DeleteWorld w("delete-request");
    const QString prefix =
        QString(48, u' ') + "Delete Request!" + QString(50, u' ') + "Registry Backup File: ";
    const QString folder = backupFolderPath(w.f.appFolder);
    EXPECT_EQ(deleteRequestStatus(w.f.appFolder),
              prefix + QDir::toNativeSeparators(folder + "/Reg1000.reg"));
    DeleteEntry(w.ctx, w.extension("docfile", "Document", "DOT", "DOC RTF"));
    EXPECT_EQ(deleteRequestStatus(w.f.appFolder),
              prefix + QDir::toNativeSeparators(folder + "/Reg1001.reg"));
}

TEST(DeleteEntry, WithoutExtensionDropsOneWord) {
    EXPECT_EQ(withoutExtension("DOC DOT RTF", "DOT"), "DOC RTF");
    EXPECT_EQ(withoutExtension("DOC", "DOC"), "");
    EXPECT_EQ(withoutExtension("DOC DOCX", "DOC"), "DOCX");
}

TEST(DeleteEntry, NothingIsDeletedWithoutItsBackup) {
    DeleteWorld w("delete-no-backup");
    DeleteFields fields = w.extension("docfile", "Document", "DOT", "DOC RTF");
    fields.backup.FileExt = "NOPE"; // no such extension: the backup cannot be taken
    DeleteOutcome out = DeleteEntry(w.ctx, fields);
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.beep);
    EXPECT_TRUE(out.status.startsWith("Error!   DOT Not Deleted!   Backup Failed!    "))
        << out.status.toStdString();
    EXPECT_TRUE(w.exists(".dot"));
    EXPECT_EQ(w.tableExts(), QStringList({"DOC", "DOT", "RTF", "TXT"}));
    EXPECT_TRUE(out.removedExtensions.isEmpty());

    out = DeleteAction(
        w.ctx,
        {"docfile", "print", "print", {backup::BackupRequest::Mode::FileType, "NOPE", "Nothing"}});
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.status.startsWith("Error!   print Not Updated!   Backup Failed!    "));
    EXPECT_TRUE(w.exists("docfile\\Shell\\print\\ddeexec"));
    EXPECT_EQ(w.faulty.failedWrites(), 0);
}
