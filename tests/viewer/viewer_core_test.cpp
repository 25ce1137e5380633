// Code page, document, search and mark ranges of the viewer.

#include "support/test_env.h"
#include "viewer/byte_document.h"
#include "viewer/byte_search.h"
#include "viewer/cp1252.h"

#include <QFile>

#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

using namespace orvanex::viewer;

TEST(Cp1252, FoldsLettersOfTheWholeCodePage) {
    EXPECT_EQ(cp1252Fold('A'), 'a');
    EXPECT_EQ(cp1252Fold('z'), 'z');
    EXPECT_EQ(cp1252Fold(0xC9), 0xE9); // E acute
    EXPECT_EQ(cp1252Fold(0xD7), 0xD7); // multiplication sign is no letter
    EXPECT_EQ(cp1252Fold(0x8A), 0x9A); // S caron
    EXPECT_EQ(cp1252Fold(0x9F), 0xFF); // Y diaeresis
    EXPECT_EQ(cp1252Fold('@'), '@');
    EXPECT_TRUE(cp1252IsWordChar('_'));
    EXPECT_TRUE(cp1252IsWordChar(0xE9));
    EXPECT_FALSE(cp1252IsWordChar('-'));
    EXPECT_FALSE(cp1252IsWordChar(' '));
}

TEST(Cp1252, ConvertsBothWaysAndKeepsNulsInClipboardText) {
    EXPECT_EQ(cp1252ToUnicode(0x80), QChar(0x20AC));
    for (const unsigned char unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252ToUnicode(unassigned), QChar(unassigned));
    EXPECT_EQ(cp1252ToUnicode(0x9F), QChar(0x178));
    EXPECT_EQ(cp1252ToUnicode(0x8C), QChar(0x152));
    EXPECT_EQ(cp1252ToUnicode(0xA0), QChar(0xA0));
    EXPECT_EQ(cp1252ToUnicode(0xE9), QChar(0xE9));
    EXPECT_EQ(unicodeToCp1252(QString::fromUtf8("\u20ac\u00e9x")), QByteArray("\x80\xe9x"));
    EXPECT_FALSE(unicodeToCp1252(QString::fromUtf8("\u4e2d")).has_value());
    const char bytes[] = {'a', 0, 'b', '\r', '\n', '\x93'};
    EXPECT_EQ(cp1252ToClipboardText(bytes, 6), QString::fromUtf8("a\u2400b\r\n\u201c"));
    EXPECT_TRUE(cp1252IsControl(0));
    EXPECT_TRUE(cp1252IsControl(0x1B));
    EXPECT_TRUE(cp1252IsControl(0x7F));
    EXPECT_TRUE(cp1252IsControl(0x9D));
    EXPECT_FALSE(cp1252IsControl('\t'));
    EXPECT_FALSE(cp1252IsControl(0x80));
}

TEST(ByteDocument, IndexesLinesWithCrLfAndKeepsNuls) {
    ByteDocument doc;
    doc.setBytes(QByteArray("ab\r\n\0c\n\nlast", 13));
    ASSERT_EQ(doc.size(), 13);
    ASSERT_EQ(doc.lineCount(), 4);
    EXPECT_EQ(doc.lineStart(1), 4);
    EXPECT_EQ(doc.lineEnd(0), 2); // carriage return belongs to the break
    EXPECT_EQ(doc.lineEnd(1), 6);
    EXPECT_EQ(doc.at(4), 0);
    EXPECT_EQ(doc.lineEnd(2), 7);
    EXPECT_EQ(doc.lineEnd(3), 13);
    EXPECT_EQ(doc.lineOf(0), 0);
    EXPECT_EQ(doc.lineOf(3), 0);
    EXPECT_EQ(doc.lineOf(4), 1);
    EXPECT_EQ(doc.lineOf(13), 3);

    doc.setBytes(QByteArray("x\n"));
    EXPECT_EQ(doc.lineCount(), 2);
    EXPECT_EQ(doc.lineEnd(1), 2);
}

