// The extension a file is counted under, and the 64-bit tallies.

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
