// Real 32- and 64-bit PE files built by windres and ld from fixtures/icons.rc: icon counts
// (against wrestool), the chosen images, version strings and executable types.

#include "pe_fixtures.h"
#include "pixel_checks.h"
#include "platform/exe_type.h"
#include "platform/icon_extract.h"
#include "platform/version_info.h"
#include "support/test_env.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::platform;

namespace {

class PeFixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = test::freshDir("pe");
        files = test::buildFixtureSet(dir, &buildErrors);
    }
    void SetUp() override { ASSERT_TRUE(buildErrors.isEmpty()) << buildErrors.toStdString(); }

    static inline QString dir;
    static inline QString buildErrors;
    static inline QMap<QString, QString> files;
};

} // namespace

TEST_F(PeFixtures, CountsAgreeWithWrestool) {
    for (const QString& path : std::as_const(files)) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(extractIconCount(path), 7);
        EXPECT_EQ(test::wrestoolGroupCount(path), extractIconCount(path));
    }
}

TEST_F(PeFixtures, ChosenImagesOfEveryGroup) {
    const QList<test::FixtureGroup> groups = test::fixtureGroups();
    for (const QString& path : {files["pe32.dll"], files["pe64.dll"]}) {
        for (int i = 0; i < groups.size(); ++i) {
            SCOPED_TRACE((path + " group " + groups[i].name).toStdString());
            const QImage icon = extractIcon(path, i);
            const bool exact = groups[i].name != "big" && groups[i].name != "huge";
            EXPECT_TRUE(
                test::hasPattern(icon, groups[i].chosenColour, exact, groups[i].chosenBits));
        }
        // The 32-bit image of "multi" keeps its partial alpha.
        EXPECT_EQ(extractIcon(path, 1).pixelColor(31, 0).alpha(), 128);
        EXPECT_TRUE(extractIcon(path, 7).isNull());
        EXPECT_TRUE(extractIcon(path, -1).isNull());
    }
}

TEST_F(PeFixtures, ExecutableTypes) {
    EXPECT_EQ(executableType(files["pe32gui.exe"]), 0x04004550u);
    EXPECT_EQ(executableType(files["pe32con.exe"]), 0x4550u);
    EXPECT_EQ(executableType(files["pe32.dll"]), 0x4550u); // ld marks DLLs as console
    EXPECT_EQ(executableType(files["pe64.dll"]), 0x06014550u);
    EXPECT_EQ(executableType(files["pe64con.exe"]), 0x4550u);
}

TEST_F(PeFixtures, VersionStringsOfTheFirstLanguage) {
    const QStringList expected = {QString::fromUtf8("\u00d8rvik \u00a9 M\u00fcller"),
                                  "Fixture library for icon tests",
                                  "1.2.3.4",
                                  "fixture",
                                  "Copyright (C) 2026 Fixture Makers",
                                  "fixture.dll",
                                  "Fixture Suite",
                                  "1.2"};
    for (const QString& path : {files["pe32.dll"], files["pe64con.exe"]}) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray block = fileVersionInfo(path);
        ASSERT_GT(block.size(), 200);
        EXPECT_EQ(fileVersionInfoSize(path), block.size());
        EXPECT_EQ(quint16(uchar(block[0]) | uchar(block[1]) << 8), block.size());
        EXPECT_TRUE(isUnicodeVersionBlock(block));
        const QList<VersionString> strings = versionStrings(block);
        ASSERT_EQ(strings.size(), 8);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(strings[i].key, versionKeys()[i].key);
            EXPECT_EQ(strings[i].value, expected[i]);
        }
        // The single-byte search sees no keys in UTF-16 text.
        for (const VersionKey& k : versionKeys())
            EXPECT_TRUE(findVersionStringSingleByte(block, k.key, k.valueOffset).isEmpty());
    }
}
