// orvx action, delete and delete-action as scripts use them: every deletion is undone by merging
// the backup it wrote, byte for byte; protected entries are refused; the status texts are the
// window's.

#include "model/default_registry.h"
#include "model/detail_view.h"
#include "model/loading.h"
#include "orvx_run.h"
#include "registry/reg_file.h"
#include "settings/settings_store.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

// A hive holding the default classes, and what the window's lists hold for them.
class DefaultClasses {
public:
    explicit DefaultClasses(const QString& name)
        : dir(freshDir(name)), hive(dir + "/r.hive"), memory(reg::Registry::inMemory()) {
        // Backup numbers and records start afresh.
        QFile::remove(settingsFilePath(QString::fromLatin1(kMainAppName)));
        EXPECT_EQ(model::writeDefaultClasses(*memory), 0);
        state.registry = memory.get();
        extensions = model::LoadExtensions(state).entries;
        fileTypes = model::BuildFileTypes(extensions).types;
        const reg::RegExport all =
            reg::exportRegFile(*memory, "HKEY_CLASSES_ROOT", reg::RegFormat::Regedit4);
        writeFile(dir + "/classes.reg", all.bytes);
        const OrvxRun r = run({"import", dir + "/classes.reg"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
    }
    OrvxRun run(const QStringList& args) const {
        return runOrvx(QStringList{"--hive", hive} + args);
    }
    QByteArray exportClasses() const {
        const OrvxRun r = run({"export", "HKEY_CLASSES_ROOT", dir + "/now.reg", "--regedit4"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return readFile(dir + "/now.reg");
    }
    // Runs a deletion, checks its status, and merges the backup it names.
    void deleteAndMerge(const QStringList& args, const QString& deletedName) const {
        const OrvxRun r = run(args);
        ASSERT_EQ(r.code, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        static const QRegularExpression status("^(.*) Deleted! +Backup=(Reg\\d+)\n$");
        const QRegularExpressionMatch m = status.match(r.out);
        ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
        EXPECT_EQ(m.captured(1), deletedName);
        const QString backup = QDir::currentPath() + "/Backup/" + m.captured(2) + ".reg";
        const OrvxRun merged = run({"import", backup});
        ASSERT_EQ(merged.code, 0) << merged.err.toStdString();
    }

    QString dir;
    QString hive;
    std::unique_ptr<reg::Registry> memory;
    reg::RegState state;
    QList<model::ExtensionEntry> extensions;
    QList<model::FileTypeEntry> fileTypes;
};

} // namespace

TEST(OrvxEdit, EveryDeletableFileTypeComesBackFromItsBackup) {
    DefaultClasses w("undo-types");
    const QByteArray before = w.exportClasses();
    ASSERT_FALSE(before.isEmpty());
    int deleted = 0;
    for (const model::FileTypeEntry& t : w.fileTypes) {
        if (model::isProtectedSelection(t.Extensions)) {
            EXPECT_EQ(w.run({"delete", t.TypeName}).code, 1) << t.TypeName.toStdString();
            continue;
        }
        // A type named by its extension key alone is that extension.
        const QString name =
            t.TypeName.startsWith(u'.') ? t.TypeName.mid(1).toUpper() : t.Description;
        w.deleteAndMerge({"delete", t.TypeName}, name);
        // Every few types compared on their own, so that a failure names its type; the types
        // are disjoint, so the last comparison covers the rest.
        if (++deleted % 16 == 1) {
            ASSERT_EQ(w.exportClasses(), before) << t.TypeName.toStdString();
        }
    }
    EXPECT_EQ(w.exportClasses(), before);
    EXPECT_GT(deleted, 100);
}

TEST(OrvxEdit, OneExtensionAndOneActionComeBackFromTheirBackups) {
    DefaultClasses w("undo-one");
    const QByteArray before = w.exportClasses();
    const model::FileTypeEntry* several = nullptr;
    for (const model::FileTypeEntry& t : w.fileTypes)
        if (t.Extensions.count(u' ') >= 2 && !model::isProtectedSelection(t.Extensions))
            several = &t;
    ASSERT_NE(several, nullptr);
    const QString ext = several->Extensions.section(u' ', 1, 1);
    w.deleteAndMerge({"delete", "." + ext.toLower()}, ext);
    EXPECT_EQ(w.exportClasses(), before);

    // The default action of a type with several: its Shell default is a blank meanwhile.
    QString typeName;
    model::ActionList actions;
    for (const model::FileTypeEntry& t : w.fileTypes) {
        actions = model::LoadActions(w.state, t.TypeName);
        if (actions.actions.size() >= 2 && actions.DefaultFound) {
            typeName = t.TypeName;
            break;
        }
    }
    ASSERT_FALSE(typeName.isEmpty());
    w.deleteAndMerge({"delete-action", typeName, actions.DefaultVerb}, actions.DefaultLabel);
    EXPECT_EQ(w.exportClasses(), before);
}

TEST(OrvxEdit, ProtectedAndMissingEntriesAreRefused) {
    DefaultClasses w("refused");
    const QByteArray before = w.exportClasses();
    const struct {
        QStringList args;
        QString error;
    } cases[] = {
        {{"delete", ".exe"}, ".exe is protected"},
        {{"delete", "*"}, "* is protected"},
        {{"delete", "Unknown"}, "Unknown is protected"},
        {{"delete", ".nosuch"}, "no extension .nosuch"},
        {{"delete", "nosuchfile"}, "no file type nosuchfile"},
        {{"delete-action", "txtfile", "nosuch"}, "txtfile has no action nosuch"},
        {{"action", "txtfile", "nosuch", "--name", "X"}, "--name is not taken"},
        {{"action", "txtfile", "open", "--default", "maybe"}, "--default takes yes or no"},
        {{"action", "txtfile", "open", "--dde", "no", "--dde-topic", "T"}, "need --dde yes"},
        {{"action", "txtfile", "View"}, "Please Enter The New Application Used To Perform Action!"},
        {{"delete"}, "usage: orvx delete"},
    };
    for (const auto& c : cases) {
        const OrvxRun r = w.run(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.error)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(w.exportClasses(), before);
    EXPECT_TRUE(QDir(QDir::currentPath() + "/Backup").entryList(QDir::Files).isEmpty() ||
                w.run({"backups"}).out.isEmpty());
}

TEST(OrvxEdit, ActionAddsAndChangesAsThePanelDoes) {
    DefaultClasses w("action");
    OrvxRun r =
        w.run({"action", "txtfile", "Open with Word", "--command", "C:\\WORD\\WORD.EXE %1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Open with Word Updated!\n");
    r = w.run({"action", "txtfile", "open_with_word", "--dde", "yes", "--dde-topic", "System",
               "--default", "yes"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Open with Word Updated!\n");
    r = w.run({"action", "txtfile", "Open_with_Word", "--dde", "yes"});
    EXPECT_EQ(r.out, "Nothing To Update!\n");
    r = w.run({"export", "HKEY_CLASSES_ROOT\\txtfile\\Shell", w.dir + "/shell.reg", "--regedit4"});
    const QByteArray shell = readFile(w.dir + "/shell.reg");
    EXPECT_TRUE(shell.contains("[HKEY_CLASSES_ROOT\\txtfile\\Shell]\r\n@=\"Open_with_Word\""));
    EXPECT_TRUE(shell.contains("[HKEY_CLASSES_ROOT\\txtfile\\Shell\\Open_with_Word\\ddeexec]\r\n"
                               "@=\"Default\""));
    EXPECT_TRUE(shell.contains("\\Open_with_Word\\ddeexec\\topic]\r\n@=\"System\""));
    r = w.run({"action", "txtfile", "Open_with_Word", "--name", "Word", "--dde", "no"});
    EXPECT_TRUE(r.out.startsWith("Open with Word Updated!")) << r.out.toStdString();
    r = w.run({"backups"});
    EXPECT_EQ(r.out.count("\tChange\t"), 2) << r.out.toStdString();
}

TEST(OrvxEdit, UndoTakesBackDeletesAndChangesNewestFirst) {
    DefaultClasses w("undo-command");
    const QByteArray before = w.exportClasses();
    OrvxRun r = w.run({"undo"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "orvx: Nothing To Undo!\n");
    static const QRegularExpression backupName("Backup=(Reg\\d+)\n$");

    const model::FileTypeEntry* several = nullptr;
    for (const model::FileTypeEntry& t : w.fileTypes)
        if (t.Extensions.count(u' ') >= 1 && !model::isProtectedSelection(t.Extensions) &&
            !t.TypeName.startsWith(u'.'))
            several = &t;
    ASSERT_NE(several, nullptr);
    r = w.run({"set", several->TypeName, "--quick-view", "yes", "--always-show", "yes"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString change = backupName.match(r.out).captured(1);
    ASSERT_FALSE(change.isEmpty()) << r.out.toStdString();
    const QByteArray changed = w.exportClasses();
    ASSERT_NE(changed, before);
    r = w.run({"delete", several->TypeName});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString deletion = backupName.match(r.out).captured(1);
    ASSERT_FALSE(deletion.isEmpty()) << r.out.toStdString();

    // The preview alone changes nothing.
    const QByteArray deleted = w.exportClasses();
    r = w.run({"undo", "--preview"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Undo " + deletion + " (Delete, " + several->Description + "): "))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("  create key [HKEY_CLASSES_ROOT\\" + several->TypeName + "]\n"))
        << r.out.toStdString();
    EXPECT_EQ(w.exportClasses(), deleted);

    // Undo of the delete brings the keys back byte for byte, with nothing to back up first; then
    // the change goes too, after a backup of what it replaces.
    r = w.run({"undo"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.contains("\nUndone: " + deletion + " (" + several->Description + ")   Merged "))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("Backup=")) << r.out.toStdString();
    EXPECT_EQ(w.exportClasses(), changed);
    r = w.run({"undo"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Undone: " + change + " (")) << r.out.toStdString();
    const QString undoBackup = backupName.match(r.out).captured(1);
    EXPECT_FALSE(undoBackup.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(w.exportClasses(), before);
    r = w.run({"undo"});
    EXPECT_EQ(r.code, 1);
    r = w.run({"backups"});
    EXPECT_TRUE(r.out.contains(change + "\tUndone\t")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(deletion + "\tUndone\t")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(undoBackup + "\tUndo\t")) << r.out.toStdString();
}

TEST(OrvxEdit, LinuxHandsTheOpenCommandOverAfterABackup) {
    DefaultClasses w("linux-open");
    const QByteArray before = w.exportClasses();
    OrvxRun r = w.run({"action", "txtfile", "open", "--linux", "--command", "x.exe %1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("--linux sets the command")) << r.err.toStdString();
    r = w.run({"action", "txtfile", "open", "--linux", "--dde", "yes"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(w.exportClasses(), before);

    r = w.run({"action", "txtfile", "open", "--linux"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    static const QRegularExpression status("^(.+) Updated!    Backup=(Reg\\d+)\n$");
    const QRegularExpressionMatch m = status.match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    const QByteArray now = w.exportClasses().toLower();
    EXPECT_TRUE(now.contains("[hkey_classes_root\\txtfile\\shell\\open\\command]\r\n"
                             "@=\"winebrowser \\\"%1\\\"\"\r\n"));
    EXPECT_FALSE(now.contains("[hkey_classes_root\\txtfile\\shell\\open\\ddeexec"));
    // Once more changes nothing; the backup brings the old command back.
    EXPECT_EQ(w.run({"action", "txtfile", "open", "--linux"}).out, "Nothing To Update!\n");
    const OrvxRun merged =
        w.run({"import", QDir::currentPath() + "/Backup/" + m.captured(2) + ".reg"});
    ASSERT_EQ(merged.code, 0) << merged.err.toStdString();
    EXPECT_EQ(w.exportClasses(), before);

    // A new verb takes the template as it is.
    r = w.run({"action", "txtfile", "linux", "--linux"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(w.exportClasses().toLower().contains(
        "[hkey_classes_root\\txtfile\\shell\\linux\\command]\r\n@=\"winebrowser \\\"%1\\\"\""));
}
