// A hive damaged on purpose, at every cut length and by single changed bytes: it opens with every
// committed change or read-only with a message, and a write afterwards keeps every byte of it (in
// the file, or in the copy set aside beside it).

#include "file_bytes.h"
#include "registry/hive_format.h"
#include "registry/registry.h"
#include "support/log_capture.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvanex::reg;
using orvanex::test::capturedLog;
using orvanex::test::captureLog;
using orvanex::test::freshDir;
using orvanex::test::readBytes;
using orvanex::test::writeBytes;

namespace {

// Every key and value below the roots, as text, in enumeration order.
void dumpKey(Registry& r, HKey key, const QString& path, QByteArray& out) {
    QString name;
    std::uint32_t type = 0;
    QByteArray data;
    for (std::uint32_t i = 0; r.enumValue(key, i, &name, &type, &data) == 0; ++i)
        out += path.toUtf8() + " [" + name.toUtf8() + "] " + QByteArray::number(type) + ' ' +
               data.toHex() + '\n';
    for (std::uint32_t i = 0; r.enumKeyEx(key, i, &name) == 0; ++i) {
        HKey sub = 0;
        if (r.openKeyEx(key, name, 0, KEY_ALL_USED, &sub) != 0) {
            out += "<cannot open " + name.toUtf8() + ">\n";
            continue;
        }
        out += path.toUtf8() + '\\' + name.toUtf8() + '\n';
        dumpKey(r, sub, path + '\\' + name, out);
        r.closeKey(sub);
    }
}

QByteArray dump(Registry& r) {
    QByteArray out;
    const std::pair<HKey, const char*> roots[] = {{HKEY_LOCAL_MACHINE, "HKLM"},
                                                  {HKEY_CURRENT_USER, "HKCU"},
                                                  {HKEY_USERS, "HKU"},
                                                  {HKEY_CURRENT_CONFIG, "HKCC"}};
    for (const auto& [root, name] : roots)
        dumpKey(r, root, QString::fromLatin1(name), out);
    return out;
}

Status setValue(Registry& r, HKey root, const QString& path, const QString& name,
                const QByteArray& data) {
    HKey k = 0;
    if (Status s = r.createKey(root, path, &k))
        return s;
    const Status s = r.setValueEx(k, name, type::Sz, data.constData(), std::uint32_t(data.size()));
    r.closeKey(k);
    return s;
}

// A hive of a snapshot and a journal of several blocks, with the registry's content after each
// commit and the file offset where each commit ends.
struct BuiltHive {
    QByteArray bytes;
    std::vector<qsizetype> ends;   // ends[0]: the snapshot
    std::vector<QByteArray> dumps; // the content when the file ends at ends[i]
};

BuiltHive buildHive(const QString& dir) {
    const QString path = dir + "/built.hive";
    BuiltHive built;
    auto r = Registry::openHive(path);
    EXPECT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".txt", "", "txtfile"), 0);
    EXPECT_EQ(setValue(*r, HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", "ed \"%1\""), 0);
    EXPECT_EQ(setValue(*r, HKEY_CURRENT_USER, QString::fromUtf8("Ключ"), "n", "\x01\xff"), 0);
    EXPECT_EQ(r->compact(), 0);
    auto note = [&] {
        built.bytes = readBytes(path);
        built.ends.push_back(built.bytes.size());
        built.dumps.push_back(dump(*r));
    };
    note();
    {
        WriteBatch batch(*r); // one commit, so the content is known at each commit's end
        EXPECT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".doc", "", "docfile"), 0);
    }
    note();
    {
        WriteBatch batch(*r);
        EXPECT_EQ(setValue(*r, HKEY_CLASSES_ROOT, ".txt", "Content Type", "text/plain"), 0);
        EXPECT_EQ(r->deleteKey(HKEY_CLASSES_ROOT, "txtfile\\shell"), 0);
        EXPECT_EQ(batch.finish(), 0);
    }
    note();
    HKey k = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".doc", 0, KEY_ALL_USED, &k), 0);
    EXPECT_EQ(r->deleteValue(k, ""), 0);
    r->closeKey(k);
    note();
    {
        WriteBatch batch(*r);
        EXPECT_EQ(setValue(*r, HKEY_USERS, "last", "v", "the last block"), 0);
    }
    note();
    EXPECT_EQ(built.bytes.count("\ncommit "), qsizetype(built.ends.size()));
    return built;
}

QStringList tornCopies(const QString& dir) {
    return QDir(dir).entryList({"r.hive.torn-*"}, QDir::Files, QDir::Name);
}

// After a write: the damaged bytes are all in the file, or their tail is in a copy beside it.
void expectRecoverable(const QString& dir, const QByteArray& damaged, const QString& what) {
    const QByteArray now = readBytes(dir + "/r.hive");
    if (now.startsWith(damaged))
        return;
    for (const QString& copy : tornCopies(dir)) {
        const QByteArray tail = readBytes(dir + '/' + copy);
        if (damaged.endsWith(tail) && now.startsWith(damaged.first(damaged.size() - tail.size())))
            return;
    }
    ADD_FAILURE() << "bytes of the damaged hive were lost, " << what.toStdString();
}

