// The grid model: its operations under Qt's model checker, the stable sorts, the padding rows and
// the records behind the main window's three grids.

#include "model/grid_rows.h"
#include "model/grid_sort.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QItemSelectionModel>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace orvanex::model;

namespace {

// Counts the warnings the model checker reports (it reports each broken rule as one).
class CheckerWarnings {
public:
    CheckerWarnings() {
        s_count = 0;
        m_previous = qInstallMessageHandler(handler);
    }
    ~CheckerWarnings() { qInstallMessageHandler(m_previous); }
    int count() const { return s_count; }

private:
    static void handler(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            ++s_count;
            ADD_FAILURE() << text.toStdString();
        }
    }
    static inline int s_count = 0;
    QtMessageHandler m_previous;
};

struct Item {
    QString name;
    QString size;
};

QList<GridColumn<Item>> itemColumns() {
    return {{[](const Item& i) { return i.name; },
             SortAs::Text,
             {},
             [](Item& i, const QString& t) { i.name = t; }},
            {[](const Item& i) { return i.size; }, SortAs::Number}};
}

QStringList names(const GridModelBase& m) {
    return m.columnTexts(0);
}

// Every operation the windows use, on a model that the checker watches.
template <typename Row> void exercise(GridModel<Row>& m, const QList<Row>& rows) {
    m.setRecords(rows);
    m.addRecord(rows.first());
    m.insertRecord(0, rows.last());
    m.setCell(1, 0, QStringLiteral("changed"));
    m.sort(0, Qt::DescendingOrder);
    m.sort(0, Qt::AscendingOrder);
    m.removeRecord(m.recordCount() - 1);
    m.removeRecord(0);
    m.setMinimumRows(m.recordCount() + 3);
    m.addRecord(rows.first());
    m.setFormat(QStringLiteral("<a|^b|>c"));
    m.removeRows(0, m.recordCount());
    m.setMinimumRows(0);
    m.clearRecords();
}

} // namespace

TEST(GridModel, EveryGridModelPassesTheModelChecker) {
    CheckerWarnings warnings;
    QObject owner;
    {
        IndexGridModel* ext = makeExtensionGridModel(&owner);
        QAbstractItemModelTester tester(ext,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        exercise(*ext, {extensionRow("TXT", "Text"), extensionRow("*", "All"),
                        extensionRow("DOC", "Doc")});
    }
    {
        IndexGridModel* types = makeFileTypeGridModel(&owner);
        QAbstractItemModelTester tester(types,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        exercise(*types, {fileTypeRow("Text", "LOG TXT"), fileTypeRow("All", "*")});
    }
    {
        ActionGridModel* actions = makeActionGridModel(&owner);
        QAbstractItemModelTester tester(actions,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        ActionEntry open;
        open.DisplayName = QStringLiteral("open");
        open.Command = QStringLiteral("a.exe %1");
        ActionEntry print;
        print.DisplayName = QStringLiteral("print");
        exercise(*actions, {open, print});
    }
    {
        GridModel<Item> plain(itemColumns());
        QAbstractItemModelTester tester(&plain,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        exercise(plain, {Item{"b", "2"}, Item{"a", "10"}, Item{"c", ""}});
    }
    EXPECT_EQ(warnings.count(), 0);
}

TEST(GridModel, TextSortsAreStableAndCaseSignificantInBothDirections) {
    GridModel<Item> m(itemColumns());
    m.setRecords({{"b", "1"}, {"A", "2"}, {"a", "3"}, {"b", "4"}, {"B", "5"}});
    m.sortBy(0, SortAs::Text, Qt::AscendingOrder);
    EXPECT_EQ(names(m), (QStringList{"A", "B", "a", "b", "b"}));
    EXPECT_EQ(m.columnTexts(1), (QStringList{"2", "5", "3", "1", "4"})); // equal "b"s keep order
    m.sortBy(0, SortAs::Text, Qt::DescendingOrder);
    EXPECT_EQ(m.columnTexts(1), (QStringList{"1", "4", "3", "5", "2"}));
}

TEST(GridModel, NumberSortsReadTheLeadingNumber) {
    GridModel<Item> m(itemColumns());
    m.setRecords({{"ten", "10"},
                  {"nine", "9"},
                  {"empty", ""},
                  {"kb", " 12 KB"},
                  {"minus", "-3"},
                  {"half", "2.5"},
                  {"word", "abc"}});
    m.sort(1, Qt::AscendingOrder); // the column sorts as a number
    EXPECT_EQ(names(m), (QStringList{"minus", "empty", "word", "half", "nine", "ten", "kb"}));
    m.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(names(m), (QStringList{"kb", "ten", "nine", "half", "empty", "word", "minus"}));
    // The same column as text: "10" < "9".
    m.sortBy(1, SortAs::Text, Qt::AscendingOrder);
    EXPECT_EQ(names(m), (QStringList{"empty", "kb", "minus", "ten", "half", "nine", "word"}));
}

TEST(GridModel, LeadingNumberBoundaries) {
    EXPECT_EQ(leadingNumber(QStringLiteral("9999999999")), 9999999999.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("  42")), 42.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("1.5.3")), 1.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("+7x")), 7.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("1,234")), 1.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral(".")), 0.0);
    EXPECT_EQ(leadingNumber(QString()), 0.0);
}

