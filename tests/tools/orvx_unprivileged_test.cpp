// Failure paths that need files this user cannot read or write. As root every file is readable,
// so there orvx runs in a child that drops to nobody; CI, which runs as root, covers them too.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <grp.h>
#include <unistd.h>

using namespace orvanex::test;

namespace {

constexpr uid_t Nobody = 65534;

OrvxSetup unprivileged(const QString& dir) {
    OrvxSetup setup;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        setup.env.insert(QLatin1String(name), dir);
    setup.env.remove("ORVANEX_HIVE");
    if (::geteuid() == 0)
        setup.inChild = [] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
                ::_exit(126);
        };
    return setup;
}

void setMode(const QString& path, QFile::Permissions mode) {
    ASSERT_TRUE(QFile::setPermissions(path, mode)) << path.toStdString();
}

} // namespace

TEST(OrvxUnprivileged, UnreadableAndReadOnlyFilesFailCleanlyAndStayAsTheyWere) {
    // Below the system's temporary folder: the test's own root is closed to other users.
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/orvanex-unprivileged-XXXXXX"));
    ASSERT_TRUE(root.isValid());
    const QString dir = root.path();
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                      QFile::ExeOther;
    setMode(dir, open);
    const QByteArray reg = "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n";
    writeFile(dir + "/secret.reg", reg);
    setMode(dir + "/secret.reg", QFile::ReadOwner);
    writeFile(dir + "/ok.reg", reg);
    setMode(dir + "/ok.reg", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString readOnly = dir + "/ro.hive";
    const QString unreadable = dir + "/secret.hive";
    for (const QString& hive : {readOnly, unreadable})
        ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/ok.reg"}).code, 0);
    setMode(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    setMode(unreadable, QFile::ReadOwner);
    for (const QString& lock : {readOnly + ".lock", unreadable + ".lock"})
        if (QFile::exists(lock))
            setMode(lock, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray readOnlyBytes = readFile(readOnly);
    const QByteArray unreadableBytes = readFile(unreadable);
    const OrvxSetup setup = unprivileged(dir);

    OrvxRun r = runOrvx({"--hive", dir + "/new.hive", "import", dir + "/secret.reg"}, setup);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot read " + dir + "/secret.reg")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir + "/new.hive"));

    // A hive that cannot be written: the import fails and says so; the lists still work.
    r = runOrvx({"--hive", readOnly, "import", dir + "/ok.reg"}, setup);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    r = runOrvx({"--hive", readOnly, "extensions"}, setup);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "TXT\t \t \ttxtfile\t \n");

    // A hive that cannot be read at all fails every command that reads it.
    for (const QStringList& args :
         {QStringList{"extensions"}, QStringList{"types"}, QStringList{"show", ".txt"},
          QStringList{"import", dir + "/ok.reg"}}) {
        r = runOrvx(QStringList{"--hive", unreadable} + args, setup);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_FALSE(r.err.contains("no extension")) << r.err.toStdString();
    }
    // An export into a folder closed to writing leaves nothing behind.
    QDir().mkpath(dir + "/closed");
    setMode(dir + "/closed", QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                 QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    r = runOrvx({"--hive", readOnly, "export", "HKCR", dir + "/closed/out.reg"}, setup);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();
    EXPECT_TRUE(QDir(dir + "/closed").isEmpty());

    EXPECT_EQ(readFile(readOnly), readOnlyBytes);
    EXPECT_EQ(readFile(unreadable), unreadableBytes);
}

TEST(OrvxUnprivileged, NoChangeGoesAheadWhenItsBackupCannotBeWritten) {
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/orvanex-nobackup-XXXXXX"));
    ASSERT_TRUE(root.isValid());
    const QString dir = root.path();
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                     QFile::ExeOther;
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    setMode(dir, all);
    writeFile(dir + "/in.reg", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n"
                               "[HKEY_CLASSES_ROOT\\.xyz]\r\n\"Content Type\"=\"text/xyz\"\r\n"
                               "[HKEY_CLASSES_ROOT\\txtfile]\r\n@=\"Text Document\"\r\n"
                               "[HKEY_CLASSES_ROOT\\txtfile\\QuickView]\r\n@=\"*\"\r\n"
                               "[HKEY_CLASSES_ROOT\\txtfile\\Shell\\open\\command]\r\n"
                               "@=\"notepad.exe %1\"\r\n");
    const QString hive = dir + "/r.hive";
    ASSERT_EQ(runOrvx({"--hive", hive, "import", dir + "/in.reg"}).code, 0);
    // The hive may be written by anyone; the App folder's Backup folder by no one but root.
    setMode(hive, all);
    if (QFile::exists(hive + ".lock"))
        setMode(hive + ".lock", all);
    const QString app = dir + "/app";
    ASSERT_TRUE(QDir().mkpath(app + "/Backup"));
    setMode(app + "/Backup", readOnly);
    setMode(app, readOnly);
    const QByteArray before = readFile(hive);

    OrvxSetup setup = unprivileged(dir);
    const std::function<void()> drop = setup.inChild;
    const QByteArray appPath = QFile::encodeName(app);
    setup.inChild = [drop, appPath] {
        if (::chdir(appPath.constData()) != 0)
            ::_exit(125);
        if (drop)
            drop();
    };
    const QList<QStringList> changes{
        {"set", "txtfile", "--quick-view", "no"},
        {"set", ".txt", "--content-type", "text/x-first"},
        {"set", "Text Document", "--description", "Plain"},
        {"action", "txtfile", "open", "--command", "write.exe %1"},
        {"add-extensions", "txtfile", "xyz"},
        {"delete", "txtfile"},
    };
    for (const QStringList& change : changes) {
        const OrvxRun r = runOrvx(QStringList{"--hive", hive} + change, setup);
        EXPECT_EQ(r.code, 1) << change.join(' ').toStdString() << ": " << r.out.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("Backup Failed!    ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QDir::toNativeSeparators(app + "/Backup")))
            << r.err.toStdString();
        EXPECT_EQ(readFile(hive), before) << change.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(app + "/Backup").isEmpty());

    // The same user with a Backup folder it may write: the change goes ahead.
    setMode(app + "/Backup", all);
    const OrvxRun r = runOrvx({"--hive", hive, "set", "txtfile", "--quick-view", "no"}, setup);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Text Document Updated!   Backup=Reg1000\n");
    EXPECT_NE(readFile(hive), before);
}
