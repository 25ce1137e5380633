// The store over a Wine prefix: exact round trips, the diff of one change, the merged classes
// view and where its writes go, and files that must not be overwritten.

#include "registry/registry_choice.h"
#include "registry/wine_registry.h"
#include "store_calls.h"
#include "support/test_env.h"
#include "wine_fixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

QString makePrefix(const QString& name, bool withUser = false) {
    const QString dir = freshDir(name);
    EXPECT_TRUE(writeBytes(dir + "/system.reg", WineSystemReg));
    if (withUser) {
        EXPECT_TRUE(writeBytes(dir + "/user.reg", WineUserReg));
    }
    return dir;
}

QByteArray query(Registry& r, HKey root, const QString& path, const QString& name) {
    HKey k = 0;
    if (r.openKeyEx(root, path, 0, KEY_ALL_USED, &k) != 0)
        return "<no key>";
    std::uint32_t size = 0;
    if (r.queryValueEx(k, name, nullptr, nullptr, &size) != 0) {
        r.closeKey(k);
        return "<no value>";
    }
    QByteArray data(qsizetype(size), '\0');
    r.queryValueEx(k, name, nullptr, data.data(), &size);
    r.closeKey(k);
    return data.left(size).chopped(1); // strings come with their terminator
}

// The key lines of a file, in file order.
QStringList keyPaths(const QByteArray& file) {
    QStringList out;
    for (const QByteArray& line : file.split('\n'))
        if (line.startsWith('['))
            out << QString::fromUtf8(line.left(line.lastIndexOf(']') + 1));
    return out;
}

} // namespace

TEST(WineRegistry, UnchangedKeysComeBackByteForByte) {
    const QString dir = makePrefix("wine-roundtrip");
    WineRegistry r(dir);
    ASSERT_FALSE(r.isReadOnly()) << r.problem().toStdString();
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "Expand"),
              "%SystemRoot%\\system32\\notepad.exe");
    // A key made and deleted again: the file is written twice and ends as it began.
    HKey k = 0;
    ASSERT_EQ(r.createKey(HKEY_CLASSES_ROOT, ".new\\deep", &k), 0);
    r.closeKey(k);
    EXPECT_NE(readBytes(dir + "/system.reg"), WineSystemReg);
    ASSERT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, ".new"), 0);
    EXPECT_EQ(readBytes(dir + "/system.reg"), WineSystemReg);
    EXPECT_FALSE(QFile::exists(dir + "/user.reg")); // untouched files are not written
}

TEST(WineRegistry, OneChangeRewritesThatKeysBlockAlone) {
    const QString dir = makePrefix("wine-onechange");
    WineRegistry r(dir);
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".TXT", "content type", "text/x-new"), 0);
    const qint64 after = QDateTime::currentSecsSinceEpoch();

    const QStringList was = blocks(WineSystemReg);
    const QStringList now = blocks(readBytes(dir + "/system.reg"));
    ASSERT_EQ(was.size(), now.size());
    for (qsizetype i = 0; i < was.size(); ++i)
        if (i != 1) {
            EXPECT_EQ(was[i], now[i]) << i;
        }
    const QRegularExpression head(
        "^\\n\\[Software\\\\\\\\Classes\\\\\\\\\\.txt\\] (\\d+)\\n#time=([0-9a-f]+)\\n"
        "@=\"txtfile\"\\n\"Content Type\"=\"text/x-new\"\\n$");
    const QRegularExpressionMatch m = head.match(now[1]);
    ASSERT_TRUE(m.hasMatch()) << now[1].toStdString();
    const qint64 seconds = m.captured(1).toLongLong();
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
    // Both time fields tell the same time.
    const qulonglong fileTime = m.captured(2).toULongLong(nullptr, 16);
    EXPECT_EQ(qint64(fileTime / 10000000ull - 11644473600ull), seconds);
}

