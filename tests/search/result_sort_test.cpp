// The header sorts' keys and their stable order, against a plain stable sort of the grid's texts.

#include "search/file_operations.h"
#include "search/result_sort.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>

using namespace orvanex;
using namespace orvanex::search;

namespace {

ResultRow fileRow(int root, const QByteArray& native, qint64 size, qint64 sequence) {
    ResultRow row;
    row.root = root;
    row.native = native;
    row.size = size;
    row.sequence = sequence;
    return row;
}

ResultRow textRow(const QString& text, qint64 size) {
    ResultRow row;
    row.text = text;
    row.native = text.toUtf8();
    row.size = size;
    return row;
}

// What a careful but slow sort does: every key compared as bytes, equal keys in row order.
std::vector<int> referenceOrder(const std::vector<QByteArray>& keys, Qt::SortOrder order) {
    std::vector<int> perm(keys.size());
    std::iota(perm.begin(), perm.end(), 0);
    std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    return perm;
}

SortKeys keysOf(const std::vector<QByteArray>& texts) {
    SortKeys keys;
    for (const QByteArray& t : texts)
        std::copy(t.begin(), t.end(), keys.appendKey(t.size()));
    return keys;
}

} // namespace

TEST(ResultSort, KeysAreTheTextsTheGridShows) {
    SearchResultsModel model;
    model.setRoots({{u'C', "/data", QStringLiteral("C:\\")},
                    {u'Z', "/", QStringLiteral("Z:\\")},
                    {u'?', "/outside", QStringLiteral("/outside/")}});
    QList<ResultRow> rows = {
        fileRow(0, "/data/a b/c.txt", 0, 1),
        fileRow(0, "/data//double/x.TXT", 7, 2),
        fileRow(1, "/usr/share/doc/r\xC3\xA9sum\xC3\xA9.txt", 999, 3),
        fileRow(2, "/outside/keeps/slashes.txt", 1000, 4),
        textRow(QStringLiteral("C:\\copied\\n\u00e4me.txt"), 999999),
        ResultRow(),
        fileRow(0, "/data/big.txt", 1000000, 5),
        fileRow(0, "/data/huge.txt", std::numeric_limits<qint64>::max(), 6),
        fileRow(0, "/data/odd.txt", 1234567, 7),
    };
    model.appendRows(rows);
    const SortKeys names = nameKeys(RowView::of(rows), model.roots());
    ASSERT_EQ(names.size(), rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(names.key(r).toByteArray(), model.cellText(r, 0).toUtf8());
    }
}

TEST(ResultSort, SizesSortByTheirNumberAndBlankRowsStayLastBothWays) {
    QList<ResultRow> rows = {ResultRow(), // the first row of a search, sentinel set
                             fileRow(0, "/a", 8, 1),
                             fileRow(0, "/b", 75, 2),
                             ResultRow(), // an emptied row
                             fileRow(0, "/c", 1024, 3),
                             fileRow(0, "/d", 512, 4),
                             fileRow(0, "/e", 75, 5),
                             fileRow(0, "/f", 0, 6),
                             fileRow(0, "/g", std::numeric_limits<qint64>::max(), 7)};
    rows[0].sequence = -1;
    const QList<platform::DriveRoot> roots = {{u'C', "/", QStringLiteral("C:\\")}};
    const RowView view = RowView::of(rows);
    // Equal sizes keep their order in both directions; blank rows follow the data in theirs.
    EXPECT_EQ(resultOrder(view, roots, 1, Qt::AscendingOrder),
              (std::vector<int>{7, 1, 2, 6, 5, 4, 8, 0, 3}));
    EXPECT_EQ(resultOrder(view, roots, 1, Qt::DescendingOrder),
              (std::vector<int>{8, 4, 5, 2, 6, 1, 7, 0, 3}));
    // Names too: the blank rows are no data at the top of an ascending list.
    EXPECT_EQ(resultOrder(view, roots, 0, Qt::AscendingOrder),
              (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 0, 3}));
    EXPECT_EQ(resultOrder(view, roots, 0, Qt::DescendingOrder),
              (std::vector<int>{8, 7, 6, 5, 4, 2, 1, 0, 3}));
    const std::atomic_bool cancel{true};
    EXPECT_TRUE(resultOrder(view, roots, 1, Qt::AscendingOrder, &cancel).empty());
}

