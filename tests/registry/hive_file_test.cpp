// The hive file: lossless, text, never replaced when unreadable, shared safely between handles
// that each keep their own view (as two processes would).

#include "registry/hive_file.h"
#include "registry/hive_format.h"
#include "registry/reg_state.h"
#include "store_calls.h"
#include "support/log_capture.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex::reg;
using orvanex::test::capturedLog;
using orvanex::test::captureLog;
using orvanex::test::freshDir;
using orvanex::test::setData;
using orvanex::test::valueData;

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
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".txt", "", type::Sz, "txtfile"), 0);
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, odd, odd, type::Sz, odd.toUtf8()), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "bin", type::Binary, allBytes), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "dw", type::Dword, "\x01\x02\x03\x04"), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "dw3", type::Dword, "\x01\x02\x03"), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "q", type::Qword, "12345678"), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "m", type::MultiSz, {"a\0b\0\0", 5}), 0);
        ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "u", 0xdeadbeef, allBytes), 0);
        ASSERT_EQ(setData(*r, HKEY_USERS, "Empty\\Leaf", "", type::None, {}), 0);
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
    EXPECT_EQ(valueData(*again, HKEY_CLASSES_ROOT, ".TXT", "", &t), "txtfile");
    EXPECT_EQ(t, type::Sz);
    EXPECT_EQ(valueData(*again, HKEY_CLASSES_ROOT, odd, odd), odd.toUtf8());
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "T", "bin", &t), allBytes);
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "T", "dw"), "\x01\x02\x03\x04");
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "T", "dw3"), "\x01\x02\x03");
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "T", "m"), QByteArray("a\0b\0\0", 5));
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "T", "u", &t), allBytes);
    EXPECT_EQ(t, 0xdeadbeefu);
    EXPECT_EQ(valueData(*again, HKEY_USERS, "empty\\leaf", ""), "");
    EXPECT_EQ(valueData(*again, HKEY_CURRENT_CONFIG, "only\\keys\\here", "x"), "<no value>");
    // A snapshot reads back the same as the journal it replaces.
    ASSERT_EQ(again->compact(), 0);
    auto compacted = Registry::openHive(hive);
    EXPECT_EQ(valueData(*compacted, HKEY_CURRENT_USER, "T", "u"), allBytes);
    EXPECT_EQ(valueData(*compacted, HKEY_CLASSES_ROOT, odd, odd), odd.toUtf8());
    EXPECT_LT(readFile(hive).size(), text.size());
}

TEST(HiveFile, AnUnfinishedBlockIsIgnoredAndKeptBesideTheHiveWhenCut) {
    const QString dir = freshDir("torn");
    const QString hive = dir + "/r.hive";
    {
        auto r = Registry::openHive(hive);
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".a", "", type::Sz, "afile"), 0);
    }
    const QByteArray good = readFile(hive);
    const QByteArray torn =
        "key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\.b\"\nval \"\" 1 \"bf";
    appendFile(hive, torn);
    auto r = Registry::openHive(hive);
    EXPECT_TRUE(r->problem().isEmpty());
    HKey k = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".b", 0, 0x3F, &k), 2);
    EXPECT_EQ(readFile(hive), good + torn); // opening changes nothing
    captureLog();
    ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".c", "", type::Sz, "cfile"), 0);
    const std::string err = capturedLog();
    const QByteArray after = readFile(hive);
    EXPECT_TRUE(after.startsWith(good));
    EXPECT_FALSE(after.contains("bf"));
    const QStringList copies = QDir(dir).entryList({"r.hive.torn-*"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(dir + '/' + copies[0]), torn);
    EXPECT_NE(err.find(copies[0].toStdString()), std::string::npos) << err;
    auto reread = Registry::openHive(hive);
    EXPECT_EQ(valueData(*reread, HKEY_CLASSES_ROOT, ".c", ""), "cfile");
    EXPECT_EQ(valueData(*reread, HKEY_CLASSES_ROOT, ".a", ""), "afile");

    // Folding the journal replaces the whole file: the tail is kept first there too, in a copy
    // of its own.
    appendFile(hive, "delkey \"HKEY_USERS\\\\gone\"\ncomm");
    captureLog();
    auto folding = Registry::openHive(hive);
    ASSERT_EQ(folding->compact(), 0);
    capturedLog();
    const QStringList after2 = QDir(dir).entryList({"r.hive.torn-*"}, QDir::Files, QDir::Name);
    ASSERT_EQ(after2.size(), 2);
    QByteArray both = readFile(dir + '/' + after2[0]) + readFile(dir + '/' + after2[1]);
    EXPECT_TRUE(both.contains("delkey \"HKEY_USERS\\\\gone\"\ncomm")) << both.constData();
    EXPECT_EQ(readFile(hive).count("\ncommit "), 1);

    // A creation that stopped inside the header is an empty hive, not a damaged one.
    const QString half = freshDir("torn-header") + "/r.hive";
    writeFile(half, "ORVANEX-HI");
    auto halfHive = Registry::openHive(half);
    EXPECT_TRUE(halfHive->problem().isEmpty());
    ASSERT_EQ(setData(*halfHive, HKEY_CURRENT_USER, "k", "", type::Sz, "v"), 0);
    EXPECT_EQ(valueData(*Registry::openHive(half), HKEY_CURRENT_USER, "k", ""), "v");
}

