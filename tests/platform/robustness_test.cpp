// Truncated and corrupted copies of every fixture: counts never exceed the original's, any icon
// still comes out as a 32 x 32 image, and nothing crashes or runs away.

#include "fixture_images.h"
#include "ne_writer.h"
#include "pe_fixtures.h"
#include "platform/exe_type.h"
#include "platform/icon_file.h"
#include "platform/version_info.h"
#include "support/test_env.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::platform;

namespace {

void checkVariant(const QByteArray& bytes, int maxCount) {
    IconFile file(bytes);
    const int count = file.count();
    ASSERT_GE(count, 0);
    ASSERT_LE(count, maxCount);
    for (int i = 0; i < count; ++i) {
        const QImage icon = file.icon(i);
        ASSERT_TRUE(icon.isNull() || icon.size() == QSize(32, 32));
    }
    ASSERT_EQ(versionStrings(versionInfoFromData(bytes)).size(), 8);
    executableTypeOfData(bytes, "x.exe");
}

QMap<QString, QByteArray> fixtures() {
    const QString dir = test::freshDir("robust");
    QString errors;
    QMap<QString, QByteArray> out;
    const QMap<QString, QString> files = test::buildFixtureSet(dir, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    for (const char* name : {"pe32.dll", "pe64.dll"})
        out[name] = test::readFile(files[name]);
    out["multi.ico"] = test::readFile(dir + "/multi.ico");
    out["png.ico"] = test::readFile(dir + "/png.ico");
    QList<test::NeResource> res = test::iconGroupResources(
        {{test::image(32, 32, 4, Qt::red)}, {test::image(32, 32, 8, Qt::blue)}}, {"NAMED"});
    res.append({16, 1, {}, test::makeVersionBlock16({{"CompanyName", "X"}})});
    out["ne.exe"] = test::makeNe(res, 0x030a);
    return out;
}

} // namespace

TEST(Robustness, TruncatedFixtures) {
    const QMap<QString, QByteArray> all = fixtures();
    for (auto it = all.begin(); it != all.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QByteArray& full = *it;
        const int fullCount = IconFile(full).count();
        ASSERT_GT(fullCount, 0);
        // Cuts inside the headers leave nothing to count.
        for (qsizetype n = 0; n < 64 && n < full.size(); ++n)
            EXPECT_EQ(IconFile(full.left(n)).count(), 0) << n;
        const qsizetype step = std::max<qsizetype>(1, full.size() / 300);
        for (qsizetype n = 0; n < full.size(); n += step)
            checkVariant(full.left(n), fullCount);
    }
}

TEST(Robustness, CorruptedFixtures) {
    const QMap<QString, QByteArray> all = fixtures();
    QRandomGenerator random(20261207);
    for (auto it = all.begin(); it != all.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QByteArray& full = *it;
        for (int round = 0; round < 250; ++round) {
            QByteArray b = full;
            const int flips = 1 + int(random.bounded(8));
            for (int f = 0; f < flips; ++f) {
                // Mostly in the first 1 KiB, where the headers and directories are.
                const qsizetype limit =
                    random.bounded(2) ? std::min<qsizetype>(1024, b.size()) : b.size();
                b[random.bounded(int(limit))] = char(random.bounded(256));
            }
            // Corruption may invent entries, but never more than the file has room for.
            checkVariant(b, int(b.size() / 6));
        }
    }
}
