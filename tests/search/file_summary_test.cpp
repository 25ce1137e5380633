// The summary's lines: attribute, executable-type and capability texts, version strings of real
// 16-bit and 32-bit programs, the type name from the registry or the desktop, the launcher.

#include "registry/reg_state.h"
#include "registry/registry.h"
#include "search/file_summary.h"
#include "summary_programs.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <gtest/gtest.h>

#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QString value(const FileSummary& s, const QString& name) {
    for (const SummaryLine& line : s.lines)
        if (line.name == name)
            return line.value;
    ADD_FAILURE() << "no line " << name.toStdString();
    return {};
}

const test::SummaryPrograms& programs() {
    static const test::SummaryPrograms built =
        test::buildSummaryPrograms(test::freshDir("summary_programs"));
    return built;
}

} // namespace

TEST(SummaryTexts, AttributeTable) {
    const QList<QPair<int, QString>> table = {{0, "normal"},
                                              {1, "read only"},
                                              {2, "hidden"},
                                              {3, "hidden/read only"},
                                              {4, "system"},
                                              {5, "system/read only"},
                                              {6, "hidden/system"},
                                              {7, "7"},
                                              {16, "directory"},
                                              {17, "17"},
                                              {18, "hidden/directory"},
                                              {32, "archive"},
                                              {33, "archive/read only"},
                                              {34, "hidden/archive"},
                                              {35, "35"},
                                              {36, "system/archive"},
                                              {37, "37"},
                                              {38, "38"},
                                              {39, "All Attributes"},
                                              {48, "48"},
                                              {50, "50"}};
    for (const auto& [attributes, text] : table)
        EXPECT_EQ(AttributeText(attributes), text) << attributes;
}

TEST(SummaryTexts, ExecutionTypeAndVersion) {
    EXPECT_EQ(ExecutionTypeText(0), "<not executable>");
    EXPECT_EQ(ExecutionTypeText(0x04000000), "<not executable>, v4.00");
    EXPECT_EQ(ExecutionTypeText(0x4550), "Win32");
    EXPECT_EQ(ExecutionTypeText(0x04004550), "Win32, v4.00");
    EXPECT_EQ(ExecutionTypeText(0x0a054550), "Win32, v10.05");
    EXPECT_EQ(ExecutionTypeText(0x030a454e), "Win16, v3.10");
    EXPECT_EQ(ExecutionTypeText(0x5a4d), "DOS");
    EXPECT_EQ(ExecutionTypeText(0x00ff5a4d), "DOS"); // a minor version alone shows nothing
    EXPECT_EQ(ExecutionTypeText(0x4551), "<unknown executable>");
    EXPECT_EQ(ExecutionTypeText(0xffff4d5a), "<unknown executable>, v255.255");
}

TEST(SummaryTexts, CapabilitiesInTableOrder) {
    EXPECT_EQ(CapabilityText(0), " None");
    EXPECT_EQ(CapabilityText(0x8 | 0x80 | 0x200), ""); // bits without a text
    EXPECT_EQ(CapabilityText(0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x40 | 0x100),
              " copy move link rename delete prop drop");
    EXPECT_EQ(CapabilityText(0x100 | 0x1), " copy drop");
    EXPECT_EQ(CapabilityText(0x40 | 0x20), " delete prop");
}

TEST(SummaryFacts, AttributesAndCapabilitiesFromWhatTheUserMayDo) {
    const QString dir = test::freshDir("summary_attrs");
    const QString plain = writeFile(dir + "/plain.txt", "x");
    EXPECT_EQ(fileAttributes(plain), 0);
    EXPECT_EQ(capabilityFlags(plain),
              kCanCopy | kCanMove | kCanLink | kCanRename | kCanDelete | kHasProperties);
    const QString hidden = writeFile(dir + "/.hidden", "x");
    EXPECT_EQ(fileAttributes(hidden), kAttrHidden);
    ASSERT_EQ(::chmod(QFile::encodeName(hidden).constData(), 0755), 0);
    EXPECT_TRUE(capabilityFlags(hidden) & kDropTarget);
    QDir(dir).mkdir("sub");
    QDir(dir).mkdir(".cache");
    EXPECT_EQ(AttributeText(fileAttributes(dir + "/sub")), "directory");
    EXPECT_EQ(AttributeText(fileAttributes(dir + "/.cache")), "hidden/directory");
    EXPECT_TRUE(capabilityFlags(dir + "/sub") & kDropTarget);
    EXPECT_EQ(fileAttributes(dir + "/missing"), 0);
    EXPECT_EQ(capabilityFlags(dir + "/missing"), 0u);
}

