// The hive file: lossless, text, never replaced when unreadable, shared safely between handles
// that each keep their own view (as two processes would).

#include "registry/hive_format.h"
#include "registry/reg_state.h"
#include "support/test_env.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex::reg;
using orvanex::test::freshDir;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void appendFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(bytes);
}

QByteArray value(Registry& r, HKey root, const QString& path, const QString& name,
                 std::uint32_t* type = nullptr) {
    HKey k = 0;
    if (r.openKeyEx(root, path, 0, KEY_ALL_USED, &k) != 0)
        return "<no key>";
    QByteArray data;
    QString n;
    for (std::uint32_t i = 0; r.enumValue(k, i, &n, type, &data) == 0; ++i)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            r.closeKey(k);
            return data;
        }
    r.closeKey(k);
    return "<no value>";
}

Status setValue(Registry& r, HKey root, const QString& path, const QString& name,
                std::uint32_t type, const QByteArray& data) {
    HKey k = 0;
    if (Status s = r.createKey(root, path, &k))
        return s;
    const Status s = r.setValueEx(k, name, type, data.constData(), std::uint32_t(data.size()));
    r.closeKey(k);
    return s;
}

} // namespace

TEST(HiveFile, EveryTypeAndNameSurvivesAReopen) {
    const QString hive = freshDir("lossless") + "/sub/dir/registry.hive";
    const QString odd = QString::fromUtf8("Ключ \"quoted\" \\ 日本 😀 tab\there");
    const QByteArray allBytes = [] {
        QByteArray b;
        for (int i = 0; i < 256; ++i)
            b += char(i);
        return b;
    }();
    {
        auto r = Registry::openHive(hive);
        EXPECT_TRUE(r->problem().isEmpty());
        EXPECT_FALSE(QFile::exists(hive)); // created on the first write
        ASSERT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".txt", "", type::Sz, "txtfile"), 0);
        ASSERT_EQ(setValue(*r, HKEY_CLASSES_ROOT, odd, odd, type::Sz, odd.toUtf8()), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "bin", type::Binary, allBytes), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "dw", type::Dword, "\x01\x02\x03\x04"), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "dw3", type::Dword, "\x01\x02\x03"), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "q", type::Qword, "12345678"), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "m", type::MultiSz, {"a\0b\0\0", 5}), 0);
        ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "T", "u", 0xdeadbeef, allBytes), 0);
        ASSERT_EQ(setValue(*r, HKEY_USERS, "Empty\\Leaf", "", type::None, {}), 0);
        HKey k = 0;
        ASSERT_EQ(r->createKey(HKEY_CURRENT_CONFIG, "Only\\Keys\\Here", &k), 0);
        ASSERT_EQ(r->deleteValue(k, "nothing"), 2);
        r->closeKey(k);
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(hive).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const QByteArray text = readFile(hive);
    EXPECT_TRUE(text.startsWith("ORVANEX-HIVE 1\n"));
    EXPECT_TRUE(text.contains("\"txtfile\"")) << text.constData(); // readable as text
    EXPECT_TRUE(text.contains(QString::fromUtf8("日本").toUtf8()));

    auto again = Registry::openHive(hive);
    EXPECT_TRUE(again->problem().isEmpty());
    std::uint32_t t = 0;
    EXPECT_EQ(value(*again, HKEY_CLASSES_ROOT, ".TXT", "", &t), "txtfile");
    EXPECT_EQ(t, type::Sz);
    EXPECT_EQ(value(*again, HKEY_CLASSES_ROOT, odd, odd), odd.toUtf8());
    EXPECT_EQ(value(*again, HKEY_CURRENT_USER, "T", "bin", &t), allBytes);
    EXPECT_EQ(value(*again, HKEY_CURRENT_USER, "T", "dw"), "\x01\x02\x03\x04");
    EXPECT_EQ(value(*again, HKEY_CURRENT_USER, "T", "dw3"), "\x01\x02\x03");
    EXPECT_EQ(value(*again, HKEY_CURRENT_USER, "T", "m"), QByteArray("a\0b\0\0", 5));
    EXPECT_EQ(value(*again, HKEY_CURRENT_USER, "T", "u", &t), allBytes);
    EXPECT_EQ(t, 0xdeadbeefu);
    EXPECT_EQ(value(*again, HKEY_USERS, "empty\\leaf", ""), "");
    EXPECT_EQ(value(*again, HKEY_CURRENT_CONFIG, "only\\keys\\here", "x"), "<no value>");
    // A snapshot reads back the same as the journal it replaces.
    ASSERT_EQ(again->compact(), 0);
    auto compacted = Registry::openHive(hive);
    EXPECT_EQ(value(*compacted, HKEY_CURRENT_USER, "T", "u"), allBytes);
    EXPECT_EQ(value(*compacted, HKEY_CLASSES_ROOT, odd, odd), odd.toUtf8());
    EXPECT_LT(readFile(hive).size(), text.size());
}

