// Settings files as other editors and other processes leave them: read what can be read, set
// nothing aside that can be read, and lose no key to a second program saving at the same time.

#include "settings/settings_store.h"
#include "support/log_capture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

using namespace orvanex;
using orvanex::test::capturedLog;
using orvanex::test::captureLog;

namespace {

// Starts the second program on this process's settings folder.
void startWriter(QProcess& p, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"),
               QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SETTINGS_TEST_WRITER), args);
}

QString writeSettingsFile(const QString& app, const QByteArray& bytes) {
    const QString path = settingsFilePath(app);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList setAside(const QString& app) {
    return QDir(QFileInfo(settingsFilePath(app)).absolutePath())
        .entryList({app + QStringLiteral(".ini.damaged-*")});
}

QString get(const QString& app, const char* section, const char* key) {
    return GetSetting(app, QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
}

} // namespace

TEST(SettingsFromOtherEditors, CrLfByteOrderMarkBlanksAndStrayLinesKeepEveryKey) {
    const QString app = QStringLiteral("T_Foreign");
    const QString path = writeSettingsFile(app, "\xEF\xBB\xBF; saved by a Windows editor\r\n"
                                                "stray=before any section\r\n"
                                                "[NextNumber]  \r\n"
                                                "  NextNumber = 1042 \r\n"
                                                "[ Backup\\Reg1041 ]\t\r\n"
                                                "File\t=C:\\Backup\\Reg1041.reg\r\n"
                                                "a line without an equals sign\r\n"
                                                "# another kind of comment\r\n"
                                                "Caption=a = b\r\n");
    captureLog();
    EXPECT_EQ(get(app, "NextNumber", "NextNumber"), QStringLiteral("1042"));
    EXPECT_EQ(get(app, "Backup\\Reg1041", "File"), QStringLiteral("C:\\Backup\\Reg1041.reg"));
    EXPECT_EQ(get(app, "Backup\\Reg1041", "Caption"), QStringLiteral("a = b"));
    EXPECT_EQ(get(app, "Backup\\Reg1041", "a line without an equals sign"),
              QStringLiteral("<none>"));
    const std::string warning = capturedLog();
    EXPECT_NE(warning.find("2 line(s)"), std::string::npos) << warning;

    // Saving keeps every key that was read and sets nothing aside.
    captureLog();
    ASSERT_TRUE(SaveSetting(app, QStringLiteral("NextNumber"), QStringLiteral("NextNumber"),
                            QStringLiteral("1043")));
    capturedLog();
    EXPECT_TRUE(setAside(app).isEmpty());
    const QByteArray written = fileBytes(path);
    EXPECT_TRUE(written.contains("NextNumber=1043\n")) << written.constData();
    EXPECT_TRUE(written.contains("[Backup\\\\Reg1041]\n")) << written.constData();
    EXPECT_FALSE(written.contains('\r'));
    EXPECT_EQ(get(app, "Backup\\Reg1041", "File"), QStringLiteral("C:\\Backup\\Reg1041.reg"));
}

TEST(SettingsFromOtherEditors, LineEndsCodePagesRepeatsAndEscapes) {
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* section;
        const char* key;
        QString expected;
    };
    const Case cases[] = {
        {"CrOnly", "[S]\rA=1\rB=2", "S", "B", QStringLiteral("2")},
        {"NoFinalBreak", "[S]\nA=last", "S", "A", QStringLiteral("last")},
        {"Cp1252", "[S]\nK=caf\xe9 \x80\n", "S", "K", QStringLiteral("café €")},
        {"FirstKeyWins", "[S]\nA=1\nA=2\n", "S", "A", QStringLiteral("1")},
        {"SectionTwice", "[S]\nA=1\n[T]\nX=9\n[S]\nB=2\n", "S", "B", QStringLiteral("2")},
        {"TextAfterBracket", "[S] ; note\nA=1\n", "S", "A", QStringLiteral("1")},
        {"UnclosedSectionEndsTheLast", "[S]\n[T\nA=1\n", "S", "A", QStringLiteral("<none>")},
        {"EscapedBlanksAreKept", "[S]\nA = \\s x\\s \n", "S", "A", QStringLiteral("  x ")},
        {"TrailingBackslash", "[S]\nA=C:\\\n", "S", "A", QStringLiteral("C:\\")},
        {"EmptyValue", "[S]\nA=\n", "S", "A", QString()},
    };
    for (const Case& c : cases) {
        const QString app = QStringLiteral("T_Case") + QLatin1String(c.name);
        writeSettingsFile(app, c.bytes);
        captureLog();
        EXPECT_EQ(get(app, c.section, c.key), c.expected) << c.name;
        capturedLog();
    }
}

TEST(SettingsFromOtherEditors, OnlyAFileThatIsNoSettingsAtAllIsSetAside) {
    const QByteArray notSettings[] = {QByteArray("\x7f"
                                                 "ELF\x02\x01\x01\0\0\0[S]\nK=v\n",
                                                 19),
                                      QByteArray("just some notes\nabout nothing\n")};
    int n = 0;
    for (const QByteArray& bytes : notSettings) {
        const QString app = QStringLiteral("T_NotSettings%1").arg(n++);
        writeSettingsFile(app, bytes);
        captureLog();
        EXPECT_EQ(get(app, "S", "K"), QStringLiteral("<none>"));
        EXPECT_TRUE(
            SaveSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("x")));
        capturedLog();
        const QStringList aside = setAside(app);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(fileBytes(QFileInfo(settingsFilePath(app)).absolutePath() + u'/' + aside[0]),
                  bytes);
        EXPECT_EQ(get(app, "S", "K"), QStringLiteral("x"));
    }
}