namespace {

// Runs check as an ordinary user (nobody, when this is root) in a child process; returns the
// failed check's number, 0 when all held.
int checkUnprivileged(const std::function<int()>& check) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const passwd* pw = ::getpwnam("nobody");
        const uid_t uid = pw ? pw->pw_uid : 65534;
        const gid_t gid = pw ? pw->pw_gid : 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

void setMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST(SummaryFacts, ReadOnlyAndStickyFoldersForAnOrdinaryUser) {
    const QString dir = test::freshDir("summary_perm");
    setMode(test::tempRoot(), 0755);
    setMode(dir, 0755);
    const QString locked = writeFile(dir + "/locked.txt", "x");
    const QString dotLocked = writeFile(dir + "/.locked", "x");
    setMode(locked, 0444);
    setMode(dotLocked, 0);
    // A shared folder where everyone may create files but only remove their own.
    QDir(dir).mkdir("shared");
    const QString shared = dir + "/shared";
    setMode(shared, 01777);
    const QString others = writeFile(shared + "/others.txt", "x");
    setMode(others, 0666);
    const bool root = ::geteuid() == 0;

    const int failed = checkUnprivileged([&]() -> int {
        if (AttributeText(fileAttributes(locked)) != "read only")
            return 1;
        if (AttributeText(fileAttributes(dotLocked)) != "hidden/read only")
            return 2;
        if (capabilityFlags(dotLocked) & kCanCopy)
            return 3;
        // The folder is not the user's: the file stays where it is.
        if (capabilityFlags(locked) != (kCanCopy | kCanLink | kHasProperties))
            return 4;
        // Only when another user owns the file does the sticky folder keep it.
        const std::uint32_t moves = kCanMove | kCanRename | kCanDelete;
        if (root && (capabilityFlags(others) & moves))
            return 5;
        if (CapabilityText(capabilityFlags(shared)) != " copy link prop drop")
            return 6;
        return 0;
    });
    EXPECT_EQ(failed, 0) << "check " << failed << " failed";
}

TEST(SummaryFacts, VersionStringsOfRealPrograms) {
    const test::SummaryPrograms& p = programs();
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    const QStringList names = {"lblInf1", "lblInf2", "lblInf3", "lblInf4",
                               "lblInf5", "lblInf6", "lblInf7", "lblInf8"};
    // A 16-bit block (single-byte keys) and a 32-bit one (UTF-16 keys) give the same strings.
    for (const QString& path : {p.win16, p.gui32}) {
        const FileSummary s = SummarizeFile(path, path, {});
        for (qsizetype i = 0; i < names.size(); ++i)
            EXPECT_EQ(value(s, names[i]), QString(test::summaryVersionStrings()[i].second))
                << path.toStdString() << " " << names[i].toStdString();
    }
    EXPECT_EQ(SummarizeFile(p.gui32, p.gui32, {}).text("lblInf9"),
              "Execution Type:       Win32, v4.00");
    EXPECT_EQ(SummarizeFile(p.win16, p.win16, {}).text("lblInf9"),
              "Execution Type:       Win16, v3.10");

    const FileSummary console = SummarizeFile(p.console, p.console, {});
    EXPECT_EQ(console.text("lblInf9"), "Execution Type:       Win32");
    for (const QString& name : names)
        EXPECT_EQ(value(console, name), "") << name.toStdString();
    EXPECT_EQ(console.text("lblInf3"), "File Version:         ");
}

TEST(SummaryFacts, LinesCaptionsAndSizes) {
    const QString dir = test::freshDir("summary_lines");
    const QString empty = writeFile(dir + "/empty.dat", "");
    const FileSummary s = SummarizeFile("C:\\data\\empty.dat", empty, {});
    ASSERT_TRUE(s.exists);
    QStringList order;
    for (const SummaryLine& line : s.lines) {
        order << line.name;
        if (line.name == "lblFile")
            EXPECT_EQ(line.caption, "");
        else if (line.name == "lblInf0")
            EXPECT_EQ(line.caption.size(), 21);
        else
            EXPECT_EQ(line.caption.size(), 22) << line.name.toStdString();
    }
    EXPECT_EQ(order, QStringList({"lblFile", "lblType", "lblSize", "lblAttr", "lblTime", "lblInf1",
                                  "lblInf2", "lblInf3", "lblInf4", "lblInf5", "lblInf6", "lblInf7",
                                  "lblInf8", "lblInf9", "lblInf0", "lblInfE"}));
    EXPECT_EQ(s.text("lblFile"), "C:\\data\\empty.dat");
    EXPECT_EQ(s.text("lblSize"), "File Size:            0  Bytes");
    EXPECT_EQ(s.text("lblAttr"), "File Attribute:       normal");
    EXPECT_EQ(s.text("lblInf9"), "Execution Type:       <not executable>");
    EXPECT_FALSE(value(s, "lblTime").isEmpty());

    // Beyond 4 GB, without writing the bytes.
    const QString big = writeFile(dir + "/big.dat", "");
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), 5'000'000'123LL), 0);
    EXPECT_EQ(SummarizeFile(big, big, {}).text("lblSize"),
              "File Size:            5,000,000,123  Bytes");
    EXPECT_EQ(value(SummarizeFile(dir + "/gone", dir + "/gone", {}), "lblInf0"), " None");
    // A folder has no size of its own; a pipe is described without being read.
    EXPECT_EQ(value(SummarizeFile(dir, dir, {}), "lblSize"), "0  Bytes");
    const QString fifo = dir + "/pipe.exe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const FileSummary pipe = SummarizeFile(fifo, fifo, {});
    EXPECT_EQ(value(pipe, "lblInf9"), "<not executable>");
    EXPECT_EQ(value(pipe, "lblInfE"), "None");
}

