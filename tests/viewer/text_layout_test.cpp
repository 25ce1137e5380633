// Wrapping rows of the viewer's layout.

#include "viewer/text_layout.h"

#include <QFont>
#include <QImage>

#include <gtest/gtest.h>

using namespace orvanex::viewer;

namespace {

struct Laid {
    ByteDocument doc;
    TextLayout layout{doc};
    QImage device{10, 10, QImage::Format_RGB32};
    Laid(QByteArray bytes, qreal width) {
        doc.setBytes(std::move(bytes));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSize(10);
        layout.setFont(f, &device);
        layout.setWrapWidth(width);
    }
    std::vector<Row> allRows() const {
        std::vector<Row> rows{layout.rowAt(0)};
        while (auto next = layout.nextRow(rows.back()))
            rows.push_back(*next);
        return rows;
    }
    qreal width(const Row& r) const {
        qreal x = 0;
        for (qint64 i = r.start; i < r.end; ++i)
            x += layout.advance(doc.at(i), x);
        return x;
    }
};

QByteArray sampleText() {
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += QByteArray::number(i * 7919) + (i % 17 == 0 ? "\r\n" : i % 5 == 0 ? "\t" : " ");
    text += "\n\nshort\n";
    text += QByteArray(9000, 'x'); // one long word, longer than the cached-line threshold
    text += QByteArray("\0\x01 end", 6);
    return text;
}

} // namespace

TEST(TextLayout, RowsCoverEveryLineExactlyAndFitTheWidth) {
    const Laid t(sampleText(), 150);
    const auto rows = t.allRows();
    qint64 line = 0;
    qint64 expect = 0;
    for (const Row& r : rows) {
        if (r.line != line) {
            ASSERT_EQ(expect, t.doc.lineEnd(line));
            line = r.line;
            expect = t.doc.lineStart(line);
        }
        ASSERT_EQ(r.start, expect);
        ASSERT_LE(r.start, r.end);
        if (r.end - r.start > 1) {
            ASSERT_LE(t.width(r), 150.0 + 1e-9);
        }
        expect = r.end;
    }
    EXPECT_EQ(line, t.doc.lineCount() - 1);
    EXPECT_EQ(expect, t.doc.size());
    EXPECT_GT(rows.size(), 100u);
}

TEST(TextLayout, WrapsAtBlanksWhenAWordWouldCross) {
    const Laid t(QByteArray("aaaa bbbb cccc"), 1);
    const qreal wordAndBlank = t.width(Row{0, 0, 5});
    const Laid fit(QByteArray("aaaa bbbb cccc"), wordAndBlank + t.width(Row{0, 5, 7}));
    const auto rows = fit.allRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{0, 0, 5}));
    EXPECT_EQ(rows[1], (Row{0, 5, 10}));
    // A width below one character still advances one byte per row.
    EXPECT_EQ(t.allRows().size(), 14u);
}

TEST(TextLayout, RandomAccessAgreesWithWalkingTheRows) {
    const Laid t(sampleText(), 90);
    const auto rows = t.allRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        ASSERT_EQ(t.layout.rowAt(r.start), r) << i;
        if (r.end > r.start) {
            ASSERT_EQ(t.layout.rowAt(r.end - 1), r) << i;
        }
        if (i > 0) {
            ASSERT_EQ(t.layout.prevRow(r), rows[i - 1]) << i;
        }
    }
    EXPECT_FALSE(t.layout.prevRow(rows.front()).has_value());
    EXPECT_EQ(t.layout.stepRows(rows.front(), 5), rows[5]);
    EXPECT_EQ(t.layout.stepRows(rows[5], -100), rows.front());
    EXPECT_EQ(t.layout.stepRows(rows.front(), 1'000'000), rows.back());
    // A position on a line break belongs to the line's last row.
    const qint64 crlf = t.doc.lineEnd(0);
    EXPECT_EQ(t.layout.rowAt(crlf + 1).line, 0);
}

TEST(TextLayout, PreparingALongLineInSlicesGivesTheSameRows) {
    const Laid walked(QByteArray(50000, 'y') + " tail words here", 70);
    const auto rows = walked.allRows();
    const Laid sliced(QByteArray(50000, 'y') + " tail words here", 70);
    int slices = 0;
    while (!sliced.layout.prepareRows(0, 3000))
        ++slices;
    EXPECT_GT(slices, 5);
    for (const Row& r : rows)
        ASSERT_EQ(sliced.layout.rowAt(r.start), r);
    EXPECT_TRUE(sliced.layout.prepareRows(0, 1));
}

TEST(TextLayout, ControlBytesTakeAPlaceholderOfTheirOwn) {
    const Laid t(QByteArray("a\0\0b", 4), 500);
    EXPECT_TRUE(t.layout.isPlaceholder(0));
    EXPECT_TRUE(t.layout.isPlaceholder(0x7F));
    EXPECT_FALSE(t.layout.isPlaceholder('a'));
    const Row r = t.layout.rowAt(0);
    EXPECT_EQ(r.end, 4);
    EXPECT_GT(t.layout.xOf(r, 2), t.layout.xOf(r, 1));
    EXPECT_GT(t.layout.xOf(r, 3), t.layout.xOf(r, 2));
    for (qint64 p = 0; p <= 4; ++p)
        EXPECT_EQ(t.layout.posAt(r, t.layout.xOf(r, p)), p);
}