TEST(GridModel, SelectionFollowsItsRecordThroughSortsAndEdits) {
    GridModel<Item> m(itemColumns());
    m.setRecords({{"c", "1"}, {"a", "2"}, {"b", "3"}});
    QItemSelectionModel selection(&m);
    selection.setCurrentIndex(m.index(0, 0), QItemSelectionModel::ClearAndSelect);
    m.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(selection.currentIndex().row(), 2);
    EXPECT_EQ(m.record(selection.currentIndex().row()).name, QStringLiteral("c"));
    m.insertRecord(0, {"z", "9"});
    EXPECT_EQ(selection.currentIndex().row(), 3);
    m.removeRecord(1);
    EXPECT_EQ(selection.currentIndex().row(), 2);
    EXPECT_EQ(m.text(2, 0), QStringLiteral("c"));
}

TEST(GridModel, PaddingRowsStayBelowTheRecordsAndHaveNone) {
    GridModel<Item> m(itemColumns());
    m.setMinimumRows(4);
    EXPECT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.recordCount(), 0);
    m.setRecords({{"b", "1"}, {"a", "2"}});
    EXPECT_EQ(m.rowCount(), 4);
    m.sort(0, Qt::DescendingOrder);
    m.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(names(m), (QStringList{"a", "b"}));
    EXPECT_FALSE(m.isRecordRow(2));
    EXPECT_EQ(m.index(2, 0).data().toString(), QString());
    EXPECT_FALSE(m.setCell(2, 0, QStringLiteral("x")));
    EXPECT_FALSE(m.removeRecord(2));

    m.addRecord({"c", "3"});
    m.addRecord({"d", "4"});
    EXPECT_EQ(m.rowCount(), 4); // the records took the blank rows' places
    m.addRecord({"e", "5"});
    EXPECT_EQ(m.rowCount(), 5);
    EXPECT_TRUE(m.isRecordRow(4));
    EXPECT_TRUE(m.removeRecord(0));
    EXPECT_TRUE(m.removeRecord(0));
    EXPECT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.recordCount(), 3);
    m.clearRecords();
    EXPECT_EQ(m.rowCount(), 4);
}

TEST(GridModel, CellsFindAndSetThroughTheColumnDescription) {
    GridModel<Item> m(itemColumns());
    m.setRecords({{"a", "1"}, {"b", "2"}, {"a", "3"}});
    EXPECT_EQ(m.findText(0, QStringLiteral("a")), 0);
    EXPECT_EQ(m.findText(0, QStringLiteral("a"), 1), 2);
    EXPECT_EQ(m.findText(0, QStringLiteral("z")), -1);
    EXPECT_EQ(m.findText(5, QStringLiteral("a")), -1);
    EXPECT_EQ(m.findRecord([](const Item& i) { return i.size == "2"; }), 1);
    EXPECT_TRUE(m.setCell(1, 0, QStringLiteral("B")));
    EXPECT_EQ(m.record(1).name, QStringLiteral("B"));
    EXPECT_FALSE(m.setCell(1, 1, QStringLiteral("7"))); // the size column has no setter
    EXPECT_FALSE(m.setCell(1, 2, QStringLiteral("7")));
    EXPECT_FALSE(m.setCell(-1, 0, QStringLiteral("7")));
    EXPECT_EQ(m.text(1, 1), QStringLiteral("2"));
    EXPECT_EQ(m.text(3, 0), QString());
}

