// The extension a file is counted under, and the 64-bit tallies.

#include "search/file_count_columns.h"
#include "search/file_counts.h"

#include <gtest/gtest.h>

using namespace orvanex;
using search::CountedExtension;

TEST(CountedExtension, TakesTheTextAfterTheLastDotOfTheFilesOwnName) {
    EXPECT_EQ(CountedExtension("/a/b/report.Doc.txt"), "TXT");
    EXPECT_EQ(CountedExtension("/a/b/README"), "");
    // A dot in a folder above never lends the file an extension.
    EXPECT_EQ(CountedExtension("/a/my.folder/README"), "");
    EXPECT_EQ(CountedExtension("relative.d/x"), "");
    EXPECT_EQ(CountedExtension("name."), "");
    EXPECT_EQ(CountedExtension("/x/.bashrc"), "BASHRC");
    EXPECT_EQ(CountedExtension("/x/a.b c "), "B C");
    EXPECT_EQ(CountedExtension("/x/a.  "), "");
    EXPECT_EQ(CountedExtension("/x/\xC3\xA9t\xC3\xA9.\xC3\xA9z"), "\xC3\x89Z");
}

TEST(CountedExtension, LongExtensionsAreComparedOnTheirFirstThirtyCharacters) {
    const QByteArray thirty(30, 'q');
    EXPECT_EQ(CountedExtension("/f." + thirty + "abc"), thirty.toUpper());
    EXPECT_EQ(CountedExtension("/f." + thirty.left(29)), thirty.left(29).toUpper());
    // Thirty non-ASCII characters are cut by characters, not bytes.
    QByteArray accented;
    for (int i = 0; i < 31; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(CountedExtension("/f." + accented), QString(30, QChar(0xC9)).toUtf8());
}

TEST(FileCounts, CountsEveryExtensionIn64Bits) {
    search::FileCounts counts;
    const qint64 big = 5'000'000'000; // a single file past 4 GB
    counts.file(0, "/v/movie.MKV", big);
    counts.file(0, "/v/other.mkv", big);
    counts.file(0, "/v/plain", 3);
    for (int i = 0; i < 1000; ++i)
        counts.file(0, "/x/f." + QByteArray::number(i), 1);
    EXPECT_EQ(counts.count("MKV").files, 2);
    EXPECT_EQ(counts.count("MKV").bytes, 2 * big);
    EXPECT_EQ(counts.count("").files, 1);
    EXPECT_EQ(counts.count("999").files, 1);
    EXPECT_EQ(counts.count("TXT").files, 0);
    EXPECT_EQ(counts.extensions().size(), 1002);
    EXPECT_EQ(counts.extensions().first(), "");
    EXPECT_EQ(counts.total().files, 1003);
    EXPECT_EQ(counts.total().bytes, 2 * big + 3 + 1000);
}

namespace {

model::IndexRow row(const QString& name, const QString& related) {
    model::IndexRow r;
    r.name = name;
    r.related = related;
    return r;
}

QStringList countCells(const model::IndexRow& r) {
    return {r.files, r.size, r.sizeKey};
}

} // namespace

TEST(CountColumns, ExtensionRowsTakeTheirCountsAndTheTotalsCountRowsWithFiles) {
    search::FileCounts counts;
    counts.file(0, "/a/x.txt", 1500);
    counts.file(0, "/a/y.TXT", 2);
    counts.file(0, "/a/huge.iso", 5'000'000'000);
    counts.file(0, "/a/empty.nul", 0);
    counts.file(0, "/a/f." + QByteArray(31, 'q'), 7);
    counts.file(0, "/a/README", 9);
    counts.file(0, "/a/other.zzz", 9);
    QList<model::IndexRow> rows{row("TXT", "Text"),
                                row("ISO", "Image"),
                                row("NUL", "Nothing"),
                                row("DOC", "Word"),
                                row(QString(30, u'Q'), "Long"),
                                row("", "no extension"),
                                row("*", "All")};
    const search::CountTotals totals = search::FillExtensionCounts(rows, counts);
    EXPECT_EQ(countCells(rows[0]), (QStringList{"2", "1,502", "1502"}));
    EXPECT_EQ(countCells(rows[1]), (QStringList{"1", "5,000,000,000", "5000000000"}));
    // A 0-byte file is still a file of its extension.
    EXPECT_EQ(countCells(rows[2]), (QStringList{"1", "0", "0"}));
    EXPECT_EQ(countCells(rows[3]), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(countCells(rows[4]), (QStringList{"1", "7", "7"}));
    // A "." key lists an empty extension: the files without one are its files.
    EXPECT_EQ(countCells(rows[5]), (QStringList{"1", "9", "9"}));
    EXPECT_EQ(countCells(rows[6]), (QStringList{"0", "0", "0"}));
    // ZZZ has files but no row: it is in no total.
    EXPECT_EQ(totals.extensionRows, 5);
    EXPECT_EQ(totals.files, 6);
    EXPECT_EQ(search::CountTotalsText(totals),
              QStringLiteral("5 registered file extensions  6 files"));
}

TEST(CountColumns, TypeRowsSumTheirExtensions) {
    search::FileCounts counts;
    counts.file(0, "/a/x.txt", 3'000'000'000);
    counts.file(0, "/a/y.log", 3'000'000'000);
    counts.file(0, "/a/z.log", 1);
    counts.file(0, "/a/README", 100);
    QList<model::IndexRow> rows{row("Text", "TXT LOG"), row("Lower", "txt"),
                                row("Doubled blanks", "DOC  LOG"), row("None", "DOC"),
                                row("Empty", "")};
    search::FillTypeCounts(rows, counts);
    EXPECT_EQ(countCells(rows[0]), (QStringList{"3", "6,000,000,001", "6000000001"}));
    EXPECT_EQ(countCells(rows[1]), (QStringList{"1", "3,000,000,000", "3000000000"}));
    // An empty part between two blanks must not pick up the files without an extension.
    EXPECT_EQ(countCells(rows[2]), (QStringList{"2", "3,000,000,001", "3000000001"}));
    EXPECT_EQ(countCells(rows[3]), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(countCells(rows[4]), (QStringList{"0", "0", "0"}));
}
