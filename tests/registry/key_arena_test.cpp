// The storage behind the key tree: texts copied into shared blocks must behave as ordinary
// strings (equal, terminated, independent, alive after their arena), nodes taken from pool
// blocks must outlive the pool, and a hive text read through them must give the same tree as
// its ops say.

#include "registry/hive_format.h"
#include "registry/key_arena.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <map>
#include <memory>
#include <random>

using namespace orvanex::reg;

TEST(TextArena, CopiesAreOrdinaryStringsThatOutliveTheirArena) {
    std::vector<QString> texts;
    std::vector<QByteArray> bytes;
    {
        TextArena arena;
        // Enough to fill several blocks, with a long text that takes a block of its own.
        for (int i = 0; i < 5000; ++i)
            texts.push_back(arena.text(QStringLiteral("name %1").arg(i)));
        texts.push_back(arena.text(QString(20000, u'x')));
        for (int i = 0; i < 5000; ++i)
            bytes.push_back(arena.bytes(QByteArray::number(i) + '\0' + "tail"));
    }
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(texts[size_t(i)], QStringLiteral("name %1").arg(i));
        // Terminated as Qt's own strings are, for callers that hand out the raw pointer.
        ASSERT_EQ(texts[size_t(i)].utf16()[texts[size_t(i)].size()], 0);
        ASSERT_EQ(bytes[size_t(i)], QByteArray::number(i) + '\0' + "tail");
        ASSERT_EQ(bytes[size_t(i)].constData()[bytes[size_t(i)].size()], '\0');
    }
    EXPECT_EQ(texts.back(), QString(20000, u'x'));
    // A change copies the text out: its neighbours in the block stay as they were.
    texts[1].append(QStringLiteral(" and more"));
    texts[2][0] = u'N';
    bytes[1].append("!");
    EXPECT_EQ(texts[0], QStringLiteral("name 0"));
    EXPECT_EQ(texts[1], QStringLiteral("name 1 and more"));
    EXPECT_EQ(texts[2], QStringLiteral("Name 2"));
    EXPECT_EQ(texts[3], QStringLiteral("name 3"));
    EXPECT_EQ(bytes[2], QByteArray::number(2) + '\0' + "tail");
}

TEST(TextArena, DecodesUtf8AsQtDoesAndKeepsEmptyTextsAsThePlainConversions) {
    TextArena arena;
    for (const QByteArray& in :
         {QByteArray("plain ascii"), QByteArray("caf\xc3\xa9 \xe2\x82\xac"),
          QByteArray("bad \xff\xfe sequence"), QByteArray("cut \xe2\x82"), QByteArray(1, '\0')}) {
        const QString made = arena.utf8(in);
        EXPECT_EQ(made, QString::fromUtf8(in)) << in.toHex().constData();
    }
    EXPECT_EQ(arena.utf8(QByteArrayView("")).isNull(),
              QString::fromUtf8(QByteArrayView("")).isNull());
    EXPECT_TRUE(arena.bytes(QByteArrayView()).isNull());
    EXPECT_TRUE(isAscii("only ascii \x7f"));
    EXPECT_FALSE(isAscii("one byte \x80 above"));
}

TEST(NodePool, NodesOutliveThePoolAndAreFreedInAnyOrder) {
    std::vector<std::shared_ptr<KeyNode>> nodes;
    {
        KeyArena arena;
        KeyNode top;
        // Enough nodes for several blocks.
        for (int i = 0; i < 3000; ++i)
            top.ensureChild(QStringLiteral("k%1").arg(i), &arena);
        for (const auto& c : top.children())
            nodes.push_back(c);
    }
    std::mt19937 random(7);
    std::shuffle(nodes.begin(), nodes.end(), random);
    for (size_t i = 0; i < nodes.size(); ++i) {
        // A node still reads right after its pool and its tree are gone, while others are freed.
        ASSERT_TRUE(nodes[i]->name.startsWith(u'k'));
        ASSERT_EQ(nodes[i]->folded, nodes[i]->name.toUpper());
        nodes[i].reset();
    }
}

