// The extension list as tokens and pattern, and which names the two searches match.

#include "search/search_pattern.h"

#include <gtest/gtest.h>

using namespace orvanex::search;

namespace {

bool matches(const NameFilter& filter, const char* name) {
    return filter.matches(QByteArray(name));
}

} // namespace

TEST(SearchPattern, TokensFillSlotsFromTheRightAndJoinIntoThePattern) {
    SearchPattern p = BuildSearchPattern("BMP DIB");
    EXPECT_EQ(p.SearchPattern, "*.BMP;*.DIB");
    EXPECT_EQ(p.ExtensionTokens[49], "BMP");
    EXPECT_EQ(p.ExtensionTokens[50], "DIB");
    EXPECT_EQ(p.FirstToken, 49);

    p = BuildSearchPattern("TXT");
    EXPECT_EQ(p.SearchPattern, "*.TXT");
    EXPECT_EQ(p.FirstToken, 50);

    p = BuildSearchPattern("");
    EXPECT_EQ(p.SearchPattern, "");
    EXPECT_EQ(p.FirstToken, 0);

    // Two blanks make an empty token, which the pattern skips.
    p = BuildSearchPattern("HTM  HTML");
    EXPECT_EQ(p.SearchPattern, "*.HTM;*.HTML");
    EXPECT_EQ(p.ExtensionTokens[49], "");
    EXPECT_EQ(p.ExtensionTokens[48], "HTM");
    EXPECT_EQ(p.FirstToken, 48);
}

TEST(SearchPattern, MoreThanFiftyWordsCollapseIntoTheFirstSlot) {
    QStringList words;
    for (int i = 1; i <= 53; ++i)
        words << QStringLiteral("E%1").arg(i);
    const SearchPattern p = BuildSearchPattern(words.join(' '));
    EXPECT_EQ(p.ExtensionTokens[50], "E53");
    EXPECT_EQ(p.ExtensionTokens[2], "E5");
    EXPECT_EQ(p.ExtensionTokens[1], "E1"); // E4, E3, E2 and E1 all landed here
    EXPECT_EQ(p.FirstToken, 1);
    EXPECT_TRUE(p.SearchPattern.startsWith("*.E1;*.E5;*.E6;"));
    EXPECT_TRUE(p.SearchPattern.endsWith(";*.E53"));

    QString word, rest;
    EXPECT_TRUE(SplitLastWord("A B C", word, rest));
    EXPECT_EQ(word, "C");
    EXPECT_EQ(rest, "A B");
    EXPECT_FALSE(SplitLastWord("ABC", word, rest));
    EXPECT_EQ(word, "ABC");
    EXPECT_EQ(rest, "");
}

TEST(NameFilter, FolderSearchMatchesThePatternWithoutRegardToCase) {
    const NameFilter txt(BuildSearchPattern("TXT DOC"), NameFilter::Mode::Pattern);
    EXPECT_TRUE(matches(txt, "a.txt"));
    EXPECT_TRUE(matches(txt, "B.TxT"));
    EXPECT_TRUE(matches(txt, "x.y.doc"));
    EXPECT_TRUE(matches(txt, ".txt"));
    EXPECT_FALSE(matches(txt, "a.txt.bak"));
    EXPECT_FALSE(matches(txt, "atxt"));
    EXPECT_FALSE(matches(txt, "a.tx"));
    EXPECT_FALSE(matches(txt, "a.txtx"));

    // "*" lists every file, those without a dot too.
    const NameFilter all(BuildSearchPattern("*"), NameFilter::Mode::Pattern);
    EXPECT_TRUE(matches(all, "README"));
    EXPECT_TRUE(matches(all, "a.b"));

    const NameFilter wild(BuildSearchPattern("T?T"), NameFilter::Mode::Pattern);
    EXPECT_TRUE(matches(wild, "a.tXt"));
    EXPECT_FALSE(matches(wild, "a.tt"));

    const NameFilter none(BuildSearchPattern(""), NameFilter::Mode::Pattern);
    EXPECT_FALSE(matches(none, "a.txt"));
}

TEST(NameFilter, AllDrivesSearchComparesTheOwnNamesExtension) {
    const NameFilter jpg(BuildSearchPattern("JPG GZ"), NameFilter::Mode::Extension);
    EXPECT_TRUE(matches(jpg, "PHOTO.Jpg"));
    EXPECT_TRUE(matches(jpg, "ARCHIVE.TAR.GZ"));
    EXPECT_FALSE(matches(jpg, "ARCHIVE.GZ.TAR"));
    EXPECT_FALSE(matches(jpg, "JPG"));
    EXPECT_FALSE(matches(jpg, "a.jpeg"));
    EXPECT_FALSE(matches(jpg, "a.jp"));
    // "*" is compared as a word, so it lists nothing.
    const NameFilter star(BuildSearchPattern("*"), NameFilter::Mode::Extension);
    EXPECT_FALSE(matches(star, "a.txt"));
    EXPECT_FALSE(matches(star, "README"));
    const NameFilter none(BuildSearchPattern(""), NameFilter::Mode::Extension);
    EXPECT_FALSE(matches(none, "a.txt"));
    EXPECT_TRUE(matches(NameFilter(), "anything"));

    EXPECT_EQ(FileNameExtension("C:\\MY.DIR\\README"), "");
    EXPECT_EQ(FileNameExtension("C:\\X\\PHOTO.Jpg"), "JPG");
    EXPECT_EQ(FileNameExtension("/a.b/archive.tar.gz"), "GZ");
}