TEST(WineRegistry, NewKeysTakeWinesPlaceAndParentsStayImplied) {
    const QString dir = makePrefix("wine-order");
    WineRegistry r(dir);
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".aaa", "", "aaafile"), 0);
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, "txtfile\\shell\\print\\command", "", "print %1"), 0);
    HKey k = 0;
    ASSERT_EQ(r.createKey(HKEY_LOCAL_MACHINE, "Software\\Zz\\Empty", &k), 0);
    r.closeKey(k);
    EXPECT_EQ(keyPaths(readBytes(dir + "/system.reg")),
              QStringList({"[Software\\\\Classes\\\\.aaa]", "[Software\\\\Classes\\\\.txt]",
                           "[Software\\\\Classes\\\\Caf\\xe9\\\\Na\\xefve]",
                           "[Software\\\\Classes\\\\txtfile]",
                           "[Software\\\\Classes\\\\txtfile\\\\shell\\\\open\\\\command]",
                           "[Software\\\\Classes\\\\txtfile\\\\shell\\\\print\\\\command]",
                           "[Software\\\\Leaf]", "[Software\\\\Wow6432Node\\\\Classes]",
                           "[Software\\\\Zz\\\\Empty]"}));
    // Deleting the only child of an implied parent keeps the parent as a key of its own.
    ASSERT_EQ(r.deleteKey(HKEY_LOCAL_MACHINE, "Software\\Zz\\Empty"), 0);
    EXPECT_TRUE(keyPaths(readBytes(dir + "/system.reg")).contains("[Software\\\\Zz]"));
    WineRegistry again(dir);
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, "txtfile\\shell\\print\\command", ""), "print %1");
    EXPECT_EQ(subkeys(again, HKEY_LOCAL_MACHINE, "Software\\Zz"), QStringList());
}

TEST(WineRegistry, ClassesAreTheUsersOverTheMachines) {
    const QString dir = makePrefix("wine-merged", true);
    WineRegistry r(dir);
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", ""), "usertxt");
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", "Content Type"), "<no value>");
    EXPECT_EQ(query(r, HKEY_LOCAL_MACHINE, "Software\\Classes\\.txt", ""), "txtfile");
    EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, ""),
              QStringList({".txt", QString::fromUtf8("Café"), "txtfile"}));

    // A user-only key with machine-only siblings: both halves show.
    HKey k = 0;
    ASSERT_EQ(r.createKey(HKEY_CURRENT_USER, "Software\\Classes\\.only", &k), 0);
    r.closeKey(k);
    EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, ""),
              QStringList({".only", ".txt", QString::fromUtf8("Café"), "txtfile"}));

    const QByteArray system = readBytes(dir + "/system.reg");
    // The user's copy takes the change; the machine's file stays as it was.
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".txt", "", "changed"), 0);
    EXPECT_EQ(readBytes(dir + "/system.reg"), system);
    EXPECT_TRUE(readBytes(dir + "/user.reg").contains("@=\"changed\""));
    // Below a user-only key, new keys stay with the user; elsewhere they go to the machine.
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".only\\sub", "", "u"), 0);
    EXPECT_EQ(readBytes(dir + "/system.reg"), system);
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, "txtfile", "", "machine"), 0);
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".new", "", "newfile"), 0);
    const QByteArray user = readBytes(dir + "/user.reg");
    EXPECT_FALSE(user.contains("newfile"));
    EXPECT_FALSE(user.contains("machine"));
    EXPECT_TRUE(user.contains("[Software\\\\Classes\\\\.only\\\\sub]"));

    // Deleting through the merged view removes both copies.
    ASSERT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, ".TXT"), 0);
    WineRegistry again(dir);
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, ".txt", ""), "<no key>");
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, ".new", ""), "newfile");
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, "txtfile", ""), "machine");
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, ".only\\sub", ""), "u");
    EXPECT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, ""), status::AccessDenied);
}

TEST(WineRegistry, HandlesFollowTheUsersCopyMadeLater) {
    const QString dir = makePrefix("wine-handles");
    WineRegistry r(dir);
    HKey txt = 0;
    ASSERT_EQ(r.openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &txt), 0);
    ASSERT_EQ(setText(r, HKEY_CURRENT_USER, "Software\\Classes\\.txt", "", "mine"), 0);
    std::uint32_t size = 16;
    char data[16];
    ASSERT_EQ(r.queryValueEx(txt, "", nullptr, data, &size), 0);
    EXPECT_EQ(QByteArray(data, int(size)), QByteArray("mine", 5));
    // The user file is made new with Wine's header.
    EXPECT_TRUE(readBytes(dir + "/user.reg")
                    .startsWith("WINE REGISTRY Version 2\n;; All keys relative to "
                                "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n["));
    ASSERT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, ".txt"), 0);
    EXPECT_EQ(r.queryValueEx(txt, "", nullptr, data, &size), status::KeyDeleted);
    EXPECT_EQ(r.closeKey(txt), 0);
    EXPECT_EQ(r.closeKey(txt), status::InvalidHandle);
}

