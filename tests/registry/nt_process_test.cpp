// orvx on a Windows installation's own hives, as a repair from a live system uses it: lists,
// a deletion undone by merging its backup, a preview, and a partition mounted read-only.

#include "../tools/orvx_run.h"
#include "nt_fixture.h"
#include "support/test_env.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace orvanex::test;

namespace {

const QString MachineReg = QStringLiteral(R"([\Classes]

[\Classes\.txt]
@="txtfile"

[\Classes\txtfile]
@="Text Document"
"EditFlags"=dword:00000000

[\Classes\txtfile\DefaultIcon]
@="%SystemRoot%\\System32\\shell32.dll,3"

[\Classes\txtfile\shell]

[\Classes\txtfile\shell\open]

[\Classes\txtfile\shell\open\command]
@="%SystemRoot%\\System32\\notepad.exe %1"

[\Classes\exefile]
@="Application"

[\Classes\exefile\shell]

[\Classes\exefile\shell\open]

[\Classes\exefile\shell\open\command]
@="\"%1\" %*"
)");

const QString UserReg = QStringLiteral(R"([\.log]
@="txtfile"
)");

struct Installation {
    QString root = freshDir(QStringLiteral("nt_windows"));
    QString machine = root + "/Windows/System32/config/SOFTWARE";
    QString user = root + "/Users/ana/AppData/Local/Microsoft/Windows/UsrClass.dat";
    Installation() {
        EXPECT_TRUE(makeHive(machine, MachineReg));
        EXPECT_TRUE(makeHive(user, UserReg));
    }
    OrvxRun run(const QStringList& args, const OrvxSetup& setup = {}) const {
        return runOrvx(QStringList{"--windows", root} + args, setup);
    }
};

} // namespace

TEST(NtOrvx, ListsDeletesAndMergesTheBackupBackByteForByte) {
    Installation w;
    OrvxRun r = w.run({"extensions"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("LOG\t")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("TXT\t"));
    // The icon resolves into the partition.
    writeBytes(w.root + "/Windows/System32/shell32.dll", "MZ");
    r = w.run({"show", ".txt"});
    EXPECT_TRUE(r.out.contains(w.root + "/Windows/System32/shell32.dll")) << r.out.toStdString();

    const QByteArray before = exportHive(w.machine, QStringLiteral("\\Classes\\txtfile"));
    const QByteArray untouched = exportHive(w.machine, QStringLiteral("\\Classes\\exefile"));
    r = w.run({"delete", "txtfile"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QRegularExpressionMatch m = QRegularExpression("Backup=(Reg\\d+)").match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    EXPECT_FALSE(exportHive(w.machine, "\\").contains("[\\Classes\\txtfile]"));
    EXPECT_EQ(exportHive(w.machine, QStringLiteral("\\Classes\\exefile")), untouched);
    const QString backup = QDir::currentPath() + "/Backup/" + m.captured(1) + ".reg";
    // The preview names what the merge brings back; the merge brings it back whole.
    r = w.run({"diff", backup});
    EXPECT_TRUE(r.out.contains("txtfile")) << r.out.toStdString();
    r = w.run({"import", backup});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(exportHive(w.machine, QStringLiteral("\\Classes\\txtfile")), before);
    EXPECT_EQ(exportHive(w.machine, QStringLiteral("\\Classes\\exefile")), untouched);
}

TEST(NtOrvx, OptionsAreCheckedAndSeveralUsersAreNamed) {
    Installation w;
    ASSERT_TRUE(
        makeHive(w.root + "/Users/bo/AppData/Local/Microsoft/Windows/UsrClass.dat", UserReg));
    OrvxRun r = w.run({"extensions"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("--windows-user: ana, bo")) << r.err.toStdString();
    r = w.run({"--windows-user", "bo", "extensions"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    r = runOrvx({"--nt-hive", w.machine, "--nt-user-classes", w.user, "extensions"});
    EXPECT_TRUE(r.out.contains("LOG\t")) << r.err.toStdString();
    EXPECT_EQ(runOrvx({"--windows-user", "bo", "extensions"}).code, 1);
    EXPECT_EQ(runOrvx({"--windows", "", "extensions"}).code, 1);
    EXPECT_EQ(runOrvx({"--windows", w.root, "--nt-hive", w.machine, "extensions"}).code, 1);
}

TEST(NtOrvx, APartitionMountedReadOnlyIsNeverWritten) {
    Installation w;
    const QByteArray folder = QFile::encodeName(w.root);
    OrvxSetup setup;
    // A mount namespace of the child's own, where the partition is bound read-only.
    // Made before the fork: the child only makes system calls.
    const QByteArray uidMap = "0 " + QByteArray::number(::geteuid()) + " 1";
    const QByteArray gidMap = "0 " + QByteArray::number(::getegid()) + " 1";
    setup.inChild = [folder, uidMap, gidMap] {
        if (::unshare(CLONE_NEWNS) != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                ::_exit(77);
            auto put = [](const char* file, const char* text) {
                const size_t size = std::strlen(text);
                const int fd = ::open(file, O_WRONLY);
                const bool ok = fd >= 0 && ::write(fd, text, size) == ssize_t(size);
                if (fd >= 0)
                    ::close(fd);
                return ok;
            };
            put("/proc/self/setgroups", "deny");
            if (!put("/proc/self/uid_map", uidMap.constData()) ||
                !put("/proc/self/gid_map", gidMap.constData()))
                ::_exit(77);
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                    nullptr) != 0)
            ::_exit(77);
    };
    const QByteArray before = fileBytes(w.machine);
    const OrvxRun r = w.run({"delete", "txtfile"}, setup);
    if (r.code == 77)
        GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(r.code, 1) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("mounted read-only")) << r.err.toStdString();
    EXPECT_EQ(fileBytes(w.machine), before);
}
