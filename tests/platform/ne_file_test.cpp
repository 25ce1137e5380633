// NE files (16-bit programs and ICL icon libraries) made by the test writer: icon counts
// (against wrestool), images, the 16-bit version block and the executable type.

#include "ne_writer.h"
#include "pe_fixtures.h"
#include "pixel_checks.h"
#include "platform/exe_type.h"
#include "platform/icon_extract.h"
#include "platform/version_info.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::platform;
using orvanex::test::image;

namespace {

const QList<QPair<QByteArray, QByteArray>> kStrings = {
    {"CompanyName", "Old Soft Inc."},     {"FileDescription", "Sixteen-bit tool"},
    {"FileVersion", "3.10.001"},          {"InternalName", "OLDTOOL"},
    {"LegalCopyright", "Copyright 1993"}, {"OriginalFilename", "OLDTOOL.EXE"},
    {"ProductName", "Old Tools"},         {"ProductVersion", "3.10"},
};

QString write(const QString& name, const QByteArray& bytes) {
    const QString path = test::freshDir("ne") + "/" + name;
    test::writeFile(path, bytes);
    return path;
}

QString programWithIcons() {
    QList<test::NeResource> res = test::iconGroupResources(
        {{image(32, 32, 4, Qt::red), image(16, 16, 4, Qt::blue)}, {image(32, 32, 1, Qt::green)}});
    res.append({6, 1, {}, QByteArray("a string table to skip")});
    res.append({16, 1, {}, test::makeVersionBlock16(kStrings)});
    return write("old.exe", test::makeNe(res, 0x030a));
}

} // namespace

TEST(NeFile, ProgramIconsVersionAndType) {
    const QString path = programWithIcons();
    EXPECT_EQ(extractIconCount(path), 2);
    EXPECT_EQ(test::wrestoolGroupCount(path), 2);
    EXPECT_TRUE(test::hasPattern(extractIcon(path, 0), Qt::red, true, 4));
    EXPECT_TRUE(test::hasPattern(extractIcon(path, 1), Qt::green, true, 1));
    EXPECT_TRUE(extractIcon(path, 2).isNull());
    EXPECT_EQ(executableType(path), 0x030a454eu);

    const QByteArray block = fileVersionInfo(path);
    EXPECT_EQ(block, test::makeVersionBlock16(kStrings));
    EXPECT_FALSE(isUnicodeVersionBlock(block));
    const QList<VersionString> strings = versionStrings(block);
    ASSERT_EQ(strings.size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(strings[i].value, QString::fromLatin1(kStrings[i].second));
}

TEST(NeFile, IconLibraryWithNamedGroups) {
    QList<QList<test::TestImage>> groups;
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta};
    for (const QColor& c : colours)
        groups.append({image(16, 16, 8, Qt::black), image(32, 32, 8, c)});
    for (int shift : {4, 0, 9}) {
        SCOPED_TRACE(shift);
        const QString path =
            write("lib.icl", test::makeNe(test::iconGroupResources(groups, {"FIRST", "SECOND"}),
                                          0x0300, shift));
        EXPECT_EQ(extractIconCount(path), 5);
        EXPECT_EQ(test::wrestoolGroupCount(path), 5);
        for (int i = 0; i < colours.size(); ++i)
            EXPECT_TRUE(test::hasPattern(extractIcon(path, i), colours[i], true, 8)) << i;
        EXPECT_TRUE(fileVersionInfo(path).isEmpty());
    }
}

TEST(NeFile, WithoutResources) {
    const QString path = write("bare.exe", test::makeNe({}, 0x0300));
    EXPECT_EQ(extractIconCount(path), 0);
    EXPECT_EQ(executableType(path), 0x0300454eu);
    EXPECT_TRUE(fileVersionInfo(path).isEmpty());
}

TEST(VersionSearch, SingleByteSearchTakesTheFirstOccurrence) {
    const QByteArray block = test::makeVersionBlock16(
        {{"CompanyName", "A"}, {"ProductName", ""}, {"Comments", "CompanyName hidden"}});
    EXPECT_EQ(findVersionStringSingleByte(block, QLatin1StringView("CompanyName"), 12), "A");
    EXPECT_EQ(findVersionStringSingleByte(block, QLatin1StringView("ProductName"), 12), "");
    EXPECT_EQ(findVersionStringSingleByte(block, QLatin1StringView("InternalName"), 16), "");
    // A key at the very end: the value would start past the block.
    EXPECT_EQ(findVersionStringSingleByte("xxCompanyName", QLatin1StringView("CompanyName"), 12),
              "");
    // Value right after the key's NUL (offset 12 = 11 characters and the NUL).
    EXPECT_EQ(findVersionStringSingleByte(QByteArray("CompanyName\0Acme", 16),
                                          QLatin1StringView("CompanyName"), 12),
              "Acme");
}
