// A Wine prefix seen from outside the process: a wineserver holding it, orvx on it, and (when
// Wine is installed) Wine reading what orvx wrote.

#include "registry/wine_prefix.h"
#include "registry/wine_reg_text.h"
#include "registry/wine_registry.h"
#include "support/test_env.h"
#include "wine_fixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

// Another process holding the write lock on a server folder's lock file, as wineserver does
// (fcntl locks of this process would not show to itself).
class ServerLockHolder {
public:
    explicit ServerLockHolder(const QString& serverFolder) {
        QDir().mkpath(serverFolder);
        const QByteArray lockPath = QFile::encodeName(serverFolder + "/lock");
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(lockPath.constData(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
            struct flock fl {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            const char ok = fd >= 0 && ::fcntl(fd, F_SETLK, &fl) == 0 ? 'y' : 'n';
            if (::write(ready[1], &ok, 1) != 1)
                ::_exit(1);
            char c;
            while (::read(release[0], &c, 1) < 0 && errno == EINTR) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char ok = 'n';
        m_locked = ::read(ready[0], &ok, 1) == 1 && ok == 'y';
        ::close(ready[0]);
    }
    ~ServerLockHolder() { release(); }
    void release() {
        if (m_child <= 0)
            return;
        ::close(m_release);
        ::waitpid(m_child, nullptr, 0);
        m_child = -1;
    }
    bool locked() const { return m_locked; }

private:
    pid_t m_child = -1;
    int m_release = -1;
    bool m_locked = false;
};

struct ProcessRun {
    int code = -1;
    QString out, err;
};

ProcessRun run(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               int timeoutMs = 120000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs))
        p.kill();
    p.waitForFinished();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString makePrefix(const QString& name) {
    const QString dir = freshDir(name);
    EXPECT_TRUE(writeBytes(dir + "/system.reg", WineSystemReg));
    return dir;
}

const QByteArray TypeReg = "REGEDIT4\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\.orvxtest]\r\n@=\"orvxtest.file\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\orvxtest.file]\r\n@=\"ORVX Test File\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\orvxtest.file\\shell\\open\\command]\r\n"
                           "@=\"notepad.exe \\\"%1\\\"\"\r\n\r\n";

} // namespace

TEST(WinePrefixInUse, ReadOnlyWhileAServerHoldsTheLock) {
    const QString dir = makePrefix("wine-locked");
    const QString tmp = freshDir("wine-tmp");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    const QStringList folders = wine::serverFolders(dir);
    ASSERT_FALSE(folders.isEmpty());
    const QString ours = folders.filter(tmp + "/.wine-").value(0);
    ASSERT_FALSE(ours.isEmpty()) << folders.join(' ').toStdString();
    EXPECT_TRUE(ours.endsWith(QStringLiteral("/server-%1-%2")
                                  .arg(wine::stampOf(dir).device, 0, 16)
                                  .arg(wine::stampOf(dir).inode, 0, 16)));

    // Opened while the server runs: read-only with the message, nothing written.
    {
        ServerLockHolder server(ours);
        ASSERT_TRUE(server.locked());
        EXPECT_TRUE(wine::wineServerRunning(dir));
        WineRegistry r(dir);
        EXPECT_TRUE(r.isReadOnly());
        EXPECT_EQ(r.problem(), wine::prefixInUseMessage(dir));
        HKey k = 0;
        EXPECT_EQ(r.createKey(HKEY_CLASSES_ROOT, ".new", &k), status::AccessDenied);
        EXPECT_EQ(r.openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &k), 0);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", tmp);
        QFile::remove(dir + "/t.reg");
        ASSERT_TRUE(writeBytes(dir + "/t.reg", TypeReg));
        const ProcessRun o =
            run(ORVX_PROGRAM, {"--wine-prefix", dir, "import", dir + "/t.reg"}, env);
        EXPECT_EQ(o.code, 1);
        EXPECT_TRUE(o.err.contains(wine::prefixInUseMessage(dir))) << o.err.toStdString();
        EXPECT_EQ(readBytes(dir + "/system.reg"), WineSystemReg);
    }
    EXPECT_FALSE(wine::wineServerRunning(dir)); // the lock file stays, unlocked

    // A server that starts after the registry was opened stops the next save.
    WineRegistry r(dir);
    ASSERT_FALSE(r.isReadOnly());
    ServerLockHolder server(ours);
    HKey k = 0;
    EXPECT_EQ(r.createKey(HKEY_CLASSES_ROOT, ".new", &k), status::AccessDenied);
    EXPECT_TRUE(r.isReadOnly());
    EXPECT_EQ(r.problem(), wine::prefixInUseMessage(dir));
    EXPECT_EQ(readBytes(dir + "/system.reg"), WineSystemReg);
    EXPECT_EQ(r.openKeyEx(HKEY_CLASSES_ROOT, ".new", 0, KEY_ALL_USED, &k), status::FileNotFound);
    qunsetenv("TMPDIR");
}

TEST(WineOrvx, ImportsIntoAPrefixAndListsItsTypes) {
    const QString dir = makePrefix("wine-orvx");
    ASSERT_TRUE(writeBytes(dir + "/t.reg", TypeReg));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    ProcessRun o = run(ORVX_PROGRAM, {"--wine-prefix", dir, "import", dir + "/t.reg"}, env);
    ASSERT_EQ(o.code, 0) << o.err.toStdString();
    o = run(ORVX_PROGRAM, {"types", "--wine-prefix=" + dir}, env);
    ASSERT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains("ORVX Test File")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Text Document"));
    // --hive wins over --wine-prefix.
    o = run(ORVX_PROGRAM, {"--hive", dir + "/own.hive", "--wine-prefix", dir, "types"}, env);
    EXPECT_FALSE(o.out.contains("ORVX Test File"));
    o = run(ORVX_PROGRAM, {"--wine-prefix", dir + "/nowhere", "types"}, env);
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.err.contains("is not a folder"));
}

