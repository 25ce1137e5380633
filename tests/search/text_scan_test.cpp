// The embedded-text search: block edges, case, empty and unreadable files, Stop.

#include "search/text_scan.h"
#include "search_trees.h"
#include "support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex;
using search::ScanOutcome;

namespace {

QByteArray writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = test::freshDir("scan") + "/" + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return QFile::encodeName(path);
}

search::FoldedText folded(const char* text) {
    return *search::FoldedText::fromBytes(QByteArray(text));
}

bool contains(const QByteArray& path, const char* text, qsizetype block) {
    const std::atomic_bool run{true};
    return search::ScanFileForText(path, folded(text), run, block) == ScanOutcome::Found;
}

} // namespace

TEST(FoldedText, FindsWithoutRegardToCaseInTheCodePage) {
    const QByteArray hay = "xx Hello WORLD \xC9t\xC9 \x8A\x9F end";
    EXPECT_EQ(folded("hello").find(hay.constData(), hay.size()), 3);
    EXPECT_EQ(folded("world").find(hay.constData(), hay.size()), 9);
    // Accented capitals and the four letters outside the Latin-1 block fold too.
    EXPECT_EQ(folded("\xE9t\xE9").find(hay.constData(), hay.size()), 15);
    EXPECT_EQ(folded("\x9A\xFF").find(hay.constData(), hay.size()), 19);
    // The ends of the accented block: À à and Þ þ pair; ß is no capital (nor is ÿ's capital).
    const QByteArray ends = "\xC0\xDE\xDF";
    EXPECT_EQ(folded("\xE0\xFE").find(ends.constData(), ends.size()), 0);
    EXPECT_EQ(folded("\x9F").find(ends.constData(), ends.size()), -1);
    EXPECT_EQ(folded("\xDF").find(ends.constData(), ends.size()), 2);
    // The multiplication and division signs are not a letter pair.
    const QByteArray signs = "a\xD7z";
    EXPECT_EQ(folded("a\xF7z").find(signs.constData(), signs.size()), -1);
    // Punctuation is not folded onto letters ("@" is "`" minus 32 like "A" is "a" minus 32).
    const QByteArray at = "@[";
    EXPECT_EQ(folded("`{").find(at.constData(), at.size()), -1);
    EXPECT_EQ(folded("end").find(hay.constData(), hay.size()), hay.size() - 3);
    EXPECT_EQ(folded("endx").find(hay.constData(), hay.size()), -1);
    // A repeated-letter text whose shifts must not jump over a match.
    const QByteArray rep = "aabaabaaab";
    EXPECT_EQ(folded("AAAB").find(rep.constData(), rep.size()), 6);
    EXPECT_EQ(folded("x").find("", 0), -1);
}

TEST(FoldedText, TextsNoFileCanHoldAreRefused) {
    EXPECT_FALSE(search::FoldedText::fromText(QString()));
    EXPECT_FALSE(search::FoldedText::fromText(QStringLiteral("\u4e2d")));
    // The euro sign is byte 0x80 of the code page.
    const auto euro = search::FoldedText::fromText(QStringLiteral("\u20ac5"));
    ASSERT_TRUE(euro);
    const QByteArray hay = "price \x80\x35";
    EXPECT_EQ(euro->find(hay.constData(), hay.size()), 6);
}

TEST(TextScan, MatchesAcrossEveryBlockEdge) {
    // The text placed at each offset around the edge of 30000-byte blocks, and of tiny blocks.
    for (const qsizetype block : {qsizetype(30000), qsizetype(7)}) {
        for (qsizetype start = block - 6; start <= block + 1; ++start) {
            QByteArray bytes(2 * block + 20, 'q');
            bytes.replace(start, 5, "WoRlD");
            const QByteArray path = writeFile("edge.bin", bytes);
            EXPECT_TRUE(contains(path, "world", block)) << block << " " << start;
            EXPECT_FALSE(contains(path, "worlds", block)) << block << " " << start;
        }
    }
    // The carried tail must not pair with stale bytes of the buffer: "ab" at the end of the
    // first block and "cd" only in what a longer earlier read would have left.
    const QByteArray path = writeFile("stale.bin", QByteArray("xxab") + QByteArray("yy"));
    EXPECT_FALSE(contains(path, "abcd", 4));
    EXPECT_TRUE(contains(path, "aby", 4));
    EXPECT_TRUE(contains(path, "xxabyy", 4));
    EXPECT_FALSE(contains(path, "xxabyyz", 4));
}

TEST(TextScan, EmptyMissingAndNonRegularFilesDoNotMatch) {
    const std::atomic_bool run{true};
    EXPECT_EQ(search::ScanFileForText(writeFile("empty", {}), folded("a"), run),
              ScanOutcome::NotFound);
    EXPECT_EQ(search::ScanFileForText("/nonexistent/file", folded("a"), run),
              ScanOutcome::Unreadable);
    // A pipe would never end: it is refused rather than read.
    const QByteArray fifo = QFile::encodeName(test::freshDir("fifo") + "/pipe");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(search::ScanFileForText(fifo, folded("a"), run), ScanOutcome::Unreadable);
    EXPECT_FALSE(search::DoesFileContainString(fifo, folded("a"), run));

    const QByteArray locked = writeFile("locked", "secret");
    ::chmod(locked.constData(), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(search::ScanFileForText(locked, folded("secret"), run), ScanOutcome::Unreadable);
    }
}

TEST(TextScan, StopEndsTheReadingAfterTheBlockInHand) {
    QByteArray bytes(1 << 19, 'a'); // past the default block
    bytes += "needle";
    const QByteArray path = writeFile("long", bytes);
    const std::atomic_bool stopped{false};
    // The first block is still searched; the second is never read.
    EXPECT_EQ(search::ScanFileForText(path, folded("aaa"), stopped, 10), ScanOutcome::Found);
    EXPECT_EQ(search::ScanFileForText(path, folded("needle"), stopped, 10), ScanOutcome::Stopped);
    EXPECT_FALSE(search::DoesFileContainString(path, folded("needle"), stopped));
    const std::atomic_bool run{true};
    EXPECT_TRUE(search::DoesFileContainString(path, folded("NEEDLE"), run));
}
