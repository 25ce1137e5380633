// Hives this user may not read or write. File permissions do not bind root, so when the suite runs
// as root the checks run in a child process that has dropped to the unprivileged user "nobody".

#include "registry/reg_state.h"
#include "registry/registry.h"
#include "support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvanex::reg;
using orvanex::test::freshDir;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A hive with one value, made by the store itself.
QByteArray makeHive(const QString& path) {
    auto r = Registry::openHive(path);
    HKey k = 0;
    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, ".txt", &k), 0);
    EXPECT_EQ(r->setValueEx(k, "", type::Sz, "txtfile", 7), 0);
    r->closeKey(k);
    r.reset();
    return readFile(path);
}

struct Unprivileged {
    uid_t uid = 0;
    gid_t gid = 0;
};

// Who the checks run as: this user, or "nobody" when this is root.
Unprivileged unprivileged() {
    if (::geteuid() != 0)
        return {::geteuid(), ::getegid()};
    const passwd* pw = ::getpwnam("nobody");
    return pw ? Unprivileged{pw->pw_uid, pw->pw_gid} : Unprivileged{65534, 65534};
}

// Lets the unprivileged user reach the test's folders.
void openUp(const QString& folder) {
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
}

void own(const QString& path, mode_t mode) {
    const Unprivileged who = unprivileged();
    const QByteArray native = QFile::encodeName(path);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(native.constData(), who.uid, who.gid), 0);
    }
    ASSERT_EQ(::chmod(native.constData(), mode), 0);
}

// Runs check in a child process as the unprivileged user; its failures come back as text.
std::string runUnprivileged(const std::function<std::string()>& check) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "pipe failed";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        const Unprivileged who = unprivileged();
        std::string failures;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(who.gid) != 0 || ::setuid(who.uid) != 0))
            failures = "could not drop to the unprivileged user";
        else if (::geteuid() == 0)
            failures = "still root after dropping";
        else
            failures = check();
        if (::write(pipeFds[1], failures.data(), failures.size()) < 0)
            ::_exit(3);
        ::_exit(failures.empty() ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, size_t(n));
    ::close(pipeFds[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    if (!WIFEXITED(wstatus))
        return "the child process did not finish: " + std::to_string(wstatus);
    if (WEXITSTATUS(wstatus) != 0 && out.empty())
        return "the child process failed with " + std::to_string(WEXITSTATUS(wstatus));
    return out;
}

#define CHECK_IN_CHILD(cond)                                                                       \
    do {                                                                                           \
        if (!(cond))                                                                               \
            failures += std::string("line ") + std::to_string(__LINE__) + ": " #cond "\n";         \
    } while (0)

} // namespace

TEST(HivePrivileges, UnreadableAndReadOnlyHivesAreNeverWritten) {
    const QString dir = freshDir("privileges");
    openUp(orvanex::test::tempRoot());
    own(dir, 0755);
    const QString unreadable = dir + "/unreadable.hive";
    const QString readOnly = dir + "/readonly.hive";
    const QByteArray unreadableBytes = makeHive(unreadable);
    const QByteArray readOnlyBytes = makeHive(readOnly);
    own(unreadable, 0000);
    own(readOnly, 0444);

    const std::string result = runUnprivileged([&] {
        std::string failures;
        {
            auto r = Registry::openHive(unreadable);
            CHECK_IN_CHILD(r->isReadOnly());
            CHECK_IN_CHILD(r->problem().contains("cannot read"));
            HKey k = 0;
            CHECK_IN_CHILD(r->openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &k) ==
                           status::RegistryCorrupt);
            CHECK_IN_CHILD(r->createKey(HKEY_CLASSES_ROOT, ".new", &k) == status::AccessDenied);
            CHECK_IN_CHILD(r->compact() == status::AccessDenied);
        }
        {
            // The folder would let a new file be renamed over it: read-only must still hold.
            auto r = Registry::openHive(readOnly);
            CHECK_IN_CHILD(r->isReadOnly());
            CHECK_IN_CHILD(r->problem().contains("read-only"));
            HKey k = 0;
            CHECK_IN_CHILD(r->openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &k) == 0);
            CHECK_IN_CHILD(r->setValueEx(k, "", type::Sz, "changed", 7) == status::AccessDenied);
            CHECK_IN_CHILD(r->deleteKey(HKEY_CLASSES_ROOT, ".txt") == status::AccessDenied);
            CHECK_IN_CHILD(r->compact() == status::AccessDenied);
        }
        return failures;
    });
    EXPECT_EQ(result, "");
    own(unreadable, 0600);
    EXPECT_EQ(readFile(unreadable), unreadableBytes);
    EXPECT_EQ(readFile(readOnly), readOnlyBytes);
    EXPECT_FALSE(QFile::exists(readOnly + ".new"));
}

TEST(HivePrivileges, AHiveInAFolderThatCannotBeWrittenFailsCleanly) {
    const QString dir = freshDir("locked-folder");
    openUp(orvanex::test::tempRoot());
    const QString hive = dir + "/r.hive";
    const QByteArray bytes = makeHive(hive);
    own(hive, 0644);
    ASSERT_TRUE(QFile::remove(hive + ".lock"));
    own(dir, 0555); // no lock file, no snapshot beside it
    const std::string result = runUnprivileged([&] {
        std::string failures;
        auto r = Registry::openHive(hive);
        CHECK_IN_CHILD(!r->isReadOnly());
        HKey k = 0;
        const Status s = r->createKey(HKEY_CLASSES_ROOT, ".new", &k);
        CHECK_IN_CHILD(s == status::AccessDenied || s == status::CantWrite);
        CHECK_IN_CHILD(r->openKeyEx(HKEY_CLASSES_ROOT, ".new", 0, KEY_ALL_USED, &k) ==
                       status::FileNotFound);
        CHECK_IN_CHILD(r->openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &k) == 0);
        return failures;
    });
    EXPECT_EQ(result, "");
    own(dir, 0755);
    EXPECT_EQ(readFile(hive), bytes);
}

TEST(HivePrivileges, AFailedDeletionInAReadOnlyHiveStopsTheSequence) {
    const QString dir = freshDir("readonly-sequence");
    openUp(orvanex::test::tempRoot());
    own(dir, 0755);
    const QString hive = dir + "/r.hive";
    {
        auto r = Registry::openHive(hive);
        RegState state;
        state.registry = r.get();
        ASSERT_EQ(CreateKeyChain(state, {"t\\ddeexec\\topic", "t\\ddeexec\\application"}), 0);
    }
    own(hive, 0400);
    const std::string result = runUnprivileged([&] {
        std::string failures;
        auto r = Registry::openHive(hive);
        CHECK_IN_CHILD(r->isReadOnly());
        RegState state;
        state.registry = r.get();
        CHECK_IN_CHILD(DeleteKeysInOrder(state, {"t\\ddeexec\\ifexec", "t\\ddeexec\\topic",
                                                 "t\\ddeexec\\application", "t\\ddeexec"}) ==
                       status::AccessDenied);
        CHECK_IN_CHILD(EnumerateSubkeys(state, "t\\ddeexec") ==
                       (QStringList{"application", "topic"}));
        return failures;
    });
    EXPECT_EQ(result, "");
}
