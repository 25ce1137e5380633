// The store's operations and their Win32 status codes, on a memory registry.

#include "registry/handle_table.h"
#include "registry/registry.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace orvanex::reg;

namespace {

QByteArray query(Registry& r, HKey key, const QString& name, std::uint32_t* type = nullptr) {
    std::uint32_t size = 0;
    EXPECT_EQ(r.queryValueEx(key, name, type, nullptr, &size), 0);
    QByteArray data(qsizetype(size), 'x');
    EXPECT_EQ(r.queryValueEx(key, name, type, data.data(), &size), 0);
    return data.left(size);
}

QStringList subkeys(Registry& r, HKey key) {
    QStringList names;
    QString name;
    for (std::uint32_t i = 0; r.enumKeyEx(key, i, &name) == 0; ++i)
        names << name;
    return names;
}

HKey create(Registry& r, HKey root, const QString& path) {
    HKey k = 0;
    EXPECT_EQ(r.createKey(root, path, &k), 0) << path.toStdString();
    return k;
}

} // namespace

TEST(Store, StatusCodesForEachCondition) {
    auto r = Registry::inMemory();
    HKey k = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".none", 0, KEY_ALL_USED, &k), status::FileNotFound);
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, nullptr),
              status::InvalidParameter);
    EXPECT_EQ(r->queryValueEx(0x1234, "", nullptr, nullptr, nullptr), status::InvalidHandle);
    k = create(*r, HKEY_CLASSES_ROOT, ".txt");
    EXPECT_EQ(r->closeKey(k), 0);
    EXPECT_EQ(r->closeKey(k), status::InvalidHandle);
    EXPECT_EQ(r->setValueEx(k, "", type::Sz, "a", 1), status::InvalidHandle);

    k = create(*r, HKEY_CLASSES_ROOT, ".txt");
    QString name;
    EXPECT_EQ(r->enumKeyEx(k, 0, &name), status::NoMoreItems);
    EXPECT_EQ(r->enumValue(k, 0, &name, nullptr, nullptr), status::NoMoreItems);
    EXPECT_EQ(r->queryValueEx(k, "missing", nullptr, nullptr, nullptr), status::FileNotFound);
    EXPECT_EQ(r->deleteValue(k, "missing"), status::FileNotFound);
    EXPECT_EQ(r->deleteKey(k, "missing"), status::FileNotFound);

    ASSERT_EQ(r->setValueEx(k, "", type::Sz, "txtfile", 7), 0);
    char small[4];
    std::uint32_t size = sizeof small;
    EXPECT_EQ(r->queryValueEx(k, "", nullptr, small, &size), status::MoreData);
    EXPECT_EQ(size, 8u); // the ANSI terminator counts
    EXPECT_EQ(r->queryValueEx(k, "", nullptr, small, nullptr), status::InvalidParameter);

    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, QString(256, u'a'), &k), status::InvalidParameter);
    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, QString(255, u'a'), &k), 0);
    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, "a\\\\b", &k), status::BadPathname);
    EXPECT_EQ(r->createKey(HKEY_CLASSES_ROOT, "\\a", &k), status::BadPathname);
    EXPECT_EQ(r->setValueEx(k, QString(16384, u'v'), type::Sz, "", 0), status::InvalidParameter);
    EXPECT_EQ(r->setValueEx(k, "n", type::Binary, nullptr, 3), status::InvalidParameter);

    // The predefined keys cannot go.
    EXPECT_EQ(r->deleteKey(HKEY_CLASSES_ROOT, ""), status::AccessDenied);
    EXPECT_EQ(r->deleteKey(HKEY_LOCAL_MACHINE, "Software"), status::AccessDenied);
    EXPECT_EQ(r->deleteKey(HKEY_CURRENT_USER, ""), status::AccessDenied);
}

TEST(Store, NamesAreCaseInsensitiveAndCasePreserving) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_CLASSES_ROOT, "TxtFile\\Shell");
    HKey again = create(*r, HKEY_CLASSES_ROOT, "TXTFILE\\shell\\Open");
    ASSERT_EQ(r->setValueEx(again, "Command", type::Sz, "x", 1), 0);
    ASSERT_EQ(r->setValueEx(again, "COMMAND", type::Sz, "yz", 2), 0);
    EXPECT_EQ(query(*r, again, "command"), QByteArray("yz\0", 3));
    QString name;
    ASSERT_EQ(r->enumValue(again, 0, &name, nullptr, nullptr), 0);
    EXPECT_EQ(name, "Command");
    EXPECT_EQ(r->enumValue(again, 1, &name, nullptr, nullptr), status::NoMoreItems);
    EXPECT_EQ(subkeys(*r, HKEY_CLASSES_ROOT), QStringList{"TxtFile"});
    EXPECT_EQ(subkeys(*r, k), QStringList{"Open"});
    // Non-ASCII names fold too.
    create(*r, HKEY_CLASSES_ROOT, QString::fromUtf8("Ärger"));
    HKey h = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, QString::fromUtf8("äRGER"), 0, 0x3F, &h), 0);
}

TEST(Store, SubkeysEnumerateInCaseInsensitiveOrder) {
    auto r = Registry::inMemory();
    for (const char* n : {"b", "C", "a", "_x", "B2", ".txt", "Zeta", "alpha"})
        r->closeKey(create(*r, HKEY_CURRENT_USER, QString::fromLatin1(n)));
    EXPECT_EQ(subkeys(*r, HKEY_CURRENT_USER),
              (QStringList{".txt", "a", "alpha", "b", "B2", "C", "Zeta", "_x"}));
}

