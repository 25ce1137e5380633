// Look-ups by name in a key with many subkeys stay right while subkeys come and go: the index
// and the finger that follows runs of look-ups in name order must never give a wrong key.

#include "registry/key_node.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <numeric>
#include <random>

using namespace orvanex::reg;

namespace {

QString childName(int i) {
    return QStringLiteral("Key%1").arg(i, 4, 10, QLatin1Char('0'));
}

// Every name of `present` is found (under another case too) as itself; every other is not.
void expectLookups(const KeyNode& top, const QList<int>& order, const QList<bool>& present) {
    for (int i : order) {
        const QString name = childName(i);
        const KeyNode* found = top.findChild(name.toLower());
        if (!present[i]) {
            EXPECT_EQ(found, nullptr) << qPrintable(name);
            continue;
        }
        ASSERT_NE(found, nullptr) << qPrintable(name);
        EXPECT_EQ(found->name, name);
        EXPECT_EQ(top.child(foldName(name)), found);
    }
}

} // namespace

TEST(KeyNodeLookup, FindsEveryKeyInAnyOrderWhileKeysAreAddedAndRemoved) {
    constexpr int n = 400;
    KeyNode top;
    QList<bool> present(n, false);
    // Every other key first, so that the rest land between them and move their places.
    for (int i = 0; i < n; i += 2) {
        top.ensureChild(childName(i));
        present[i] = true;
    }
    QList<int> ascending(n);
    std::iota(ascending.begin(), ascending.end(), 0);
    QList<int> descending(ascending.rbegin(), ascending.rend());
    QList<int> shuffled = ascending;
    std::mt19937 random(20261208);
    std::shuffle(shuffled.begin(), shuffled.end(), random);

    expectLookups(top, ascending, present);
    for (int i = 1; i < n; i += 2) {
        top.ensureChild(childName(i));
        present[i] = true;
        if (i % 50 == 1) // look-ups between the inserts, with places that moved meanwhile
            expectLookups(top, ascending, present);
    }
    for (int round = 0; round < 3; ++round) {
        expectLookups(top, ascending, present);
        expectLookups(top, descending, present);
        expectLookups(top, shuffled, present);
    }
    for (int i = 0; i < n; i += 3) {
        ASSERT_TRUE(top.removeChild(foldName(childName(i))));
        present[i] = false;
    }
    expectLookups(top, ascending, present);
    expectLookups(top, shuffled, present);
    EXPECT_EQ(top.children().size(), size_t(std::count(present.begin(), present.end(), true)));
    // The same name again is the same key, not a second one.
    EXPECT_EQ(top.ensureChild(QStringLiteral("KEY0001")), top.findChild(childName(1)));
}
