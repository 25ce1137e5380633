// The shared registry routines: value reading convention, error texts and the routine shapes.

#include "registry/reg_state.h"

#include <gtest/gtest.h>

using namespace orvanex::reg;

namespace {

struct RegStateTest : testing::Test {
    std::unique_ptr<Registry> registry = Registry::inMemory();
    RegState state;
    void SetUp() override { state.registry = registry.get(); }
    bool exists(const QString& path) {
        HKey k = 0;
        const bool ok = registry->openKeyEx(HKEY_CLASSES_ROOT, path, 0, 0x3F, &k) == 0;
        registry->closeKey(k);
        return ok;
    }
};

} // namespace

TEST(RegErrorTextTable, GivesTheExactTexts) {
    RegState s;
    const std::pair<Status, const char*> table[] = {
        {2, "Bad Key Name"},
        {1010, "Bad Key Name"},
        {4, "Can't Read Key"},
        {1012, "Can't Read Key"},
        {5, "Access to this key is denied"},
        {8, "Out of memory"},
        {14, "Out of memory"},
        {87, "Invalid Parameter"},
        {234, "There is more data than the buffer has been allocated to hold."},
        {1009, "The Registry Database is corrupt!"},
        {1015, "The Registry Database is corrupt!"},
        {1011, "Can't Open Key"},
        {1013, "Can't Write Key"},
        {259, "Undefined Error Code:   259"},
        {0, "Undefined Error Code:   0"},
        {-1, "Undefined Error Code:  -1"},
    };
    for (const auto& [code, text] : table) {
        RegErrorText(s, code);
        EXPECT_EQ(s.ErrorText, QString::fromLatin1(text)) << code;
    }
}

TEST(TextRoutines, StripNullAndStripQuotes) {
    EXPECT_EQ(StripNull(QString::fromLatin1("abc\0def", 7)), "abc");
    EXPECT_EQ(StripNull("abc"), "abc");
    EXPECT_EQ(StripNull(QString::fromLatin1("\0", 1)), "");
    QString t = "\"\"C:\\a b\\x.exe\" %1\"\"";
    EXPECT_EQ(StripQuotes(t), "C:\\a b\\x.exe\" %1");
    EXPECT_EQ(t, "C:\\a b\\x.exe\" %1");
    QString only = "\"\"\"";
    EXPECT_EQ(StripQuotes(only), "");
}

TEST_F(RegStateTest, QueryValueExFollowsTheTerminatorConvention) {
    ASSERT_EQ(WriteText(state, ".txt", "", ""), 0);
    RegValue value;
    ASSERT_EQ(ReadValue(state, ".txt", "", value), 0);
    ASSERT_TRUE(std::holds_alternative<QString>(value));
    EXPECT_EQ(std::get<QString>(value), QString(QChar(u'\0'))); // empty = one NUL
    QString text = "unchanged";
    EXPECT_FALSE(ReadText(state, ".txt", "", &text));
    EXPECT_EQ(text, "unchanged");

    ASSERT_EQ(WriteText(state, "txtfile", "", QString::fromUtf8("Texte élaboré")), 0);
    ASSERT_TRUE(ReadText(state, "txtfile", "", &text));
    EXPECT_EQ(text, QString::fromUtf8("Texte élaboré"));

    HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(HKEY_CLASSES_ROOT, "txtfile", 0, 0x3F, &k), 0);
    ASSERT_EQ(registry->setValueEx(k, "EditFlags", type::Dword, "\xfe\xff\xff\xff", 4), 0);
    ASSERT_EQ(registry->setValueEx(k, "Path", type::ExpandSz, "%x%", 3), 0);
    ASSERT_EQ(registry->setValueEx(k, "Short", type::Dword, "\x07", 1), 0);
    value = std::monostate{};
    EXPECT_EQ(QueryValueEx(state, k, "EditFlags", value), 0);
    EXPECT_EQ(std::get<std::int32_t>(value), -2);
    value = QString("kept");
    EXPECT_EQ(QueryValueEx(state, k, "Path", value), -1);
    EXPECT_EQ(std::get<QString>(value), "kept");
    EXPECT_EQ(QueryValueEx(state, k, "Missing", value), 2);
    EXPECT_EQ(std::get<QString>(value), "kept");
    EXPECT_EQ(QueryValueEx(state, k, "Short", value), 0);
    EXPECT_EQ(std::get<std::int32_t>(value), 7);
    EXPECT_FALSE(ReadText(state, "txtfile", "EditFlags", &text));
}