// With Wine installed: its programs, and a fresh prefix wineboot made for a test.
class WineReal : public ::testing::Test {
protected:
    void SetUp() override {
        wine = QStandardPaths::findExecutable("wine");
        wineboot = QStandardPaths::findExecutable("wineboot");
        wineserver = QStandardPaths::findExecutable("wineserver");
        if (wine.isEmpty() || wineboot.isEmpty() || wineserver.isEmpty())
            GTEST_SKIP() << "Wine is not installed";
    }
    void boot(const QString& name) {
        prefix = freshDir(name) + "/prefix";
        env = QProcessEnvironment::systemEnvironment();
        env.insert("WINEPREFIX", prefix);
        env.insert("WINEDEBUG", "-all");
        env.insert("DISPLAY", "");
        env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=");
        ASSERT_EQ(run(wineboot, {"-i"}, env, 600000).code, 0);
        finish();
    }
    // Waits for the prefix's server to end: then Wine's files are written.
    void finish() { run(wineserver, {"-w"}, env, 300000); }

    QString wine, wineboot, wineserver, prefix;
    QProcessEnvironment env;
};

// A fresh prefix, changed by orvx, read back by Wine itself.
TEST_F(WineReal, WineSeesWhatOrvxWrote) {
    ASSERT_NO_FATAL_FAILURE(boot("wine-real"));

    // Every value Wine wrote formats back to the same text.
    wine::FileText text;
    QString why;
    ASSERT_TRUE(wine::parseFile(readBytes(prefix + "/system.reg"), &text, &why))
        << why.toStdString();
    int values = 0;
    for (const wine::KeyText& key : text.keys)
        for (const wine::ValueText& v : key.values)
            if (!(v.type == 1 || v.type == 2 || v.type == 7) || !v.raw.contains("=hex(")) {
                EXPECT_EQ(wine::formatValue(v.name, v.type, v.data), v.raw);
                ++values;
            }
    EXPECT_GT(values, 10000);

    const QString unrelated = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
    ASSERT_EQ(run(wine, {"regedit", "/e", prefix + "/before.reg", unrelated}, env).code, 0);
    finish();
    ASSERT_TRUE(writeBytes(prefix + "/t.reg", TypeReg));
    const ProcessRun o =
        run(ORVX_PROGRAM, {"--wine-prefix", prefix, "import", prefix + "/t.reg"}, env);
    ASSERT_EQ(o.code, 0) << o.err.toStdString();

    const ProcessRun q =
        run(wine, {"reg", "query", "HKCR\\orvxtest.file\\shell\\open\\command"}, env);
    EXPECT_TRUE(q.out.contains("notepad.exe \"%1\"")) << q.out.toStdString();
    const ProcessRun e = run(wine, {"reg", "query", "HKCR\\.orvxtest"}, env);
    EXPECT_TRUE(e.out.contains("orvxtest.file")) << e.out.toStdString();
    ASSERT_EQ(run(wine, {"regedit", "/e", prefix + "/after.reg", unrelated}, env).code, 0);
    finish();
    const QByteArray before = readBytes(prefix + "/before.reg");
    EXPECT_GT(before.size(), 100);
    EXPECT_EQ(readBytes(prefix + "/after.reg"), before);
}

namespace {

// The key lines of a version 5 .reg file (UTF-16), in file order.
QStringList regKeyLines(const QByteArray& utf16) {
    QStringDecoder decode(QStringDecoder::Utf16LE);
    QString text = decode(utf16);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList keys;
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        if (line.startsWith(u'['))
            keys << line;
    return keys;
}

} // namespace

// A fresh prefix's classes as Wine's registry editor exports them, links included.
TEST_F(WineReal, ExportListsTheKeysWinesRegistryEditorLists) {
    ASSERT_NO_FATAL_FAILURE(boot("wine-links"));
    ASSERT_EQ(run(wine, {"regedit", "/e", prefix + "/wine.reg", "HKEY_CLASSES_ROOT"}, env).code, 0);
    finish();
    const ProcessRun o = run(ORVX_PROGRAM,
                             {"--wine-prefix", prefix, "export", "HKEY_CLASSES_ROOT",
                              prefix + "/orvx.reg", "--regedit5"},
                             env);
    ASSERT_EQ(o.code, 0) << o.err.toStdString();

    // The same keys; Wine lists "_" before letters (it compares lower-cased names), the store
    // in the order Windows gives, so the lists are compared sorted.
    QStringList theirs = regKeyLines(readBytes(prefix + "/wine.reg"));
    QStringList ours = regKeyLines(readBytes(prefix + "/orvx.reg"));
    theirs.sort();
    ours.sort();
    EXPECT_GT(theirs.size(), 1000);
    EXPECT_GT(ours.filter(QStringLiteral("[HKEY_CLASSES_ROOT\\Wow6432Node\\AppId\\")).size(), 0);
    // The first lines that differ, rather than two lists of thousands.
    qsizetype same = 0;
    while (same < ours.size() && same < theirs.size() && ours[same] == theirs[same])
        ++same;
    EXPECT_EQ(same, theirs.size()) << "orvx: " << ours.mid(same, 3).join(' ').toStdString()
                                   << "\nwine: " << theirs.mid(same, 3).join(' ').toStdString();
    EXPECT_EQ(ours.size(), theirs.size());
}