TEST(Store, ValuesKeepTypeAndBytes) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_LOCAL_MACHINE, "Software\\Test");
    const QByteArray binary("\x00\x01\xff\x80", 4);
    const QByteArray multi("one\0two\0\0", 9);
    ASSERT_EQ(r->setValueEx(k, "bin", type::Binary, binary.constData(), 4), 0);
    ASSERT_EQ(r->setValueEx(k, "multi", type::MultiSz, multi.constData(), 9), 0);
    ASSERT_EQ(r->setValueEx(k, "odd", 0x12345, "ab", 2), 0);
    ASSERT_EQ(r->setValueEx(k, "empty", type::Binary, nullptr, 0), 0);
    std::uint32_t t = 0;
    EXPECT_EQ(query(*r, k, "bin", &t), binary);
    EXPECT_EQ(t, type::Binary);
    EXPECT_EQ(query(*r, k, "multi", &t), multi); // already terminated: nothing added
    EXPECT_EQ(query(*r, k, "odd", &t), "ab");
    EXPECT_EQ(t, 0x12345u);
    EXPECT_EQ(query(*r, k, "empty"), QByteArray());
    QByteArray data;
    ASSERT_EQ(r->enumValue(k, 2, nullptr, &t, &data), 0);
    EXPECT_EQ(data, "ab"); // enumeration gives the stored bytes, creation order
    // The classes root is HKLM\Software\Classes.
    HKey c = create(*r, HKEY_CLASSES_ROOT, ".abc");
    ASSERT_EQ(r->setValueEx(c, "", type::Sz, "abcfile", 7), 0);
    HKey viaMachine = 0;
    ASSERT_EQ(r->openKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\classes\\.ABC", 0, 0x3F, &viaMachine), 0);
    EXPECT_EQ(query(*r, viaMachine, ""), QByteArray("abcfile\0", 8));
}

TEST(Store, DeletingAKeyTakesItsSubtreeAndStalesHandles) {
    auto r = Registry::inMemory();
    HKey type = create(*r, HKEY_CLASSES_ROOT, "txtfile");
    HKey deep = create(*r, HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command");
    ASSERT_EQ(r->setValueEx(deep, "", type::Sz, "edit %1", 7), 0);
    ASSERT_EQ(r->deleteKey(type, ""), 0);
    HKey k = 0;
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, "txtfile\\shell", 0, 0x3F, &k), 2);
    EXPECT_EQ(r->setValueEx(deep, "", type::Sz, "x", 1), status::KeyDeleted);
    EXPECT_EQ(r->closeKey(deep), 0);
    // A new key of the same name is a different key.
    HKey fresh = create(*r, HKEY_CLASSES_ROOT, "TXTFILE");
    QString name;
    EXPECT_EQ(r->enumKeyEx(fresh, 0, &name), status::NoMoreItems);
    EXPECT_EQ(r->enumKeyEx(type, 0, &name), status::KeyDeleted);
    // Deleting by subkey name from a parent.
    create(*r, HKEY_CLASSES_ROOT, "a\\b\\c");
    EXPECT_EQ(r->deleteKey(HKEY_CLASSES_ROOT, "A\\B"), 0);
    EXPECT_EQ(r->openKeyEx(HKEY_CLASSES_ROOT, "a", 0, 0x3F, &k), 0);
    EXPECT_EQ(r->enumKeyEx(k, 0, &name), status::NoMoreItems);
}

TEST(Store, BatchesApplyInMemoryAsTheyGo) {
    auto r = Registry::inMemory();
    {
        WriteBatch batch(*r);
        HKey k = create(*r, HKEY_CURRENT_USER, "x");
        ASSERT_EQ(r->setValueEx(k, "v", type::Dword, "\1\0\0\0", 4), 0);
        EXPECT_EQ(query(*r, k, "v"), QByteArray("\1\0\0\0", 4));
        EXPECT_EQ(batch.finish(), 0);
    }
    EXPECT_EQ(r->endBatch(), status::InvalidParameter);
}

TEST(HandleTable, AClosedHandleStaysInvalidUntilItsSlotWasReused2047Times) {
    HandleTable<int> table;
    HKey first = 0;
    *table.open(&first) = 7;
    EXPECT_EQ(table.find(0), nullptr);
    EXPECT_EQ(table.find(first ^ (1u << 20)), nullptr);
    ASSERT_TRUE(table.close(first));
    EXPECT_FALSE(table.close(first));
    EXPECT_EQ(table.find(first), nullptr);

    // The freed slot is taken again, empty, under a handle of its own.
    HKey again = 0;
    int* slot = table.open(&again);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(*slot, 0);
    EXPECT_EQ(again & 0xFFFFF, first & 0xFFFFF);
    EXPECT_NE(again, first);
    EXPECT_EQ(table.find(first), nullptr);
    for (int reuse = 2; reuse < 2047; ++reuse) {
        ASSERT_TRUE(table.close(again));
        table.open(&again);
        ASSERT_NE(again, first) << reuse;
    }
    ASSERT_TRUE(table.close(again));
    table.open(&again);
    EXPECT_EQ(again, first);
}