TEST(HiveFile, AnEmptyFileBecomesAWorkingHive) {
    const QString hive = freshDir("empty") + "/e.hive";
    writeFile(hive, "");
    {
        auto r = Registry::openHive(hive);
        EXPECT_TRUE(r->problem().isEmpty());
        EXPECT_FALSE(r->isReadOnly());
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".a", "", type::Sz, "afile"), 0);
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".b", "", type::Sz, "bfile"), 0);
    }
    EXPECT_TRUE(readFile(hive).startsWith(HiveHeader));
    auto again = Registry::openHive(hive);
    EXPECT_TRUE(again->problem().isEmpty()) << again->problem().toStdString();
    EXPECT_EQ(valueData(*again, HKEY_CLASSES_ROOT, ".a", ""), "afile");
    EXPECT_EQ(valueData(*again, HKEY_CLASSES_ROOT, ".b", ""), "bfile");
    // Another view that saw the empty file writes after the first one made it a hive.
    const QString shared = freshDir("empty-shared") + "/e.hive";
    writeFile(shared, "");
    auto a = Registry::openHive(shared);
    auto b = Registry::openHive(shared);
    ASSERT_EQ(setData(*a, HKEY_CURRENT_USER, "a", "", type::Sz, "1"), 0);
    ASSERT_EQ(setData(*b, HKEY_CURRENT_USER, "b", "", type::Sz, "2"), 0);
    auto c = Registry::openHive(shared);
    EXPECT_TRUE(c->problem().isEmpty());
    EXPECT_EQ(valueData(*c, HKEY_CURRENT_USER, "a", ""), "1");
    EXPECT_EQ(valueData(*c, HKEY_CURRENT_USER, "b", ""), "2");
}

TEST(HiveFile, ACutSnapshotOrADamagedLastCommitLineIsDamageNotAnUnfinishedWrite) {
    const QString dir = freshDir("cut");
    const QString source = dir + "/gold.hive";
    {
        auto r = Registry::openHive(source);
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, QString(".e%1").arg(i), "", type::Sz, "x"), 0);
        ASSERT_EQ(r->compact(), 0);
        ASSERT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".last", "", type::Sz, "kept"), 0);
    }
    const QByteArray gold = readFile(source);
    const qsizetype snapshotEnd = gold.indexOf("\ncommit ");
    const qsizetype lastCommit = gold.lastIndexOf("\ncommit ") + 1;
    QByteArray badWord = gold;
    badWord[lastCommit + 1] = 'O'; // "cOmmit"
    QByteArray badEnd = gold;
    badEnd[badEnd.size() - 1] = '0'; // the commit line runs on: nine hex digits
    QByteArray mergedLine = gold;
    mergedLine[lastCommit - 1] = ' '; // the last value line runs into the commit line
    const std::pair<const char*, QByteArray> cases[] = {
        {"cut in the snapshot", gold.first(snapshotEnd / 2)},
        {"only the header", gold.first(qsizetype(sizeof(HiveHeader)) - 1)},
        {"snapshot without its line end", gold.first(snapshotEnd + 1)},
        {"damaged commit word", badWord},
        {"damaged commit line end", badEnd},
        {"value line run into the commit", mergedLine},
    };
    for (const auto& [name, bytes] : cases) {
        const QString hive = dir + "/t.hive";
        writeFile(hive, bytes);
        captureLog();
        auto r = Registry::openHive(hive);
        const std::string err = capturedLog();
        EXPECT_TRUE(r->isReadOnly()) << name;
        EXPECT_NE(err.find("damaged"), std::string::npos) << name << err;
        EXPECT_EQ(setData(*r, HKEY_CLASSES_ROOT, ".new", "", type::Sz, "x"), status::AccessDenied)
            << name;
        EXPECT_EQ(readFile(hive), bytes) << name;
    }
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
        captureLog();
        auto r = Registry::openHive(hive);
        const std::string err = capturedLog();
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