TEST(GridModel, FormatStringsGiveHeadersAlignmentsAndColumns) {
    const QList<GridHeader> h = parseGridFormat(QStringLiteral("<Left  |^Mid|>Right|plain|"));
    ASSERT_EQ(h.size(), 5); // the trailing "|" makes the headerless fifth column
    EXPECT_EQ(h[0].text, QStringLiteral("Left  "));
    EXPECT_EQ(h[0].alignment & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(h[1].alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(h[2].alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(h[3].text, QStringLiteral("plain"));
    EXPECT_EQ(h[4].text, QString());

    QObject owner;
    IndexGridModel* ext = makeExtensionGridModel(&owner);
    ext->setRecords({extensionRow("TXT", "Text")});
    EXPECT_EQ(ext->headerData(1, Qt::Horizontal).toString(), QStringLiteral("# files"));
    // A cell takes its header's alignment.
    EXPECT_EQ(ext->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(ext->index(0, 3).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
}

TEST(GridModel, IndexRowsShowTheirFieldsAndSpecialRowsAreRedInTwoColumns) {
    QObject owner;
    IndexGridModel* ext = makeExtensionGridModel(&owner);
    IndexRow txt = extensionRow("TXT", "Text Document");
    txt.files = QStringLiteral("3");
    txt.size = QStringLiteral("1,024");
    txt.sizeKey = QStringLiteral("1024");
    ext->setRecords({txt, extensionRow("UNKNOWN", "Used for unregistered file extensions")});
    EXPECT_EQ(ext->text(0, 0), QStringLiteral("TXT"));
    EXPECT_EQ(ext->text(0, 1), QStringLiteral("3"));
    EXPECT_EQ(ext->text(0, 2), QStringLiteral("1,024"));
    EXPECT_EQ(ext->text(0, 3), QStringLiteral("Text Document"));
    EXPECT_EQ(ext->text(0, kHiddenColumn), QStringLiteral("1024"));
    EXPECT_EQ(txt.text(), QStringLiteral("TXT\t3\t1,024\tText Document\t1024"));
    const QColor red(255, 0, 0);
    for (int c = 0; c < kGridColumns; ++c) {
        const QVariant plain = ext->index(0, c).data(Qt::ForegroundRole);
        EXPECT_FALSE(plain.isValid()) << c;
        const QVariant special = ext->index(1, c).data(Qt::ForegroundRole);
        if (c == 0 || c == 3)
            EXPECT_EQ(special.value<QBrush>().color(), red) << c;
        else
            EXPECT_FALSE(special.isValid()) << c;
    }
}

TEST(GridModel, ACommandHoldingATabStaysInItsCell) {
    QObject owner;
    ActionGridModel* actions = makeActionGridModel(&owner);
    ActionEntry a;
    a.DisplayName = QStringLiteral("open");
    a.Command = QStringLiteral("x.exe\t/a\t%1");
    actions->setRecords({a});
    EXPECT_EQ(actions->columnCount(), 2);
    EXPECT_EQ(actions->text(0, 1), QStringLiteral("x.exe\t/a\t%1"));
    EXPECT_EQ(actions->rowCount(), kActionGridRows);
}

TEST(GridModel, ManyEqualKeysKeepThePreviousSortsOrder) {
    GridModel<Item> m(itemColumns());
    QList<Item> rows;
    rows.reserve(50'000);
    for (int i = 0; i < 50'000; ++i)
        rows.append({QString::number(i % 500), QString::number(50'000 - i)});
    m.setRecords(std::move(rows));
    m.sort(1, Qt::AscendingOrder);
    EXPECT_EQ(m.text(0, 1), QStringLiteral("1"));
    m.sortBy(0, SortAs::Text, Qt::AscendingOrder);
    // "0" rows in their number order: the stable sort kept the previous order among them.
    EXPECT_EQ(m.text(0, 0), QStringLiteral("0"));
    EXPECT_EQ(m.text(0, 1), QStringLiteral("500"));
    EXPECT_EQ(m.text(1, 1), QStringLiteral("1000"));
}

// The run-merging sort against the library's stable sort, on shapes it treats differently:
// random, already in order, reversed, in order but for a few rows, and all keys equal.
TEST(GridModel, StableOrderAgreesWithAStableSortOnEveryShape) {
    std::mt19937 random(20261208);
    const auto check = [](const std::vector<int>& keys, const char* shape) {
        for (const bool ascending : {true, false}) {
            std::vector<qsizetype> expected(keys.size());
            std::iota(expected.begin(), expected.end(), qsizetype(0));
            std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
                return ascending ? keys[size_t(a)] < keys[size_t(b)]
                                 : keys[size_t(b)] < keys[size_t(a)];
            });
            EXPECT_EQ(stableOrder(keys, ascending), expected)
                << shape << (ascending ? " ascending" : " descending") << ", " << keys.size()
                << " keys";
        }
    };
    for (const int n : {0, 1, 2, 3, 7, 64, 1000}) {
        std::vector<int> keys(static_cast<size_t>(n));
        for (int& k : keys)
            k = int(random() % 5); // many equal keys: order among them is what stability means
        check(keys, "random");
        std::vector<int> sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        check(sorted, "in order");
        check(std::vector<int>(sorted.rbegin(), sorted.rend()), "reversed");
        std::vector<int> rising(static_cast<size_t>(n));
        std::iota(rising.begin(), rising.end(), 0);
        check(std::vector<int>(rising.rbegin(), rising.rend()), "strictly falling");
        if (n > 2) {
            std::swap(rising[0], rising[size_t(n) - 1]);
            check(rising, "in order but the ends swapped");
        }
        check(std::vector<int>(size_t(n), 7), "all equal");
    }
}

// The text sort must keep QString's own order: prefixes before longer texts, upper before lower
// case, and code units rather than code points (a surrogate sorts below U+FF01).
TEST(GridModel, TextOrderIsQStringsOrder) {
    const QStringList texts{"",         "a",           "B",        "ab",      "aB",
                            "a b",      "A",           "\u00e9",   "\uff01x", "\U0001F600",
                            "\uffff",   "x\U0001F600", "x\uff01",  "ABC",     "AB",
                            "gentype7", "gentype10",   "gentype1", "\u00e9a", "a\u0000"};
    std::vector<QStringView> views(texts.cbegin(), texts.cend());
    std::vector<QString> copies(texts.cbegin(), texts.cend());
    for (const bool ascending : {true, false}) {
        std::vector<qsizetype> expected(views.size());
        std::iota(expected.begin(), expected.end(), qsizetype(0));
        std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
            return ascending ? texts[a] < texts[b] : texts[b] < texts[a];
        });
        EXPECT_EQ(stableOrder(views, ascending), expected);
        EXPECT_EQ(stableOrder(copies, ascending), expected);
    }
}

TEST(GridModelFilter, RowsAreTheShownRecordsAndEditsReachTheRightOnes) {
    CheckerWarnings warnings;
    GridModel<Item> m(itemColumns());
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
    m.setRecords({{"d", "4"}, {"a", "1"}, {"c", "3"}, {"b", "2"}, {"e", "5"}});
    auto odd = [](const Item& i) { return i.size.toInt() % 2 == 1; };
    m.setFilter(odd);
    EXPECT_TRUE(m.isFiltered());
    EXPECT_EQ(names(m), QStringList({"a", "c", "e"}));
    EXPECT_EQ(m.records().size(), 5);
    // A selection follows its record through a sort of every record.
    QItemSelectionModel selection(&m);
    selection.setCurrentIndex(m.index(1, 0), QItemSelectionModel::ClearAndSelect);
    m.sortBy(0, SortAs::Text, Qt::DescendingOrder);
    EXPECT_EQ(names(m), QStringList({"e", "c", "a"}));
    EXPECT_EQ(m.record(selection.currentIndex().row()).name, QStringLiteral("c"));
    EXPECT_TRUE(m.setCell(2, 0, "A"));
    m.insertRecord(1, {"x", "8"}); // shown although the filter would hide it
    EXPECT_EQ(names(m), QStringList({"e", "x", "c", "A"}));
    EXPECT_TRUE(m.removeRecord(2));
    EXPECT_EQ(m.findRecord([](const Item& i) { return i.name == "A"; }), 2);
    m.setFilter(nullptr);
    EXPECT_FALSE(m.isFiltered());
    // Hidden records took part in the sort and kept their place; the edits went to their rows.
    EXPECT_EQ(names(m), QStringList({"e", "d", "x", "b", "A"}));
    m.setFilter(odd);
    m.setRecords({{"f", "7"}, {"g", "6"}});
    EXPECT_EQ(names(m), QStringList({"f"}));
    EXPECT_EQ(warnings.count(), 0);
}

TEST(GridModelFilter, NarrowingTestsOnlyTheRowsShown) {
    GridModel<Item> m(itemColumns());
    m.setRecords({{"ab", "1"}, {"abc", "2"}, {"b", "3"}});
    int tested = 0;
    auto containing = [&tested](QString text) {
        return [&tested, text](const Item& i) {
            ++tested;
            return i.name.contains(text);
        };
    };
    m.setFilter(containing("ab"));
    EXPECT_EQ(tested, 3);
    tested = 0;
    m.setFilter(containing("abc"), true);
    EXPECT_EQ(tested, 2);
    EXPECT_EQ(names(m), QStringList({"abc"}));
    m.setFilter(containing("b")); // not narrowing: every record again
    EXPECT_EQ(names(m), QStringList({"ab", "abc", "b"}));
}