// Opens the damaged bytes, checks what the registry shows, then writes and checks nothing was
// lost. wanted: the content expected when it opens writable; null when it must open read-only.
void openAndWrite(const QString& dir, const QByteArray& damaged, const QByteArray* wanted,
                  const QString& what) {
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString hive = dir + "/r.hive";
    ASSERT_TRUE(writeBytes(hive, damaged));
    captureLog();
    {
        auto r = Registry::openHive(hive);
        if (wanted) {
            ASSERT_FALSE(r->isReadOnly()) << what.toStdString() << r->problem().toStdString();
            ASSERT_EQ(dump(*r).toStdString(), wanted->toStdString()) << what.toStdString();
        } else {
            ASSERT_TRUE(r->isReadOnly()) << what.toStdString();
            ASSERT_FALSE(r->problem().isEmpty()) << what.toStdString();
        }
        const Status written = setValue(*r, HKEY_CURRENT_CONFIG, "after", "", "written");
        EXPECT_EQ(written, wanted ? status::Success : status::AccessDenied) << what.toStdString();
    }
    capturedLog();
    if (!wanted) {
        EXPECT_EQ(readBytes(hive), damaged) << what.toStdString();
        return;
    }
    expectRecoverable(dir, damaged, what);
    auto reread = Registry::openHive(hive);
    EXPECT_TRUE(reread->problem().isEmpty()) << what.toStdString();
    EXPECT_TRUE(dump(*reread).startsWith(*wanted)) << what.toStdString();
    EXPECT_TRUE(dump(*reread).contains("[] 1 " + QByteArray("written").toHex()))
        << what.toStdString();
}

} // namespace

TEST(HiveDamage, EveryCutLengthOpensWhatWasCommittedOrReadOnly) {
    const QString base = freshDir("cuts");
    const BuiltHive built = buildHive(base);
    ASSERT_EQ(built.ends.back(), built.bytes.size());
    const qsizetype header = qsizetype(sizeof(HiveHeader)) - 1;
    const QByteArray empty = [] {
        auto r = Registry::inMemory();
        return dump(*r);
    }();
    for (qsizetype cut = 0; cut < built.bytes.size(); ++cut) {
        const QString what = QStringLiteral("cut at %1 of %2").arg(cut).arg(built.bytes.size());
        const QByteArray* wanted = nullptr;
        if (cut < header) {
            wanted = &empty; // nothing or part of the header: a new hive that starts the same
        } else if (cut >= built.ends[0]) {
            size_t k = 0;
            while (k + 1 < built.ends.size() && built.ends[k + 1] <= cut)
                ++k;
            wanted = &built.dumps[k];
        } // else: the snapshot was cut short, which only damage does
        openAndWrite(base + "/case", built.bytes.first(cut), wanted, what);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

TEST(HiveDamage, ASingleChangedByteOpensEverythingOrReadOnly) {
    const QString base = freshDir("flips");
    const BuiltHive built = buildHive(base);
    const QByteArray& all = built.dumps.back();
    // Positions spread over the file, and every byte of the header and of the last commit line,
    // where a damaged finished block and an unfinished one are hardest to tell apart.
    std::vector<qsizetype> positions;
    for (qsizetype at = 0; at < built.bytes.size(); at += 7)
        positions.push_back(at);
    const qsizetype lastCommit = built.bytes.lastIndexOf("\ncommit ") + 1;
    for (qsizetype at = lastCommit; at < built.bytes.size(); ++at)
        positions.push_back(at);
    for (qsizetype at = 0; at < qsizetype(sizeof(HiveHeader)) - 1; ++at)
        positions.push_back(at);
    int readOnly = 0;
    for (qsizetype at : positions)
        for (char flip : {char(0x01), char(0x20)}) {
            QByteArray damaged = built.bytes;
            damaged[at] = char(damaged[at] ^ flip);
            const QString what = QStringLiteral("byte %1 xor %2 in:\n").arg(at).arg(int(flip)) +
                                 QString::fromUtf8(damaged);
            ASSERT_TRUE(writeBytes(base + "/probe.hive", damaged));
            captureLog();
            auto probe = Registry::openHive(base + "/probe.hive");
            capturedLog();
            const bool opened = !probe->isReadOnly();
            // Opening writable is only right with every committed change in place.
            if (opened) {
                EXPECT_EQ(dump(*probe), all) << what.toStdString();
            }
            readOnly += !opened;
            probe.reset();
            openAndWrite(base + "/case", damaged, opened ? &all : nullptr, what);
            if (testing::Test::HasFatalFailure())
                return;
        }
    EXPECT_GT(readOnly, int(positions.size())); // most changes are caught as damage
}
