#include "settings/settings_store.h"
#include "support/log_capture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orvanex;
using orvanex::test::capturedLog;
using orvanex::test::captureLog;

namespace {

// Each test uses its own application name so that cached state never leaks between tests.
QString appName(const char* test) {
    return QStringLiteral("T_") + QLatin1String(test);
}

QString reloadFromDisk(const QString& app, const QString& section, const QString& key) {
    // Touching the file's contents through a second name is not possible; instead force a re-read
    // by rewriting the same bytes with a new modification time.
    QFile f(settingsFilePath(app));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    QFile::remove(settingsFilePath(app));
    QFile g(settingsFilePath(app));
    EXPECT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(bytes + "\n");
    g.close();
    return GetSetting(app, section, key, QStringLiteral("<missing>"));
}

} // namespace

TEST(SettingsStore, ValuesRoundTripExactlyThroughTheFile) {
    const QString app = appName("RoundTrip");
    const QStringList values = {QStringLiteral(" "),
                                QStringLiteral("  lead and trail  "),
                                QStringLiteral("a=b=c"),
                                QStringLiteral("; not a comment"),
                                QStringLiteral("100%"),
                                QStringLiteral("\"quoted\" 'single'"),
                                QStringLiteral("Grüße, 日本語, ©"),
                                QStringLiteral("back\\slash\\"),
                                QStringLiteral("line\nbreak\r\ttab"),
                                QStringLiteral("[not a section]"),
                                QString()};
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(SaveSetting(app, QStringLiteral("S"), QStringLiteral("K%1").arg(i), values[i]));
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(GetSetting(app, QStringLiteral("S"), QStringLiteral("K%1").arg(i)), values[i]);
        EXPECT_EQ(reloadFromDisk(app, QStringLiteral("S"), QStringLiteral("K%1").arg(i)),
                  values[i]);
    }
}

TEST(SettingsStore, KeysAndSectionsWithSpecialCharacters) {
    const QString app = appName("SpecialNames");
    ASSERT_TRUE(
        SaveSetting(app, QStringLiteral("a]b[c"), QStringLiteral("k=;[x"), QStringLiteral("v")));
    EXPECT_EQ(reloadFromDisk(app, QStringLiteral("a]b[c"), QStringLiteral("k=;[x")),
              QStringLiteral("v"));
}

TEST(SettingsStore, BackslashSectionsAreDistinctAndDeleteIsExact) {
    const QString app = appName("Sections");
    SaveSetting(app, QStringLiteral("Backup\\Reg1000"), QStringLiteral("File"),
                QStringLiteral("a"));
    SaveSetting(app, QStringLiteral("Backup\\Reg10000"), QStringLiteral("File"),
                QStringLiteral("b"));
    SaveSetting(app, QStringLiteral("Backup"), QStringLiteral("File"), QStringLiteral("c"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("Backup\\Reg1000"), QStringLiteral("File")), "a");
    ASSERT_TRUE(DeleteSetting(app, QStringLiteral("Backup\\Reg1000")));
    EXPECT_EQ(reloadFromDisk(app, QStringLiteral("Backup\\Reg1000"), QStringLiteral("File")),
              QStringLiteral("<missing>"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("Backup\\Reg10000"), QStringLiteral("File")), "b");
    EXPECT_EQ(GetSetting(app, QStringLiteral("Backup"), QStringLiteral("File")), "c");
}

TEST(SettingsStore, MissingKeysGiveTheDefault) {
    const QString app = appName("Defaults");
    EXPECT_EQ(GetSetting(app, QStringLiteral("NextNumber"), QStringLiteral("NextNumber"),
                         QStringLiteral("1000")),
              QStringLiteral("1000"));
    SaveSetting(app, QStringLiteral("NextNumber"), QStringLiteral("Other"), QStringLiteral("x"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("NextNumber"), QStringLiteral("NextNumber"),
                         QStringLiteral("99")),
              QStringLiteral("99"));
    // Section and key names are exact.
    EXPECT_EQ(
        GetSetting(app, QStringLiteral("nextnumber"), QStringLiteral("Other"), QStringLiteral("d")),
        QStringLiteral("d"));
}

TEST(SettingsStore, AFileThatIsNotSettingsGivesDefaultsAndIsKeptAside) {
    const QString app = appName("Corrupt");
    QDir().mkpath(QFileInfo(settingsFilePath(app)).absolutePath());
    {
        QFile f(settingsFilePath(app));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("K=v\nthis file has no section\n");
    }
    captureLog();
    EXPECT_EQ(GetSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("def")),
              QStringLiteral("def"));
    const std::string warning = capturedLog();
    EXPECT_NE(warning.find("not a settings file"), std::string::npos) << warning;
    // The damaged file is still there, untouched, until something is saved ...
    QFile f(settingsFilePath(app));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("K=v\nthis file has no section\n"));
    f.close();
    // ... and then it is kept aside, not lost.
    captureLog();
    ASSERT_TRUE(SaveSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new")));
    capturedLog();
    const QStringList aside = QDir(QFileInfo(settingsFilePath(app)).absolutePath())
                                  .entryList({app + QStringLiteral(".ini.damaged-*")});
    EXPECT_EQ(aside.size(), 1);
    EXPECT_EQ(GetSetting(app, QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("new"));
}

TEST(SettingsStore, BlanksAtTheEndsOfValuesAreEscapedInTheFile) {
    const QString app = appName("EdgeBlanks");
    ASSERT_TRUE(
        SaveSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral(" a b ")));
    QFile f(settingsFilePath(app));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[S]\nK=\\sa b\\s\n\n"));
}

TEST(SettingsStore, UnreadableFileIsNeverReplaced) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString app = appName("Unreadable");
    SaveSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    QFile::setPermissions(settingsFilePath(app), QFileDevice::WriteOwner);
    reloadFromDisk(app, QStringLiteral("S"), QStringLiteral("K"));
    captureLog();
    EXPECT_FALSE(SaveSetting(app, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("x")));
    capturedLog();
    QFile::setPermissions(settingsFilePath(app), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(SettingsStore, BatchWritesOnceAtTheEnd) {
    const QString app = appName("Batch");
    {
        SettingsBatch batch(app);
        for (int i = 1; i <= 10; ++i)
            SaveSetting(app, QStringLiteral("Update%1").arg(i, 2, 10, QChar(u'0')),
                        QStringLiteral("FileType"), QStringLiteral(" "));
        EXPECT_FALSE(QFile::exists(settingsFilePath(app)));
        EXPECT_EQ(GetSetting(app, QStringLiteral("Update10"), QStringLiteral("FileType")),
                  QStringLiteral(" "));
    }
    EXPECT_TRUE(QFile::exists(settingsFilePath(app)));
    EXPECT_EQ(reloadFromDisk(app, QStringLiteral("Update07"), QStringLiteral("FileType")),
              QStringLiteral(" "));
}

TEST(SettingsStore, FilesLiveInTheConfigFolderPerApplication) {
    EXPECT_EQ(settingsFilePath(QStringLiteral("ORVX120")),
              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  QStringLiteral("/orvanex/ORVX120.ini"));
    // The tests' own folder, never the user's.
    EXPECT_TRUE(settingsFilePath(QStringLiteral("ORVX120"))
                    .startsWith(qEnvironmentVariable("ORVANEX_TEST_ROOT")));
    EXPECT_NE(settingsFilePath(QStringLiteral("ORVX120")),
              settingsFilePath(QStringLiteral("PELU120")));
}