TEST(SettingsBetweenProcesses, SimultaneousSaversLoseNoKey) {
    const QString app = QStringLiteral("T_Race");
    ASSERT_TRUE(
        SaveSetting(app, QStringLiteral("Mine"), QStringLiteral("Before"), QStringLiteral("1")));
    // A second window of the same program: its key must survive this process's next save, although
    // this process read the file before.
    EXPECT_EQ(get(app, "Mine", "Before"), QStringLiteral("1"));
    QProcess other;
    startWriter(other, {app, QStringLiteral("set"), QStringLiteral("Other"), QStringLiteral("K"),
                        QStringLiteral("theirs")});
    ASSERT_TRUE(other.waitForFinished(30000));
    ASSERT_EQ(other.exitCode(), 0);
    ASSERT_TRUE(
        SaveSetting(app, QStringLiteral("Mine"), QStringLiteral("After"), QStringLiteral("2")));

    constexpr int kWriters = 4;
    constexpr int kKeys = 25;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.push_back(std::make_unique<QProcess>());
        startWriter(*writers.back(), {app, QStringLiteral("save"), QStringLiteral("w%1-").arg(w),
                                      QString::number(kKeys)});
    }
    for (auto& p : writers) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    }
    int missing = 0;
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kKeys; ++i)
            missing += GetSetting(app, QStringLiteral("S"), QStringLiteral("w%1-%2").arg(w).arg(i))
                           .isEmpty();
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(get(app, "Other", "K"), QStringLiteral("theirs"));
    EXPECT_EQ(get(app, "Mine", "Before"), QStringLiteral("1"));
    EXPECT_EQ(get(app, "Mine", "After"), QStringLiteral("2"));
}

namespace {

// Runs the writer as an unprivileged user: `nobody` when the suite runs as root (root reads and
// writes every file, so the failure paths would never run), the suite's own user otherwise.
struct Unprivileged {
    QTemporaryDir dir{QStringLiteral("/tmp/orvanex-unpriv-XXXXXX")};
    QString config;

    Unprivileged() {
        config = dir.path() + QStringLiteral("/config");
        QDir().mkpath(config + QStringLiteral("/orvanex"));
        const auto open = QFileDevice::Permissions(0x7777);
        for (const QString& d : {dir.path(), config, config + QStringLiteral("/orvanex")})
            QFile::setPermissions(d, open);
    }
    QString file() const { return config + QStringLiteral("/orvanex/U.ini"); }

    // Exit code and standard output of the writer.
    std::pair<int, QString> run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("HOME"), dir.path());
        p.setProcessEnvironment(env);
        if (geteuid() == 0) {
            const passwd* pw = getpwnam("nobody");
            if (!pw)
                return {-1, QStringLiteral("no user nobody")};
            const uid_t uid = pw->pw_uid;
            const gid_t gid = pw->pw_gid;
            p.setChildProcessModifier([uid, gid] {
                if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                    _exit(97);
            });
        }
        p.start(QStringLiteral(SETTINGS_TEST_WRITER), QStringList{QStringLiteral("U")} + args);
        if (!p.waitForFinished(30000))
            return {-1, QStringLiteral("timed out")};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    }
};

} // namespace

TEST(SettingsAsUnprivilegedUser, UnreadableAndReadOnlyFilesAreNeverReplaced) {
    Unprivileged user;
    ASSERT_TRUE(user.dir.isValid());
    const QByteArray original("[S]\nK=kept\n");
    struct Case {
        const char* name;
        QFileDevice::Permissions mode;
        const char* expectedRead;
    };
    const Case cases[] = {
        {"unreadable", QFileDevice::WriteOwner, "<none>"},
        {"read-only",
         QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
             QFileDevice::ReadUser,
         "kept"},
    };
    for (const Case& c : cases) {
        QFile::remove(user.file());
        QFile f(user.file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(original);
        f.close();
        ASSERT_TRUE(QFile::setPermissions(user.file(), c.mode));
        const auto [readCode, value] =
            user.run({QStringLiteral("get"), QStringLiteral("S"), QStringLiteral("K")});
        EXPECT_EQ(readCode, 0) << c.name;
        EXPECT_EQ(value, QLatin1String(c.expectedRead)) << c.name;
        const auto [saveCode, ignored] = user.run({QStringLiteral("set"), QStringLiteral("S"),
                                                   QStringLiteral("K"), QStringLiteral("new")});
        EXPECT_EQ(saveCode, 1) << c.name << ": the save was reported as done";
        QFile::setPermissions(user.file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(fileBytes(user.file()), original) << c.name;
        EXPECT_TRUE(QDir(user.config + QStringLiteral("/orvanex"))
                        .entryList({QStringLiteral("U.ini.damaged-*")})
                        .isEmpty())
            << c.name;
    }
}