TEST(ByteDocument, AnswersFromAPartialIndexAsFromAWholeOne) {
    QByteArray text;
    for (int i = 0; i < 200000; ++i)
        text += QByteArray(i % 7, 'x') + (i % 3 ? "\n" : "\r\n");
    ByteDocument whole;
    whole.setBytes(text);
    const qint64 lines = whole.lineCount();
    ByteDocument partial;
    partial.setBytes(text);
    for (qint64 pos : {qint64(5), qint64(100000), text.size() / 2, text.size()})
        ASSERT_EQ(partial.lineOf(pos), whole.lineOf(pos)) << pos;
    ByteDocument sliced;
    sliced.setBytes(text);
    EXPECT_TRUE(sliced.hasLine(10));
    EXPECT_EQ(sliced.lineEnd(10), whole.lineEnd(10));
    EXPECT_FALSE(sliced.indexSlice(1000));
    while (!sliced.indexSlice(50000)) {
    }
    EXPECT_EQ(sliced.lineCount(), lines);
    EXPECT_FALSE(sliced.hasLine(lines));
    for (qint64 l = 0; l < lines; l += 997)
        ASSERT_EQ(sliced.lineEnd(l), whole.lineEnd(l)) << l;
}

TEST(ByteDocument, OpensFilesAndExplainsFailures) {
    const QString dir = orvanex::test::freshDir(QStringLiteral("doc"));
    ByteDocument doc;
    EXPECT_FALSE(doc.open(dir + QStringLiteral("/missing.txt")).isEmpty());
    EXPECT_EQ(doc.size(), 0);
    EXPECT_FALSE(doc.open(dir).isEmpty());

    QFile f(dir + QStringLiteral("/data.bin"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("one\0two\nthree", 13));
    f.close();
    EXPECT_EQ(doc.open(f.fileName()), QString());
    EXPECT_EQ(QByteArray(doc.data(), int(doc.size())), QByteArray("one\0two\nthree", 13));
    EXPECT_EQ(doc.lineCount(), 2);

    QFile empty(dir + QStringLiteral("/empty.txt"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(doc.open(empty.fileName()), QString());
    EXPECT_EQ(doc.size(), 0);
    EXPECT_EQ(doc.lineCount(), 1);

    if (getuid() != 0) {
        ASSERT_TRUE(f.setPermissions(QFileDevice::WriteOwner));
        EXPECT_FALSE(doc.open(f.fileName()).isEmpty());
        EXPECT_EQ(doc.size(), 0);
    }
}

TEST(ByteDocument, AFileCutWhileShownReadsAsNulsFromItsNewEnd) {
    const QString path = orvanex::test::freshDir(QStringLiteral("doc-cut")) + "/lines.txt";
    QByteArray text;
    while (text.size() < (1 << 20))
        text += "a line of text\n";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    ByteDocument doc;
    ASSERT_EQ(doc.open(path), QString());
    EXPECT_EQ(doc.lineStart(1), 15);
    ASSERT_TRUE(QFile::resize(path, 30));
    // Every byte is still there to read: what the index had not reached reads as NUL, so only
    // the lines of the first indexed stretch are found.
    EXPECT_EQ(doc.size(), text.size());
    EXPECT_LT(doc.lineCount(), text.count('\n') / 4);
    EXPECT_EQ(doc.at(doc.size() - 1), 0);
    EXPECT_TRUE(doc.cut());
    // Opening it again shows what is left, whole.
    ASSERT_EQ(doc.open(path), QString());
    EXPECT_EQ(doc.size(), 30);
    EXPECT_FALSE(doc.cut());
}

TEST(ByteSearch, FindsWithoutCaseFromAPosition) {
    const QByteArray text("Hello hello H\xc9LLO h\xe9llo");
    const ByteSearcher s(QByteArray("hello"), false);
    EXPECT_EQ(s.find(text.constData(), text.size(), 0), 0);
    EXPECT_EQ(s.find(text.constData(), text.size(), 1), 6);
    const ByteSearcher accented(QByteArray("h\xe9llo"), false);
    EXPECT_EQ(accented.find(text.constData(), text.size(), 0), 12);
    EXPECT_EQ(accented.find(text.constData(), text.size(), 13), 18);
    EXPECT_EQ(accented.find(text.constData(), text.size(), 19), -1);
    EXPECT_EQ(s.find(text.constData(), text.size(), -1), -1);
    EXPECT_EQ(s.find(text.constData(), text.size(), 1000), -1);
    EXPECT_EQ(ByteSearcher(QByteArray(), false).find(text.constData(), text.size(), 0), -1);
}

TEST(ByteSearch, WholeWordNeedsNonWordNeighbours) {
    const QByteArray text("cat concat cat_ cat. (CAT)\0cat", 30);
    const ByteSearcher s(QByteArray("cat"), true);
    std::vector<qint64> hits;
    for (qint64 p = s.find(text.constData(), text.size(), 0); p >= 0;
         p = s.find(text.constData(), text.size(), p + 1))
        hits.push_back(p);
    EXPECT_EQ(hits, (std::vector<qint64>{0, 16, 22, 27}));
}

TEST(ByteSearch, AgreesWithAPlainScanOnRandomText) {
    std::mt19937 rng(7);
    const char alphabet[] = "aAbB \xe9\xc9\0_";
    for (int round = 0; round < 200; ++round) {
        QByteArray text(int(rng() % 600), '\0');
        for (char& c : text)
            c = alphabet[rng() % 9];
        QByteArray pat(int(rng() % 4) + 1, '\0');
        for (char& c : pat)
            c = alphabet[rng() % 9];
        const bool whole = rng() % 2;
        const ByteSearcher s(pat, whole);
        const qint64 from = rng() % (text.size() + 2);
        qint64 expected = -1;
        for (qint64 p = from; p + pat.size() <= text.size() && expected < 0; ++p) {
            bool eq = true;
            for (qint64 i = 0; i < pat.size() && eq; ++i)
                eq = cp1252Fold(uchar(text[p + i])) == cp1252Fold(uchar(pat[i]));
            const bool leftOk = p == 0 || !cp1252IsWordChar(uchar(text[p - 1]));
            const qint64 e = p + pat.size();
            const bool rightOk = e >= text.size() || !cp1252IsWordChar(uchar(text[e]));
            if (eq && (!whole || (leftOk && rightOk)))
                expected = p;
        }
        ASSERT_EQ(s.find(text.constData(), text.size(), from), expected)
            << round << " " << text.toHex().constData() << " " << pat.toHex().constData();
    }
}

TEST(ByteSearch, FindAllTakesNonOverlappingMatchesUpToALimit) {
    const QByteArray text("aaaaa");
    const ByteSearcher s(QByteArray("aa"), false);
    EXPECT_EQ(findAll(s, text.constData(), text.size(), 100),
              (std::vector<ByteRange>{{0, 2}, {2, 2}}));
    EXPECT_EQ(findAll(s, text.constData(), text.size(), 1), (std::vector<ByteRange>{{0, 2}}));
}

TEST(RangeSet, JoinsOverlappingAndTouchingRanges) {
    RangeSet set;
    set.add({{0, 2}, {10, 3}});
    set.add({{1, 3}, {13, 1}, {20, 1}});
    EXPECT_EQ(set.ranges(), (std::vector<ByteRange>{{0, 4}, {10, 4}, {20, 1}}));
    EXPECT_TRUE(set.contains(3));
    EXPECT_FALSE(set.contains(4));
    EXPECT_TRUE(set.contains(13));
    EXPECT_FALSE(set.contains(19));
    EXPECT_EQ(set.firstEndingAfter(5), 1u);
    EXPECT_EQ(set.firstEndingAfter(21), 3u);
}