TEST(HiveFile, AnUnfinishedBlockIsIgnoredAndCutOffByTheNextWrite) {
    const QString hive = freshDir("torn") + "/r.hive";
    {
        auto r = Registry::openHive(hive);
        ASSERT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".a", "", type::Sz, "afile"), 0);
    }
    const QByteArray good = readFile(hive);
    appendFile(hive, "key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\.b\"\nval \"\" 1 \"bf");
    auto r = Registry::openHive(hive);
    EXPECT_TRUE(r->problem().isEmpty());
    HKey k = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".b", 0, 0x3F, &k), 2);
    ASSERT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".c", "", type::Sz, "cfile"), 0);
    const QByteArray after = readFile(hive);
    EXPECT_TRUE(after.startsWith(good));
    EXPECT_FALSE(after.contains("bf"));
    auto reread = Registry::openHive(hive);
    EXPECT_EQ(value(*reread, HKEY_CLASSES_ROOT, ".c", ""), "cfile");
    EXPECT_EQ(value(*reread, HKEY_CLASSES_ROOT, ".a", ""), "afile");
    // A creation that stopped inside the header is an empty hive, not a damaged one.
    const QString half = freshDir("torn-header") + "/r.hive";
    writeFile(half, "ORVANEX-HI");
    EXPECT_TRUE(Registry::openHive(half)->problem().isEmpty());
}

TEST(HiveFile, ADamagedHiveOpensReadOnlyAndIsNeverReplaced) {
    const QString dir = freshDir("damaged");
    const std::pair<const char*, QByteArray> cases[] = {
        {"not-a-hive", "this is somebody's notes\n"},
        {"bad-crc", QByteArray(HiveHeader) + "key \"HKEY_USERS\\\\x\"\ncommit 1 00000000\n"},
        {"bad-line", QByteArray(HiveHeader) + "wat\ncommit 1 00000000\n"},
    };
    for (const auto& [name, bytes] : cases) {
        const QString hive = dir + '/' + name;
        writeFile(hive, bytes);
        ::chmod(QFile::encodeName(hive).constData(), 0644);
        testing::internal::CaptureStderr();
        auto r = Registry::openHive(hive);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(r->isReadOnly()) << name;
        EXPECT_FALSE(r->problem().isEmpty()) << name;
        EXPECT_NE(err.find("read-only"), std::string::npos) << name;
        HKey k = 0;
        EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, ".x", &k), status::AccessDenied);
        EXPECT_EQ(r->deleteKey(HKEY_CURRENT_USER, "x"), status::AccessDenied);
        EXPECT_EQ(r->setValueEx(HKEY_CURRENT_USER, "v", type::Sz, "x", 1), status::AccessDenied);
        EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, "", 0, 0x3F, &k), status::RegistryCorrupt);
        QString sub;
        EXPECT_EQ(r->enumKeyEx(HKEY_CLASSES_ROOT, 0, &sub), status::RegistryCorrupt);
        EXPECT_EQ(readFile(hive), bytes);
    }
}

TEST(HiveFile, AWriteThatCannotReachTheDiskFailsAndLeavesNothingBehind) {
    const QString dir = freshDir("blocked");
    writeFile(dir + "/file", "x");
    auto r = Registry::openHive(dir + "/file/r.hive"); // below a file: cannot exist
    HKey k = 0;
    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, ".x", &k), status::CantWrite);
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".x", 0, 0x3F, &k), status::FileNotFound);
    RegState state;
    state.registry = r.get();
    EXPECT_EQ(WriteText(state, ".y", "", "x"), status::CantWrite);
    RegErrorText(state, state.LastStatus);
    EXPECT_EQ(state.ErrorText, "Can't Write Key");
}