TEST(WineRegistry, DamagedOrChangedFilesAreNeverOverwritten) {
    const QByteArray torn = WineSystemReg.left(WineSystemReg.indexOf("\"Content Type\"") + 5);
    const QByteArray garbage = QByteArray(WineSystemReg).replace("@=\"txtfile\"", "@=txtfile");
    for (const QByteArray& bad : {torn, garbage}) {
        const QString dir = freshDir("wine-damaged");
        ASSERT_TRUE(writeBytes(dir + "/system.reg", bad));
        WineRegistry r(dir);
        EXPECT_TRUE(r.isReadOnly());
        EXPECT_TRUE(r.problem().contains(dir + "/system.reg")) << r.problem().toStdString();
        EXPECT_EQ(setText(r, HKEY_CLASSES_ROOT, ".txt", "", "x"), status::AccessDenied);
        EXPECT_EQ(setText(r, HKEY_CURRENT_USER, "Software\\A", "", "x"), status::AccessDenied);
        EXPECT_EQ(readBytes(dir + "/system.reg"), bad);
        EXPECT_FALSE(QFile::exists(dir + "/user.reg"));
    }

    // Another program wrote the file after it was read: the save is refused, its text stays,
    // and the store shows what is on disk now.
    const QString dir = makePrefix("wine-changed");
    WineRegistry r(dir);
    const QByteArray theirs = QByteArray(WineSystemReg).replace("\"txtfile\"", "\"theirs\"");
    ASSERT_TRUE(writeBytes(dir + "/system.reg", theirs));
    ::utimensat(AT_FDCWD, QFile::encodeName(dir + "/system.reg").constData(), nullptr, 0);
    EXPECT_EQ(setText(r, HKEY_CLASSES_ROOT, "txtfile", "", "mine"), status::CantWrite);
    EXPECT_TRUE(r.problem().contains("changed by another program"));
    EXPECT_EQ(readBytes(dir + "/system.reg"), theirs);
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", ""), "theirs");
    EXPECT_EQ(setText(r, HKEY_CLASSES_ROOT, "txtfile", "", "mine"), 0);
}

TEST(WineRegistry, SavesKeepTheFilesPermissions) {
    const QString dir = makePrefix("wine-mode");
    const QByteArray path = QFile::encodeName(dir + "/system.reg");
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    WineRegistry r(dir);
    ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, ".txt", "", "x"), 0);
    struct stat st;
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(QDir(dir).entryList(QDir::Hidden | QDir::Files).filter(".orvx-").isEmpty());

    // Files kept elsewhere through links: the link stays, the file it names changes.
    const QString elsewhere = freshDir("wine-elsewhere");
    const QString linked = freshDir("wine-linked");
    ASSERT_TRUE(writeBytes(elsewhere + "/system.reg", WineSystemReg));
    ASSERT_TRUE(QFile::link(elsewhere + "/system.reg", linked + "/system.reg"));
    WineRegistry l(linked);
    ASSERT_EQ(setText(l, HKEY_CLASSES_ROOT, ".txt", "", "linked"), 0);
    EXPECT_TRUE(QFileInfo(linked + "/system.reg").isSymLink());
    EXPECT_TRUE(readBytes(elsewhere + "/system.reg").contains("@=\"linked\""));
    EXPECT_EQ(setText(l, HKEY_CLASSES_ROOT, ".txt", "", "again"), 0);
}

TEST(WineRegistry, ChoosingTheRegistry) {
    const QString dir = makePrefix("wine-choice");
    qputenv("ORVANEX_HIVE", "/tmp/env.hive");
    EXPECT_EQ(chooseRegistry("a.hive", dir).winePrefix, QString());
    EXPECT_TRUE(chooseRegistry("a.hive", dir).hive.path.endsWith("/a.hive"));
    EXPECT_EQ(chooseRegistry("", dir).winePrefix, dir);
    EXPECT_EQ(chooseRegistry("", "").hive.path, "/tmp/env.hive");
    qunsetenv("ORVANEX_HIVE");
    EXPECT_EQ(chooseRegistry("", dir).description(), "Wine prefix " + dir);

    QString error;
    EXPECT_TRUE(openChosenRegistry(chooseRegistry("", dir), &error));
    const QString empty = freshDir("not-a-prefix");
    EXPECT_FALSE(openChosenRegistry(chooseRegistry("", empty), &error));
    EXPECT_EQ(error, empty + " is not a Wine prefix: it has no system.reg");
}