TEST(SummaryFacts, TypeNameFromTheRegistryElseTheDesktop) {
    const QString dir = test::freshDir("summary_type");
    const QString text = writeFile(dir + "/notes.Txt", "plain words\n");
    const QString mimeComment = QMimeDatabase().mimeTypeForFile(text).comment();
    ASSERT_FALSE(mimeComment.isEmpty());

    auto registry = reg::Registry::inMemory();
    reg::RegState state;
    state.registry = registry.get();
    ASSERT_EQ(reg::WriteText(state, ".txt", "", " txtfile "), 0);
    ASSERT_EQ(reg::WriteText(state, "txtfile", "", "Text Document "), 0);
    ASSERT_EQ(reg::WriteText(state, ".log", "", "logfile"), 0); // a type without a key
    const ExtensionDescriber describe = registryDescriber(registry.get());
    EXPECT_EQ(describe("TXT"), "Text Document");
    EXPECT_EQ(describe("LOG"), "");
    EXPECT_EQ(describe("DOC"), "");
    EXPECT_EQ(shellTypeName(text, describe), "Text Document");
    EXPECT_EQ(shellTypeName(text, {}), mimeComment);
    const QString log = writeFile(dir + "/run.log", "plain words\n");
    EXPECT_EQ(shellTypeName(log, describe), QMimeDatabase().mimeTypeForFile(log).comment());
    // A file without a dot takes no extension from its folder's name.
    QDir(dir).mkdir("v1.txt");
    const QString bare = writeFile(dir + "/v1.txt/README", "plain words\n");
    EXPECT_NE(shellTypeName(bare, describe), "Text Document");
    EXPECT_EQ(shellTypeName(text, [](const QString&) { return QString(90, u'd'); }).size(), 80);
}

TEST(SummaryFacts, LaunchProgramFromTheDesktop) {
    const QString data = test::freshDir("summary_xdg_data");
    const QString config = test::freshDir("summary_xdg_config");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_DATA_DIRS", (data + ":/usr/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_CONFIG_DIRS", config.toUtf8());
    QDir(data).mkdir("applications");
    writeFile(data + "/applications/reader.desktop",
              "[Desktop Entry]\nName=Reader\nExec=/bin/cat %f\nType=Application\n");
    writeFile(config + "/mimeapps.list", "[Default Applications]\ntext/plain=reader.desktop;\n");
    const QString dir = test::freshDir("summary_launch");
    const QString text = writeFile(dir + "/a.txt", "words\n");
    EXPECT_EQ(SummarizeFile(text, text, {}).text("lblInfE"), "Launch Program:       /bin/cat");
    const QString blob = writeFile(dir + "/a.zzq", QByteArray("\x01\x02\xff\x00\x7f", 5));
    EXPECT_EQ(SummarizeFile(blob, blob, {}).text("lblInfE"), "Launch Program:       None");
}