TEST(HiveFile, TwoViewsOfOneHiveLoseNothing) {
    const QString hive = freshDir("shared") + "/r.hive";
    auto a = Registry::openHive(hive);
    auto b = Registry::openHive(hive);
    ASSERT_EQ(setData(*a, HKEY_CLASSES_ROOT, ".a", "", type::Sz, "from a"), 0);
    ASSERT_EQ(setData(*b, HKEY_CLASSES_ROOT, ".b", "", type::Sz, "from b"), 0);
    // b picked up a's change before writing its own.
    EXPECT_EQ(valueData(*b, HKEY_CLASSES_ROOT, ".a", ""), "from a");
    // a sees b's change only after a refresh: reads stay in memory.
    EXPECT_EQ(valueData(*a, HKEY_CLASSES_ROOT, ".b", ""), "<no key>");
    HKey handleInA = 0;
    ASSERT_EQ(a->openKeyEx(HKEY_CLASSES_ROOT, ".a", 0, 0x3F, &handleInA), 0);
    ASSERT_EQ(b->deleteKey(HKEY_CLASSES_ROOT, ".a"), 0);
    ASSERT_EQ(b->compact(), 0); // a must notice the file was replaced
    ASSERT_EQ(a->refresh(), 0);
    EXPECT_EQ(valueData(*a, HKEY_CLASSES_ROOT, ".b", ""), "from b");
    EXPECT_EQ(a->setValueEx(handleInA, "", type::Sz, "late", 4), status::KeyDeleted);
    ASSERT_EQ(setData(*a, HKEY_CLASSES_ROOT, ".c", "", type::Sz, "from a"), 0);
    auto c = Registry::openHive(hive);
    EXPECT_EQ(valueData(*c, HKEY_CLASSES_ROOT, ".a", ""), "<no key>");
    EXPECT_EQ(valueData(*c, HKEY_CLASSES_ROOT, ".b", ""), "from b");
    EXPECT_EQ(valueData(*c, HKEY_CLASSES_ROOT, ".c", ""), "from a");
}

TEST(HiveFile, ABatchIsOneCommit) {
    const QString hive = freshDir("batch") + "/r.hive";
    auto r = Registry::openHive(hive);
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "first", "", type::Sz, "x"), 0);
    const qsizetype commitsBefore = readFile(hive).count("\ncommit ");
    {
        WriteBatch batch(*r);
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, QString("k%1").arg(i), "", type::Sz, "v"), 0);
        EXPECT_EQ(batch.finish(), 0);
    }
    EXPECT_EQ(readFile(hive).count("\ncommit "), commitsBefore + 1);
    auto reread = Registry::openHive(hive);
    EXPECT_EQ(valueData(*reread, HKEY_CURRENT_USER, "k49", ""), "v");
}

TEST(HiveFile, TheJournalFoldsOnlyOnceItPassesTheThreshold) {
    const QString hive = freshDir("fold") + "/r.hive";
    auto r = Registry::openHive(hive);
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "first", type::Sz, "x"), 0);
    const QByteArray start = readFile(hive);
    const qsizetype snapshot = start.indexOf('\n', start.indexOf("\ncommit ") + 1) + 1;
    ASSERT_GT(snapshot, 0);
    const qsizetype commits = start.count("\ncommit ");
    // A block's size apart from its data, measured on a block of the same sequence width.
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "v", type::Sz, QByteArray(1000, 'a')), 0);
    const qsizetype overhead = readFile(hive).size() - start.size() - 1000;
    const qsizetype journal = readFile(hive).size() - snapshot;
    const qsizetype fill = JournalFoldThreshold - journal - overhead;
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "v", type::Sz, QByteArray(fill, 'b')), 0);
    QByteArray text = readFile(hive);
    ASSERT_EQ(text.size() - snapshot, JournalFoldThreshold); // exactly at the threshold
    EXPECT_EQ(text.count("\ncommit "), commits + 2);         // not folded yet
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "T", "w", type::Sz, "y"), 0);
    text = readFile(hive);
    EXPECT_EQ(text.count("\ncommit "), 1); // folded into one snapshot
    EXPECT_LT(text.size(), fill + 1000);
    auto reread = Registry::openHive(hive);
    EXPECT_EQ(valueData(*reread, HKEY_CURRENT_USER, "T", "v"), QByteArray(fill, 'b'));
    EXPECT_EQ(valueData(*reread, HKEY_CURRENT_USER, "T", "w"), "y");
    EXPECT_EQ(valueData(*reread, HKEY_CURRENT_USER, "T", "first"), "x");
}

