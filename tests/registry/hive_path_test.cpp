// How a hive is named: symbolic links to it, several paths to one file, file names that are not
// UTF-8, and the choice between --hive, ORVANEX_HIVE and the default.

#include "registry/hive_file.h"
#include "registry/hive_location.h"
#include "registry/registry.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex::reg;
using orvanex::test::freshDir;

namespace {

bool isLink(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QByteArray valueOf(Registry& r, HKey root, const QString& path) {
    HKey k = 0;
    if (r.openKeyEx(root, path, 0, KEY_ALL_USED, &k) != 0)
        return "<no key>";
    QByteArray data;
    const Status s = r.enumValue(k, 0, nullptr, nullptr, &data);
    r.closeKey(k);
    return s == 0 ? data : "<no value>";
}

Status setValue(Registry& r, HKey root, const QString& path, const QByteArray& data) {
    HKey k = 0;
    if (Status s = r.createKey(root, path, &k))
        return s;
    const Status s = r.setValueEx(k, "", type::Sz, data.constData(), std::uint32_t(data.size()));
    r.closeKey(k);
    return s;
}

} // namespace

TEST(HivePaths, ALinkToTheHiveStaysALinkAndBothPathsShareOneLock) {
    const QString dir = freshDir("links");
    QDir().mkpath(dir + "/real");
    const QByteArray target = QFile::encodeName(dir + "/real/r.hive");
    const QByteArray link = QFile::encodeName(dir + "/link.hive");
    ASSERT_EQ(::symlink("real/r.hive", link.constData()), 0); // relative, and dangling for now
    {
        auto r = Registry::openHiveFile(link);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "k", "through the link"), 0);
        ASSERT_EQ(r->compact(), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "k2", "after the fold"), 0);
        EXPECT_EQ(r->hivePath(), QFile::decodeName(link)); // messages name the path given
    }
    EXPECT_TRUE(isLink(link));
    EXPECT_TRUE(QFile::exists(QFile::decodeName(target + ".lock")));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(link + ".lock")));
    auto direct = Registry::openHiveFile(target);
    EXPECT_EQ(valueOf(*direct, HKEY_CURRENT_USER, "k"), "through the link");
    EXPECT_EQ(valueOf(*direct, HKEY_CURRENT_USER, "k2"), "after the fold");
    // A link to the folder and a chain of links reach the same file.
    ASSERT_EQ(::symlink("real", QFile::encodeName(dir + "/folder").constData()), 0);
    ASSERT_EQ(::symlink("link.hive", QFile::encodeName(dir + "/chain.hive").constData()), 0);
    EXPECT_EQ(realHivePath(QFile::encodeName(dir + "/folder/r.hive")), realHivePath(target));
    EXPECT_EQ(realHivePath(QFile::encodeName(dir + "/chain.hive")), realHivePath(target));
    EXPECT_EQ(realHivePath(link), realHivePath(target));
}

TEST(HivePaths, WritersThroughTwoPathsToOneHiveLoseNoKey) {
    const QString dir = freshDir("two-paths");
    const QString target = dir + "/r.hive";
    const QString link = dir + "/l.hive";
    ASSERT_EQ(::symlink("r.hive", QFile::encodeName(link).constData()), 0);
    constexpr int Count = 120;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < 4; ++i) {
        writers.push_back(std::make_unique<QProcess>());
        // Folds every 10 steps, so the file is replaced while the others append.
        writers.back()->start(QStringLiteral(REGISTRY_TEST_WRITER),
                              {i % 2 ? link : target, QString("w%1").arg(i), QString::number(Count),
                               QStringLiteral("10")});
    }
    for (auto& w : writers) {
        ASSERT_TRUE(w->waitForFinished(300000));
        EXPECT_EQ(w->exitCode(), 0) << w->readAllStandardError().toStdString();
    }
    EXPECT_TRUE(isLink(QFile::encodeName(link)));
    auto r = Registry::openHive(target);
    int wrong = 0;
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < Count; ++i) {
            const bool deleted = i % 3 == 0 && i + 2 < Count;
            const QByteArray v = valueOf(*r, HKEY_CLASSES_ROOT, QString("w%1\\k%2").arg(w).arg(i));
            wrong += deleted ? v != "<no key>" : v != QByteArray::number(i);
        }
    EXPECT_EQ(wrong, 0) << "keys lost or left over";
}

TEST(HivePaths, AFileNameKeepsItsOwnBytes) {
    const QByteArray dir = QFile::encodeName(freshDir("bytes"));
    const QByteArray first = dir + "/h\xff.hive";
    const QByteArray second = dir + "/h\xfe.hive";
    ASSERT_EQ(setValue(*Registry::openHiveFile(first), HKEY_CURRENT_USER, "k", "ff"), 0);
    ASSERT_EQ(setValue(*Registry::openHiveFile(second), HKEY_CURRENT_USER, "k", "fe"), 0);
    EXPECT_EQ(::access(first.constData(), F_OK), 0);
    EXPECT_EQ(::access(second.constData(), F_OK), 0);
    EXPECT_EQ(valueOf(*Registry::openHiveFile(first), HKEY_CURRENT_USER, "k"), "ff");
    EXPECT_EQ(valueOf(*Registry::openHiveFile(second), HKEY_CURRENT_USER, "k"), "fe");
    // Qt's folder removal cannot name these files: remove them here.
    for (const QByteArray& file : {first, first + ".lock", second, second + ".lock"})
        EXPECT_EQ(::unlink(file.constData()), 0) << file.constData();

    // --hive's bytes win over ORVANEX_HIVE's, which win over the default; both keep their bytes
    // and are taken from the current folder.
    const QByteArray saved = qgetenv("ORVANEX_HIVE");
    qputenv("ORVANEX_HIVE", "env\xfd.hive");
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    EXPECT_EQ(chooseHiveBytes("cli\xfc.hive").nativePath, here + "/cli\xfc.hive");
    const HiveChoice fromEnv = chooseHiveBytes({});
    EXPECT_EQ(fromEnv.nativePath, here + "/env\xfd.hive");
    EXPECT_FALSE(fromEnv.isDefault);
    qunsetenv("ORVANEX_HIVE");
    const HiveChoice fallback = chooseHiveBytes({});
    EXPECT_TRUE(fallback.isDefault);
    EXPECT_TRUE(fallback.path.startsWith(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + '/'));
    EXPECT_TRUE(fallback.path.endsWith("/orvanex/registry.hive"));
    qputenv("ORVANEX_HIVE", saved);
}