TEST_F(RegStateTest, TextsOfEveryLengthComeBackWholeAndLongDwordsAreRefused) {
    // Around the reader's own buffer: a text that fills it with or without its terminator.
    for (int n : {1, 254, 255, 256, 257, 5000}) {
        QString written(n, u'x');
        written[n - 1] = u'\u00e9'; // two bytes in the store: the byte count is not the length
        ASSERT_EQ(WriteText(state, "lengths", "", written), 0) << n;
        QString text;
        ASSERT_TRUE(ReadText(state, "lengths", "", &text)) << n;
        EXPECT_EQ(text, written) << n;
    }
    HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(HKEY_CLASSES_ROOT, "lengths", 0, 0x3F, &k), 0);
    ASSERT_EQ(registry->setValueEx(k, "Wide", type::Dword, "\x01\x02\x03\x04\x05", 5), 0);
    RegValue value = QString("kept");
    EXPECT_EQ(QueryValueEx(state, k, "Wide", value), status::MoreData);
    EXPECT_EQ(std::get<QString>(value), "kept");
    registry->closeKey(k);
}

TEST_F(RegStateTest, WritingAStarStoresOneByte) {
    ASSERT_EQ(WriteText(state, "*\\shellex", "", "*"), 0);
    EXPECT_EQ(state.RootKey, HKEY_CLASSES_ROOT);
    EXPECT_EQ(state.KeyPath, "*\\shellex");
    HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(HKEY_CLASSES_ROOT, "*\\shellex", 0, 0x3F, &k), 0);
    QByteArray data;
    ASSERT_EQ(registry->enumValue(k, 0, nullptr, nullptr, &data), 0);
    EXPECT_EQ(data, "*");
}

TEST_F(RegStateTest, ShapesKeepStatusesAndCloseWhatTheyOpen) {
    QString text;
    EXPECT_FALSE(ReadText(state, ".none", "", &text));
    EXPECT_EQ(state.LastStatus, 2);
    RegValue untouched = 5;
    EXPECT_EQ(ReadValue(state, "a\\\\b", "", untouched), status::BadPathname);
    EXPECT_EQ(std::get<std::int32_t>(untouched), 5);

    ASSERT_EQ(CreateKeyChain(state, {"txtfile\\Shell", "txtfile\\Shell\\open",
                                     "txtfile\\Shell\\open\\command"}),
              0);
    EXPECT_TRUE(exists("txtfile\\shell\\OPEN\\command"));
    EXPECT_EQ(EnumerateSubkeys(state, "txtfile\\Shell"), QStringList{"open"});
    EXPECT_EQ(state.LastStatus, status::NoMoreItems);
    EXPECT_TRUE(EnumerateSubkeys(state, "nothing").isEmpty());
    EXPECT_EQ(state.LastStatus, 2);

    ASSERT_EQ(WriteText(state, "txtfile", "Name", "x"), 0);
    EXPECT_EQ(DeleteValueAt(state, "txtfile", "name"), 0);
    EXPECT_EQ(DeleteValueAt(state, "txtfile", "name"), 2);
    EXPECT_EQ(DeleteValueAt(state, "absent", "name"), 2);

    EXPECT_EQ(DeleteKeyTree(state, "txtfile"), 0);
    EXPECT_FALSE(exists("txtfile\\Shell\\open"));
    EXPECT_EQ(DeleteKeyTree(state, "txtfile"), 2);
}

TEST_F(RegStateTest, DdeKeysAreDeletedChildrenFirstSkippingMissingOnes) {
    const QString dde = "txtfile\\Shell\\print\\ddeexec";
    ASSERT_EQ(CreateKeyChain(state, {dde, dde + "\\application", dde + "\\topic"}), 0);
    ASSERT_EQ(
        DeleteKeysInOrder(state, {dde + "\\ifexec", dde + "\\topic", dde + "\\application", dde}),
        0);
    EXPECT_FALSE(exists(dde));
    EXPECT_TRUE(exists("txtfile\\Shell\\print"));
}

TEST_F(RegStateTest, AFailingDeletionEndsTheSequenceAndLeavesTheLaterKeys) {
    ASSERT_EQ(CreateKeyChain(state, {"t\\ddeexec", "t\\ddeexec\\topic"}), 0);
    // The empty path opens the classes root itself, which cannot be deleted.
    EXPECT_EQ(DeleteKeysInOrder(state, {"t\\ddeexec\\topic", "", "t\\ddeexec"}),
              status::AccessDenied);
    EXPECT_FALSE(exists("t\\ddeexec\\topic"));
    EXPECT_TRUE(exists("t\\ddeexec"));
}
