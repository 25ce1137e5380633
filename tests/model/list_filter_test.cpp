// The filter rule of the index lists over the tables the start-up builds.

#include "model/list_filter.h"
#include "model/loading.h"
#include "model_test_hive.h"

#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;
using orvanex::test::TestHive;

namespace {

QStringList names(const QList<IndexRow>& rows) {
    return test::rowCells(rows, 0);
}

} // namespace

TEST(ListFilter, KeepsRowsByEachOfTheirTextsAndFollowsAnEditedType) {
    TestHive hive;
    hive.extension(".txt", "txtfile");
    hive.extension(".log", "txtfile");
    hive.set(".txt", "text/plain", "Content Type");
    hive.type("txtfile", "Text Document");
    hive.set("txtfile\\Shell", "edit");
    hive.set("txtfile\\Shell\\open\\command", "viewer.exe %1");
    hive.set("txtfile\\Shell\\edit\\command", "Editor.exe %1"); // the default verb's
    hive.extension(".png", "pngfile");
    hive.type("pngfile", "Picture");
    hive.set("pngfile\\Shell\\open\\command", "Paint.exe %1");
    hive.set("pngfile\\DefaultIcon", "\"C:\\Icons\\Pic.ico\"");
    hive.extension(".bmp", "bmpfile"); // no type key
    const StartupModel m = LoadStartupModel(hive.state, platform::DriveMap(), false);
    ListFilter filter(m.extensions.entries, m.lists.typeTexts);
    auto ext = [&](const QString& t) {
        return names(filterExtensionRows(m.extensions.rows, filter, t)).join(' ');
    };
    auto types = [&](const QString& t) {
        return names(filterTypeRows(m.fileTypes.rows, filter, t)).join(' ');
    };
    EXPECT_EQ(ext("lo"), "LOG");           // extension
    EXPECT_EQ(ext(".TXT"), "TXT");         // the key's own name
    EXPECT_EQ(ext("BMPFILE"), "BMP");      // type key (without a key of its own)
    EXPECT_EQ(ext("text doc"), "LOG TXT"); // description
    EXPECT_EQ(ext("TEXT/"), "TXT");        // content type
    EXPECT_EQ(types("text/plain"), "Text Document");
    EXPECT_EQ(ext("editor"), "LOG TXT"); // the default verb's command, not open's
    EXPECT_EQ(ext("viewer"), "");
    EXPECT_EQ(ext("paint"), "PNG");          // open, where Shell names no default
    EXPECT_EQ(ext("icons\\pic.ico"), "PNG"); // icon, unquoted
    EXPECT_EQ(types("PIC.ICO"), "Picture");
    EXPECT_EQ(ext("nothing like it"), "");

    hive.set("pngfile\\DefaultIcon", "C:\\Icons\\Other.ico");
    EXPECT_TRUE(filter.refreshType("pngfile", ReadTypeFilterTexts(hive.state, "pngfile")));
    EXPECT_FALSE(filter.refreshType("pngfile", ReadTypeFilterTexts(hive.state, "pngfile")));
    EXPECT_EQ(ext("pic.ico"), "");
    EXPECT_EQ(ext("other.ico"), "PNG");

    // A row whose description was edited is found by its new text alone.
    QList<IndexRow> edited = m.extensions.rows;
    for (IndexRow& r : edited)
        if (r.name == "PNG")
            r.related = "Photograph";
    EXPECT_EQ(names(filterExtensionRows(edited, filter, "PHOTO")).join(' '), "PNG");
    EXPECT_EQ(names(filterExtensionRows(edited, filter, "picture")).join(' '), "");
    EXPECT_EQ(ext("picture"), "PNG");
}

TEST(ListFilter, OpenCommandIsTheDefaultVerbsThenOpensThenTheFirstOne) {
    const QList<QPair<QString, QString>> verbs{{"print", "p.exe"}, {"Open", "o.exe"}, {"go", "g"}};
    EXPECT_EQ(openCommandOf("GO", verbs), "g");
    EXPECT_EQ(openCommandOf(" ", verbs), "o.exe");
    EXPECT_EQ(openCommandOf("missing", verbs), "o.exe");
    EXPECT_EQ(openCommandOf("", {{"print", ""}, {"show", "s.exe"}}), "s.exe");
    EXPECT_EQ(openCommandOf("", {}), "");
}
