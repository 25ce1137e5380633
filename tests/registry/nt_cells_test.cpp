// The hive's cells as this program reads them: the tree hivex's own calls read, and the changes
// hivex would trip over on a damaged hive refused before hivex makes them.

#include "nt_fixture.h"
#include "registry/nt_cells.h"
#include "registry/nt_hive.h"
#include "registry/nt_registry.h"
#include "store_calls.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <hivex.h>
#include <memory>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

const QString Reg = TxtClassesReg + QStringLiteral(R"("Flags"=dword:00000003
"Empty"=hex(3):

[\Classes\victim]
"A"=hex(1):6c,00,6f,00,6e,00,67,00,20,00,74,00,65,00,78,00,74,00,00,00
"B"=hex(1):6f,00,74,00,68,00,65,00,72,00,20,00,74,00,65,00,78,00,74,00,00,00

[\Classes\victim\child]
@=hex(1):78,00,00,00

[\Classes\victim\child\deeper]
"C"=hex(3):01,02,03,04,05,06,07,08,09
)");

struct Free {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, Free>;

// The tree as hivex's own calls read it, compared with ours node by node.
void expectSameAsHivex(hive_h* h, hive_node_h node, const KeyNode& tree) {
    Owned<hive_value_h> values(hivex_node_values(h, node));
    ASSERT_TRUE(values);
    std::size_t count = 0;
    for (const hive_value_h* v = values.get(); *v; ++v, ++count) {
        Owned<char> key(hivex_value_key(h, *v));
        hive_type type{};
        std::size_t size = 0;
        Owned<char> data(hivex_value_value(h, *v, &type, &size));
        ASSERT_TRUE(key && data);
        const QString name = QString::fromUtf8(key.get());
        ASSERT_LT(count, tree.values().size()) << name.toStdString();
        const StoredValue& mine = tree.values()[count]; // in the hive's order
        std::uint32_t raw = 0;
        std::memcpy(&raw, &type, sizeof raw);
        EXPECT_EQ(mine.name, name);
        EXPECT_EQ(mine.type, raw);
        EXPECT_EQ(mine.data, nt::decodeValue(raw, data.get(), size)) << name.toStdString();
    }
    EXPECT_EQ(count, tree.values().size()) << tree.path().toStdString();
    Owned<hive_node_h> children(hivex_node_children(h, node));
    ASSERT_TRUE(children);
    std::size_t subkeys = 0;
    for (const hive_node_h* c = children.get(); *c; ++c, ++subkeys) {
        Owned<char> name(hivex_node_name(h, *c));
        ASSERT_TRUE(name);
        const KeyNode* mine = tree.findChild(QString::fromUtf8(name.get()));
        ASSERT_TRUE(mine) << name.get();
        EXPECT_EQ(mine->name, QString::fromUtf8(name.get())); // as written, case kept
        expectSameAsHivex(h, *c, *mine);
    }
    EXPECT_EQ(subkeys, tree.children().size()) << tree.path().toStdString();
}

// The offset of a key's nk cell, found by name from the root.
nt::Offset keyAt(const nt::HiveImage& image, const QStringList& path) {
    nt::Offset at = image.root();
    for (const QString& part : path) {
        std::vector<nt::Offset> children, lists;
        if (!nt::childList(image, at, &children, &lists))
            return 0;
        nt::Offset found = 0;
        for (nt::Offset c : children) {
            QString name;
            if (nt::nodeName(image, c, &name) == nt::NameRead::Read && sameName(name, part))
                found = c;
        }
        if (!found)
            return 0;
        at = found;
    }
    return at;
}

void put32(QByteArray& bytes, nt::Offset at, std::uint32_t value) {
    qToLittleEndian<std::uint32_t>(value, bytes.data() + at);
}
std::uint32_t get32(const QByteArray& bytes, nt::Offset at) {
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

struct Loaded {
    nt::NtHive hive;
    KeyNode top;
    KeyNode* root = nullptr;
    QString why;
    explicit Loaded(const QString& path) {
        EXPECT_TRUE(hive.open(path, true, &why)) << why.toStdString();
        root = top.ensureChild(QStringLiteral("SOFTWARE"));
        hive.load(*root);
    }
    KeyNode* key(const QString& path) {
        KeyNode* n = root;
        for (const QString& part : path.split(u'\\'))
            n = n ? n->findChild(part) : nullptr;
        return n;
    }
};

class DamagedHive : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(makeHive(path, Reg));
        bytes = fileBytes(path);
        ASSERT_TRUE(image.reset(bytes));
        victim = keyAt(image, {"Classes", "victim"});
        child = keyAt(image, {"Classes", "victim", "child"});
        ASSERT_NE(victim, 0u);
        ASSERT_NE(child, 0u);
    }
    // Writes the damaged bytes and checks that neither change reaches hivex or the file.
    void expectRefused(const QString& key, const char* reason, bool readsWhole = true) {
        ASSERT_TRUE(writeBytes(path, bytes));
        {
            Loaded l(path);
            KeyNode* node = l.key(key);
            ASSERT_TRUE(node);
            EXPECT_FALSE(l.hive.deleteKey(node, &l.why));
            EXPECT_TRUE(l.why.contains(QStringLiteral("damaged"))) << l.why.toStdString();
            EXPECT_TRUE(l.why.contains(QLatin1StringView(reason))) << l.why.toStdString();
            EXPECT_TRUE(l.hive.commit(&l.why)) << l.why.toStdString();
        }
        // The commit wrote what hivex holds: the key and everything below it are still there.
        Loaded again(path);
        EXPECT_TRUE(again.key(key));
        EXPECT_EQ(again.hive.incomplete(), !readsWhole);
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("SOFTWARE"));
    QByteArray bytes;
    nt::HiveImage image;
    nt::Offset victim = 0, child = 0;
};

} // namespace