TEST(KeyNodeLookup, TheIndexAgreesWithAnOrderedMapThroughRandomAddsAndRemoves) {
    KeyNode top;
    std::map<QString, QString> expected; // folded name to stored name
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> pick(0, 4999);
    for (int step = 0; step < 40000; ++step) {
        const int i = pick(random);
        const QString name = QStringLiteral("Sub%1key").arg(i * 7919 % 100000);
        const QString folded = foldName(name);
        if (step % 3 == 2) {
            EXPECT_EQ(top.removeChild(folded), expected.erase(folded) == 1) << step;
        } else {
            top.ensureChild(name);
            expected.emplace(folded, name);
        }
        if (step % 4000 == 0 || step == 39999) {
            ASSERT_EQ(top.children().size(), expected.size());
            size_t at = 0;
            for (const auto& [f, stored] : expected) {
                ASSERT_EQ(top.children()[at++]->folded, f); // the order stays by folded name
                const KeyNode* found = top.findChild(stored.toLower());
                ASSERT_NE(found, nullptr) << qPrintable(stored);
                ASSERT_EQ(found->name, stored);
                ASSERT_EQ(top.child(f), found);
            }
            for (int j = 0; j < 5000; j += 37) {
                const QString f = foldName(QStringLiteral("Sub%1key").arg(j * 7919 % 100000));
                ASSERT_EQ(top.child(f) != nullptr, expected.count(f) == 1) << qPrintable(f);
            }
        }
    }
}

namespace {

QByteArray block(const QByteArray& lines, std::uint64_t sequence) {
    return lines + "commit " + QByteArray::number(sequence) + ' ' +
           QByteArray::number(crc32(lines), 16).rightJustified(8, '0') + '\n';
}

const KeyNode* at(const KeyNode& top, QStringView path) {
    const KeyNode* node = &top;
    forEachKeyPathPart(path,
                       [&](QStringView name) { node = node ? node->findChild(name) : nullptr; });
    return node;
}

QStringList valueTexts(const KeyNode* node) {
    QStringList out;
    for (const StoredValue& v : node->values())
        out << v.name + u'=' + QString::fromUtf8(v.data);
    return out;
}

} // namespace

TEST(HiveText, RunsOfValuesEscapesAndDeletesGiveTheTreeTheOpsSay) {
    const QByteArray text =
        QByteArray(HiveHeader) +
        block("key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\.txt\"\n"
              "val \"\" 1 \"txtfile\"\n"
              "val \"Content Type\" 1 \"text/plain\"\n"
              "val \"\" 1 \"replaced\"\n" // the same name again in one run: the last wins
              "val \"Quote\\\"d\" 1 \"C:\\\\dir\\\\a \\x01b\"\n"
              "delval \"content type\"\n"
              "val \"After\" 1 \"1\"\n"
              "key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\.txt\\\\Sub\"\n"
              "val \"caf\xc3\xa9\" 1 \"\"\n"
              "key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\Gone\"\n"
              "val \"v\" 1 \"1\"\n"
              "delkey \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\Gone\"\n"
              // A value line after its key was deleted makes the key again.
              "val \"w\" 1 \"2\"\n",
              1) +
        block("key \"HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\.txt\"\n"
              "val \"After\" 1 \"2\"\n"
              "val \"Last\" 4 dword:0000002a\n",
              2);
    KeyNode top;
    ensureBaseKeys(top);
    const HiveParse parse = applyHiveText(text, true, top);
    ASSERT_TRUE(parse.ok) << qPrintable(parse.error);
    EXPECT_EQ(parse.lastSequence, 2u);
    const KeyNode* txt = at(top, u"HKEY_LOCAL_MACHINE\\Software\\Classes\\.TXT");
    ASSERT_NE(txt, nullptr);
    EXPECT_EQ(valueTexts(txt),
              QStringList({QStringLiteral("=replaced"),
                           QStringLiteral("Quote\"d=C:\\dir\\a \x01"
                                          "b"),
                           QStringLiteral("After=2"), QString::fromUtf8("Last=*\0\0\0", 9)}));
    EXPECT_EQ(txt->values().back().type, 4u);
    const KeyNode* sub = at(top, u"HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt\\sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(valueTexts(sub), QStringList({QString::fromUtf8("caf\xc3\xa9=")}));
    const KeyNode* gone = at(top, u"HKEY_LOCAL_MACHINE\\Software\\Classes\\Gone");
    ASSERT_NE(gone, nullptr);
    EXPECT_EQ(valueTexts(gone), QStringList({QStringLiteral("w=2")}));
}

TEST(HiveText, AValueLineBeforeAnyKeyLineOrWithABadEscapeIsDamage) {
    for (const QByteArray& lines : {QByteArray("val \"a\" 1 \"b\"\n"),
                                    QByteArray("key \"HKEY_USERS\\\\x\"\nval \"a\" 1 \"b\\q\"\n"),
                                    QByteArray("key \"HKEY_USERS\\\\x\"\nval \"a\" 1 \"b\\x4\"\n"),
                                    QByteArray("key \"HKEY_USERS\\\\x\nval \"a\" 1 \"b\"\n")}) {
        KeyNode top;
        ensureBaseKeys(top);
        EXPECT_FALSE(applyHiveText(QByteArray(HiveHeader) + block(lines, 1), true, top).ok)
            << lines.constData();
    }
}