TEST(HiveFile, KeysNestUpToTheDepthLimitAndKeepItThroughTheFile) {
    const QString hive = freshDir("depth") + "/r.hive";
    auto r = Registry::openHive(hive);
    // HKEY_CURRENT_USER is one level; the limit counts it.
    QStringList parts;
    for (int i = 1; i < MaxKeyDepth; ++i)
        parts << QString("d%1").arg(i);
    const QString deepest = parts.join('\\');
    HKey k = 0;
    ASSERT_EQ(r->createKey(HKEY_CURRENT_USER, deepest, &k), 0);
    ASSERT_EQ(r->setValueEx(k, "at", type::Sz, "bottom", 6), 0);
    HKey tooDeep = 0;
    EXPECT_EQ(r->createKey(k, "one more", &tooDeep), status::InvalidParameter);
    EXPECT_EQ(r->createKey(HKEY_CURRENT_USER, deepest + "\\one more", &tooDeep),
              status::InvalidParameter);
    r->closeKey(k);
    // The deepest key survives the journal and a snapshot.
    EXPECT_EQ(valueData(*Registry::openHive(hive), HKEY_CURRENT_USER, deepest, "at"), "bottom");
    ASSERT_EQ(r->compact(), 0);
    auto reread = Registry::openHive(hive);
    EXPECT_TRUE(reread->problem().isEmpty());
    EXPECT_EQ(valueData(*reread, HKEY_CURRENT_USER, deepest, "at"), "bottom");
    // A file that nests deeper than the limit is damage, not a tree to build.
    const QString deeper = freshDir("too-deep") + "/r.hive";
    const QByteArray block =
        "key \"HKEY_CURRENT_USER\\\\" + (deepest + "\\x").toUtf8().replace("\\", "\\\\") + "\"\n";
    writeFile(deeper, QByteArray(HiveHeader) + block + "commit 1 " +
                          QByteArray::number(crc32(block), 16).rightJustified(8, '0') + '\n');
    captureLog();
    EXPECT_TRUE(Registry::openHive(deeper)->isReadOnly());
    capturedLog();
}

TEST(HiveFile, ManySubkeysAreFoundByAnySpellingAfterAReload) {
    const QString hive = freshDir("index") + "/r.hive";
    auto a = Registry::openHive(hive);
    auto b = Registry::openHive(hive);
    {
        WriteBatch batch(*a);
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(setData(*a, HKEY_CLASSES_ROOT, QString::fromUtf8(".Ä%1x").arg(i), "",
                              type::Sz, QByteArray::number(i)),
                      0);
    }
    ASSERT_EQ(b->refresh(), 0);
    ASSERT_EQ(b->deleteKey(HKEY_CLASSES_ROOT, QString::fromUtf8(".ä7X")), 0);
    ASSERT_EQ(setData(*b, HKEY_CLASSES_ROOT, ".new", "", type::Sz, "n"), 0);
    ASSERT_EQ(b->compact(), 0); // a reloads the whole file and merges it into its tree
    ASSERT_EQ(a->refresh(), 0);
    for (Registry* r : {a.get(), b.get()}) {
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, QString::fromUtf8(".ä150X"), ""), "150");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, QString::fromUtf8(".Ä0x"), ""), "0");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, QString::fromUtf8(".Ä7x"), ""), "<no key>");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".NEW", ""), "n");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, QString::fromUtf8(".Ä200x"), ""), "<no key>");
    }
}

TEST(HiveFile, HivesWrittenBeforeStillOpen) {
    // The standard CRC-32 check value: the checksum the format has always used.
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    // A hive with a snapshot and one block, as earlier versions wrote it.
    const QString hive = freshDir("old") + "/r.hive";
    writeFile(hive, readFile(orvanex::test::sourceDir() + "/fuzz/corpus/reg_hive/two-blocks.hive"));
    auto r = Registry::openHive(hive);
    ASSERT_TRUE(r->problem().isEmpty()) << r->problem().toStdString();
    EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Flags"), QByteArray("\x1f\0\0\0", 4));
    EXPECT_EQ(valueData(*r, HKEY_CURRENT_USER, QString::fromUtf8("Ключ"), QString::fromUtf8("名")),
              QString::fromUtf8("☃").toUtf8());
    ASSERT_EQ(setData(*r, HKEY_CURRENT_USER, "new", "", type::Sz, "x"), 0);
    EXPECT_EQ(valueData(*Registry::openHive(hive), HKEY_CURRENT_USER, "new", ""), "x");
}
