// The lists taken away, byte for byte: CSV as RFC 4180 has it, HTML with every text escaped.

#include "reports/list_export.h"

#include <gtest/gtest.h>

using namespace orvanex::reports;

namespace {

const QDateTime kMade(QDate(2026, 3, 4), QTime(13, 5, 9));

} // namespace

TEST(ListCsv, QuotesOnlyTheFieldsThatNeedItAndDoublesTheirQuotes) {
    const QByteArray csv =
        listCsv({"Name", "Note", "Third"},
                {{"plain", "a,b", "say \"hi\""},
                 {"two\nlines", "cr\rhere", "  keeps its blanks  "},
                 {"   ", "caf\u00e9"}, // a cell of blanks is empty, a short row is filled
                 {"a;b", "tab\there", "\"\""}});
    EXPECT_EQ(csv, QByteArray("Name,Note,Third\r\n"
                              "plain,\"a,b\",\"say \"\"hi\"\"\"\r\n"
                              "\"two\nlines\",\"cr\rhere\",  keeps its blanks  \r\n"
                              ",caf\xc3\xa9,\r\n"
                              "a;b,tab\there,\"\"\"\"\"\"\r\n"));
}

TEST(ListHtml, EscapesTheTitleHeadersAndCells) {
    const QString page = QString::fromUtf8(listHtml(
        "A & <B>", {"<th>", "x'y"}, {{"<script>alert(\"1\")</script>", "Tom's & Jerry"}}, kMade));
    EXPECT_TRUE(page.contains("<title>A &amp; &lt;B&gt;</title>"));
    EXPECT_TRUE(page.contains("<th>&lt;th&gt;</th><th>x&#39;y</th>"));
    EXPECT_TRUE(page.contains("<td>&lt;script&gt;alert(&quot;1&quot;)&lt;/script&gt;</"
                              "td><td>Tom&#39;s &amp; Jerry</td>"));
    EXPECT_FALSE(page.contains("<script>"));
    EXPECT_TRUE(page.contains(", 1 rows</p>"));
}

TEST(ListFormat, GoesByTheSuffixInAnyCase) {
    EXPECT_EQ(listFormatFor("a.CSV"), ListFormat::Csv);
    EXPECT_EQ(listFormatFor("a.Htm"), ListFormat::Html);
    EXPECT_EQ(listFormatFor("a.html"), ListFormat::Html);
    EXPECT_EQ(listFormatFor("a.csv.pdf"), ListFormat::Unknown);
    EXPECT_EQ(listFormatFor("csv"), ListFormat::Unknown);
}