TEST(HiveFile, AReadOnlyHiveRefusesWritesAndAFailedDeletionStopsTheSequence) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString hive = freshDir("readonly") + "/r.hive";
    {
        auto r = Registry::openHive(hive);
        RegState state;
        state.registry = r.get();
        ASSERT_EQ(CreateKeyChain(state, {"t\\ddeexec\\topic", "t\\ddeexec\\application"}), 0);
    }
    ::chmod(QFile::encodeName(hive).constData(), 0400);
    auto r = Registry::openHive(hive);
    EXPECT_TRUE(r->isReadOnly());
    RegState state;
    state.registry = r.get();
    EXPECT_EQ(DeleteKeysInOrder(state, {"t\\ddeexec\\ifexec", "t\\ddeexec\\topic",
                                        "t\\ddeexec\\application", "t\\ddeexec"}),
              status::AccessDenied);
    EXPECT_EQ(EnumerateSubkeys(state, "t\\ddeexec"), (QStringList{"application", "topic"}));
}

TEST(HiveFile, TwoViewsOfOneHiveLoseNothing) {
    const QString hive = freshDir("shared") + "/r.hive";
    auto a = Registry::openHive(hive);
    auto b = Registry::openHive(hive);
    ASSERT_EQ(setValue(*a, HKEY_CLASSES_ROOT, ".a", "", type::Sz, "from a"), 0);
    ASSERT_EQ(setValue(*b, HKEY_CLASSES_ROOT, ".b", "", type::Sz, "from b"), 0);
    // b picked up a's change before writing its own.
    EXPECT_EQ(value(*b, HKEY_CLASSES_ROOT, ".a", ""), "from a");
    // a sees b's change only after a refresh: reads stay in memory.
    EXPECT_EQ(value(*a, HKEY_CLASSES_ROOT, ".b", ""), "<no key>");
    HKey handleInA = 0;
    ASSERT_EQ(a->openKeyEx(HKEY_CLASSES_ROOT, ".a", 0, 0x3F, &handleInA), 0);
    ASSERT_EQ(b->deleteKey(HKEY_CLASSES_ROOT, ".a"), 0);
    ASSERT_EQ(b->compact(), 0); // a must notice the file was replaced
    ASSERT_EQ(a->refresh(), 0);
    EXPECT_EQ(value(*a, HKEY_CLASSES_ROOT, ".b", ""), "from b");
    EXPECT_EQ(a->setValueEx(handleInA, "", type::Sz, "late", 4), status::KeyDeleted);
    ASSERT_EQ(setValue(*a, HKEY_CLASSES_ROOT, ".c", "", type::Sz, "from a"), 0);
    auto c = Registry::openHive(hive);
    EXPECT_EQ(value(*c, HKEY_CLASSES_ROOT, ".a", ""), "<no key>");
    EXPECT_EQ(value(*c, HKEY_CLASSES_ROOT, ".b", ""), "from b");
    EXPECT_EQ(value(*c, HKEY_CLASSES_ROOT, ".c", ""), "from a");
}

TEST(HiveFile, ABatchIsOneCommit) {
    const QString hive = freshDir("batch") + "/r.hive";
    auto r = Registry::openHive(hive);
    ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, "first", "", type::Sz, "x"), 0);
    const qsizetype commitsBefore = readFile(hive).count("\ncommit ");
    {
        WriteBatch batch(*r);
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(setValue(*r, HKEY_CURRENT_USER, QString("k%1").arg(i), "", type::Sz, "v"), 0);
        EXPECT_EQ(batch.finish(), 0);
    }
    EXPECT_EQ(readFile(hive).count("\ncommit "), commitsBefore + 1);
    auto reread = Registry::openHive(hive);
    EXPECT_EQ(value(*reread, HKEY_CURRENT_USER, "k49", ""), "v");
}