TEST(NtCells, ReadTheTreeHivexReadsWithNamesInEitherEncodingAsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SOFTWARE"));
    ASSERT_TRUE(makeHive(path, Reg));
    {
        // Names outside Latin-1 are kept by hivex in UTF-16, the others in one byte each.
        NtLocation where;
        where.machineHive = path;
        NtRegistry r(where);
        for (const QString& name : {QStringLiteral("Ключ"), QStringLiteral("Naïve"),
                                    QStringLiteral("MiXeD\\😀"), QStringLiteral("Ωmega")}) {
            HKey k = 0;
            ASSERT_EQ(r.createKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" + name, &k), 0);
            const QByteArray data = name.toUtf8();
            ASSERT_EQ(r.setValueEx(k, name, type::Sz, data.constData(), std::uint32_t(data.size())),
                      0);
            r.closeKey(k);
        }
        for (int i = 0; i < 40; ++i) {
            HKey k = 0;
            ASSERT_EQ(r.createKey(HKEY_LOCAL_MACHINE,
                                  QStringLiteral("SOFTWARE\\Classes\\Many\\k%1").arg(i), &k),
                      0);
            r.closeKey(k);
        }
    }
    Loaded l(path);
    ASSERT_FALSE(l.hive.incomplete());
    EXPECT_TRUE(l.key(QStringLiteral("Classes\\mixed\\😀")));
    EXPECT_TRUE(l.key(QStringLiteral("Classes\\ключ")));
    hive_h* h = hivex_open(QFile::encodeName(path).constData(), 0);
    ASSERT_TRUE(h);
    expectSameAsHivex(h, hivex_root(h), *l.root);
    hivex_close(h);
}

TEST(NtCells, TheBinsAreWalkedAsHivexWalksThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SOFTWARE"));
    ASSERT_TRUE(makeHive(path, Reg));
    const QByteArray good = fileBytes(path);
    nt::HiveImage image;
    ASSERT_TRUE(image.reset(good));
    EXPECT_EQ(image.root(), 0x1020u);
    EXPECT_TRUE(image.isCell(image.root()));
    EXPECT_FALSE(image.isCell(image.root() + 4));
    EXPECT_FALSE(image.isCell(0x1000));
    EXPECT_FALSE(image.isCell(nt::Offset(good.size())));
    QByteArray bad = good;
    put32(bad, 0x1008, 0x800); // a bin size that is no multiple of 4 KiB
    EXPECT_FALSE(image.reset(bad));
    EXPECT_TRUE(image.isEmpty());
    bad = good;
    put32(bad, 0x1020, 0xfffffffe); // a cell of two bytes
    EXPECT_FALSE(image.reset(bad));
    bad = good;
    put32(bad, 0x1004, 0x1000); // a bin that says it starts elsewhere
    EXPECT_FALSE(image.reset(bad));
    // Free space after the bins the header counts is not read.
    bad = good + QByteArray(4096, 'x');
    EXPECT_TRUE(image.reset(bad));
}

TEST_F(DamagedHive, SoundDeletesGoOnOneAfterAnotherBeforeTheSave) {
    Loaded l(path);
    KeyNode* victimNode = l.key(QStringLiteral("Classes\\victim"));
    ASSERT_TRUE(victimNode);
    // Values written anew and a subkey deleted first: the checks follow what hivex changed.
    ASSERT_TRUE(l.hive.setValue(victimNode, {QStringLiteral("A"), type::Sz, "new"}, &l.why));
    ASSERT_TRUE(l.hive.setValue(victimNode, {QStringLiteral("B"), type::Sz, "newer"}, &l.why));
    ASSERT_TRUE(l.hive.deleteKey(l.key(QStringLiteral("Classes\\victim\\child\\deeper")), &l.why))
        << l.why.toStdString();
    ASSERT_TRUE(l.hive.deleteKey(victimNode, &l.why)) << l.why.toStdString();
    ASSERT_TRUE(l.hive.commit(&l.why)) << l.why.toStdString();
    // After the save the checks go by the file written.
    ASSERT_TRUE(l.hive.deleteKey(l.key(QStringLiteral("Classes\\.txt")), &l.why))
        << l.why.toStdString();
    ASSERT_TRUE(l.hive.commit(&l.why));
    Loaded again(path);
    EXPECT_FALSE(again.hive.incomplete());
    EXPECT_FALSE(again.key(QStringLiteral("Classes\\victim")));
    EXPECT_FALSE(again.key(QStringLiteral("Classes\\.txt")));
    EXPECT_TRUE(again.key(QStringLiteral("Classes")));
}

TEST_F(DamagedHive, AClassNameOutsideTheCellsStopsTheDelete) {
    put32(bytes, victim + 52, 0x7ffff000);
    expectRefused(QStringLiteral("Classes\\victim"), "class name");
}

// Through the store: a batch with one refused change commits none of its changes.
TEST_F(DamagedHive, ARefusedDeleteKeepsTheWholeBatchFromTheFile) {
    put32(bytes, victim + 52, 0x7ffff000);
    ASSERT_TRUE(writeBytes(path, bytes));
    {
        NtLocation where;
        where.machineHive = path;
        NtRegistry r(where);
        ASSERT_FALSE(r.isReadOnly()) << r.problem().toStdString();
        WriteBatch batch(r);
        const QString classes = QStringLiteral("SOFTWARE\\Classes\\");
        EXPECT_EQ(setData(r, HKEY_LOCAL_MACHINE, classes + ".txt", "New", type::Sz, "x"), 0);
        EXPECT_EQ(r.deleteKey(HKEY_LOCAL_MACHINE, classes + "victim"), status::CantWrite);
        EXPECT_EQ(batch.finish(), status::CantWrite);
        EXPECT_TRUE(r.problem().contains(QStringLiteral("class name")))
            << r.problem().toStdString();
    }
    Loaded again(path);
    EXPECT_TRUE(again.key(QStringLiteral("Classes\\victim")));
    ASSERT_TRUE(again.key(QStringLiteral("Classes\\.txt")));
    EXPECT_FALSE(again.key(QStringLiteral("Classes\\.txt"))->findValue(u"New"));
}

TEST_F(DamagedHive, TwoValuesSharingOneDataCellStopTheDeleteAndTheValueChange) {
    std::vector<nt::Offset> values;
    nt::Offset list = 0;
    ASSERT_TRUE(nt::valueList(image, victim, &values, &list));
    ASSERT_EQ(values.size(), 2u);
    // Both readable, both pointing at A's data.
    put32(bytes, values[1] + 8, get32(bytes, values[0] + 8));
    put32(bytes, values[1] + 12, get32(bytes, values[0] + 12));
    expectRefused(QStringLiteral("Classes\\victim"), "value data");
    Loaded l(path);
    EXPECT_FALSE(l.hive.setValue(l.key(QStringLiteral("Classes\\victim")),
                                 {QStringLiteral("A"), type::Sz, "x"}, &l.why));
    EXPECT_TRUE(l.why.contains(QStringLiteral("damaged"))) << l.why.toStdString();
    // The rest of the hive is still changed as usual.
    EXPECT_TRUE(l.hive.setValue(l.key(QStringLiteral("Classes\\.txt")),
                                {QStringLiteral("A"), type::Sz, "x"}, &l.why));
}

TEST_F(DamagedHive, AKeyListedTwiceBelowTheDeletedOneStopsIt) {
    // deeper's own list entry made to point at child: child is then reached twice.
    const nt::Offset deeperList = image.target(get32(bytes, child + 32));
    put32(bytes, deeperList + 8, std::uint32_t(child - 0x1000));
    expectRefused(QStringLiteral("Classes\\victim"), "reached twice", false);
}

TEST_F(DamagedHive, ASecurityRecordFreedWithLinksOutsideTheFileStopsTheDelete) {
    const nt::Offset sk = image.target(get32(bytes, child + 48));
    put32(bytes, sk + 16, 1); // the last key using it: it is freed and unlinked
    put32(bytes, sk + 8, 0x7ffff000);
    put32(bytes, sk + 12, 0x7ffff000);
    expectRefused(QStringLiteral("Classes\\victim\\child\\deeper"), "links to");
}

TEST_F(DamagedHive, ASecurityRecordCountedTooLowStopsTheDelete) {
    const nt::Offset sk = image.target(get32(bytes, child + 48));
    put32(bytes, sk + 16, 1); // self-linked, so freed by the first key and missing for the next
    expectRefused(QStringLiteral("Classes\\victim"), "security record");
}