TEST(ResultSort, TextOrderMatchesAStableByteSortAcrossTheEightByteSteps) {
    // Keys that tie for 7, 8, 9, 16 and 17 bytes, keys that are prefixes of others, bytes above
    // 0x7F and zero bytes, duplicates far apart: every place the eight-byte steps could slip.
    std::vector<QByteArray> texts = {"C:\\data\\a",
                                     "C:\\data\\",
                                     "C:\\data",
                                     "C:\\dat",
                                     "C:\\data\\a",
                                     "C:\\data\\ab",
                                     QByteArray("C:\\data\\a\0", 10),
                                     "C:\\data\\\xE9",
                                     "C:\\data\\z",
                                     "",
                                     "C:\\data\\a",
                                     "C:\\datA\\a",
                                     "12345678",
                                     "1234567",
                                     "123456789",
                                     "1234567812345678",
                                     "12345678123456789",
                                     "1234567812345677",
                                     "\xFF",
                                     "\x01"};
    QRandomGenerator random(1234);
    for (int i = 0; i < 3000; ++i) {
        QByteArray t = "Z:\\usr\\share\\";
        const int parts = int(random.bounded(4));
        for (int p = 0; p < parts; ++p)
            t += "folder" + QByteArray::number(random.bounded(12)) + '\\';
        t += "f" + QByteArray::number(random.bounded(40)) + (random.bounded(2) ? ".txt" : ".TXT");
        texts.push_back(t);
    }
    const SortKeys keys = keysOf(texts);
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        SCOPED_TRACE(int(order));
        EXPECT_EQ(stableTextOrder(keys, order), referenceOrder(texts, order));
    }
    // Equal keys keep their row order both ways.
    const std::vector<int> up = stableTextOrder(keysOf({"b", "a", "b", "a"}), Qt::AscendingOrder);
    EXPECT_EQ(up, (std::vector<int>{1, 3, 0, 2}));
    const std::vector<int> down =
        stableTextOrder(keysOf({"b", "a", "b", "a"}), Qt::DescendingOrder);
    EXPECT_EQ(down, (std::vector<int>{0, 2, 1, 3}));
    EXPECT_TRUE(stableTextOrder(keysOf({}), Qt::AscendingOrder).empty());
}

TEST(ResultSort, SequenceOrderPutsEmptyRowsLastAndCancelStops) {
    QList<ResultRow> rows = {fileRow(0, "/a", 1, 3), ResultRow(), fileRow(0, "/b", 1, 1),
                             ResultRow(), fileRow(0, "/c", 1, 2)};
    rows[1].sequence = -1; // the sentinel
    rows[3].sequence = 0;  // a blank cell counts as 0
    const QList<platform::DriveRoot> roots = {{u'C', "/", QStringLiteral("C:\\")}};
    RowView view = RowView::of(rows);
    EXPECT_EQ(resultOrder(view, roots, 3, Qt::AscendingOrder), (std::vector<int>{3, 2, 4, 0, 1}));
    EXPECT_EQ(resultOrder(view, roots, 3, Qt::DescendingOrder), (std::vector<int>{1, 0, 4, 2, 3}));
    EXPECT_EQ(resultOrder(view, roots, 2, Qt::AscendingOrder), (std::vector<int>{0, 1, 2, 3, 4}));

    const std::atomic_bool cancel{true};
    EXPECT_TRUE(resultOrder(view, roots, 0, Qt::AscendingOrder, &cancel).empty());
}
