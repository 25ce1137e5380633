// Wine's registry links in a prefix's files: followed when read, written through to their
// targets, the link keys kept byte for byte, and links that lead nowhere or back into themselves
// answered as missing keys instead of walked for ever.

#include "registry/reg_file.h"
#include "registry/wine_registry.h"
#include "store_calls.h"
#include "support/test_env.h"
#include "wine_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

// A "#link" key block as Wine writes it, its target as REG_LINK UTF-16 bytes.
QByteArray linkBlock(const QByteArray& path, const QString& target) {
    QByteArray hex;
    for (QChar c : target) {
        hex += QByteArray::number(c.unicode() & 0xFF, 16).rightJustified(2, '0') + ',' +
               QByteArray::number(c.unicode() >> 8, 16).rightJustified(2, '0') + ',';
    }
    hex.chop(1);
    return "\n[" + path + "] 1700000000\n#time=1da1a2b3c4d5e6f\n#link\n" +
           "\"SymbolicLinkValue\"=hex(6):" + hex + "\n";
}

QByteArray keyBlock(const QByteArray& path, const QByteArray& values) {
    return "\n[" + path + "] 1700000000\n#time=1da1a2b3c4d5e6f\n" + values;
}

const QByteArray Head = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n"
                        "\n#arch=win64\n";

// The layout of a fresh prefix: HKCR\Wow6432Node\AppId leads to HKCR\AppId, and
// HKLM\Software\Wow6432Node\Classes to HKCR\Wow6432Node.
QByteArray linkedSystemReg() {
    return Head + keyBlock("Software\\\\Classes\\\\AppId\\\\{1}", "@=\"one\"\n\"Name\"=\"x\"\n") +
           keyBlock("Software\\\\Classes\\\\Wow6432Node\\\\CLSID", "@=\"own\"\n") +
           linkBlock("Software\\\\Classes\\\\Wow6432Node\\\\AppId",
                     "\\Registry\\Machine\\Software\\Classes\\AppId") +
           linkBlock("Software\\\\Classes\\\\Wow6432Node\\\\Zones",
                     "\\REGISTRY\\MACHINE\\Software\\Zones") +
           keyBlock("Software\\\\Wow6432Node", "") +
           linkBlock("Software\\\\Wow6432Node\\\\Classes",
                     "\\Registry\\Machine\\Software\\Classes\\Wow6432Node") +
           keyBlock("Software\\\\Zones\\\\UTC", "\"Std\"=\"Coordinated\"\n");
}

QString makePrefix(const QString& name, const QByteArray& system) {
    const QString dir = freshDir(name);
    EXPECT_TRUE(writeBytes(dir + "/system.reg", system));
    return dir;
}

Status openStatus(Registry& r, HKey root, const QString& path) {
    HKey k = 0;
    const Status s = r.openKeyEx(root, path, 0, KEY_ALL_USED, &k);
    if (s == 0)
        r.closeKey(k);
    return s;
}

// The block of a file that starts with that key line.
QString blockOf(const QByteArray& file, const QString& keyLine) {
    for (const QString& b : blocks(file))
        if (b.startsWith("\n" + keyLine))
            return b;
    return QStringLiteral("<none>");
}

} // namespace

TEST(WineLinks, ReadingFollowsLinksAsWineDoes) {
    const QString dir = makePrefix("links-read", linkedSystemReg());
    WineRegistry r(dir);
    ASSERT_FALSE(r.isReadOnly()) << r.problem().toStdString();
    // The link's name is listed where it stands; through it, the target's keys and values.
    EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, "Wow6432Node"),
              QStringList({"AppId", "CLSID", "Zones"}));
    EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, "Wow6432Node\\AppId"), QStringList({"{1}"}));
    EXPECT_EQ(values(r, HKEY_CLASSES_ROOT, "Wow6432Node\\appid\\{1}"),
              QStringList({"=one", "Name=x"}));
    EXPECT_EQ(values(r, HKEY_CLASSES_ROOT, "Wow6432Node\\AppId"), QStringList());
    // Target names are matched without regard to case; a link below a link is followed.
    EXPECT_EQ(values(r, HKEY_CLASSES_ROOT, "Wow6432Node\\Zones\\UTC"),
              QStringList({"Std=Coordinated"}));
    EXPECT_EQ(subkeys(r, HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Classes"),
              QStringList({"AppId", "CLSID", "Zones"}));
    EXPECT_EQ(values(r, HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Classes\\AppId\\{1}"),
              QStringList({"=one", "Name=x"}));
    // A handle opened through a link goes on from the target.
    HKey k = 0;
    ASSERT_EQ(
        r.openKeyEx(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Classes", 0, KEY_ALL_USED, &k), 0);
    EXPECT_EQ(subkeys(r, k, "AppId"), QStringList({"{1}"}));
    r.closeKey(k);

    // The export walks the links as the registry editor does.
    const RegExport out = exportRegFile(r, "HKEY_CLASSES_ROOT", RegFormat::Regedit4);
    ASSERT_EQ(out.status, 0) << out.error.toStdString();
    EXPECT_TRUE(out.bytes.contains("[HKEY_CLASSES_ROOT\\Wow6432Node\\AppId\\{1}]\r\n@=\"one\""));
    EXPECT_TRUE(out.bytes.contains("[HKEY_CLASSES_ROOT\\Wow6432Node\\Zones\\UTC]\r\n"));
    EXPECT_FALSE(out.bytes.contains("SymbolicLinkValue"));
}

TEST(WineLinks, WritesGoToTheTargetAndLinkKeysStayAsTheyAre) {
    const QByteArray system = linkedSystemReg();
    const QString dir = makePrefix("links-write", system);
    const QString appIdLink = "[Software\\\\Classes\\\\Wow6432Node\\\\AppId]";
    const QString classesLink = "[Software\\\\Wow6432Node\\\\Classes]";
    {
        WineRegistry r(dir);
        ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, "Wow6432Node\\AppId\\{2}", "", "two"), 0);
        ASSERT_EQ(setText(r, HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Classes\\AppId\\{1}",
                          "Name", "changed"),
                  0);
        // A value set on the link itself lands on its target.
        ASSERT_EQ(setText(r, HKEY_CLASSES_ROOT, "Wow6432Node\\AppId", "Seen", "yes"), 0);
        EXPECT_EQ(values(r, HKEY_CLASSES_ROOT, "AppId\\{2}"), QStringList({"=two"}));
        EXPECT_EQ(values(r, HKEY_CLASSES_ROOT, "AppId"), QStringList({"Seen=yes"}));
        // The link is never deleted, nor its target through it; what is below it is.
        EXPECT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, "Wow6432Node\\AppId"), status::AccessDenied);
        EXPECT_EQ(r.deleteKey(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Classes"),
                  status::AccessDenied);
        ASSERT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, "Wow6432Node\\AppId\\{2}"), 0);
        EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, "AppId"), QStringList({"{1}"}));
        ASSERT_EQ(r.deleteValue(HKEY_CLASSES_ROOT, "Seen"), status::FileNotFound);
    }
    const QByteArray now = readBytes(dir + "/system.reg");
    EXPECT_EQ(blockOf(now, appIdLink), blockOf(system, appIdLink));
    EXPECT_EQ(blockOf(now, classesLink), blockOf(system, classesLink));
    EXPECT_NE(blockOf(system, appIdLink), "<none>");
    EXPECT_TRUE(
        blockOf(now, "[Software\\\\Classes\\\\AppId\\\\{1}]").contains("\"Name\"=\"changed\""));
    EXPECT_TRUE(blockOf(now, "[Software\\\\Classes\\\\AppId]").contains("\"Seen\"=\"yes\""));

    // Read again, the links lead where they did.
    WineRegistry again(dir);
    EXPECT_EQ(values(again, HKEY_CLASSES_ROOT, "Wow6432Node\\AppId\\{1}"),
              QStringList({"=one", "Name=changed"}));
    // Deleting the real key that holds a link takes the link with it, not its target.
    ASSERT_EQ(again.deleteKey(HKEY_CLASSES_ROOT, "Wow6432Node"), 0);
    EXPECT_EQ(subkeys(again, HKEY_CLASSES_ROOT, "AppId"), QStringList({"{1}"}));
    EXPECT_EQ(blockOf(readBytes(dir + "/system.reg"), appIdLink), "<none>");
}

TEST(WineLinks, LoopsAndLinksToNothingAreMissingKeys) {
    const QByteArray classes = "\\Registry\\Machine\\Software\\Classes\\";
    QByteArray system = Head + keyBlock("Software\\\\Classes\\\\Loops\\\\Real", "@=\"real\"\n");
    const struct {
        QByteArray name;
        QString target;
    } links[] = {
        {"A", classes + "Loops\\B"},
        {"B", classes + "Loops\\A"},
        {"Self", classes + "Loops\\Self"},
        {"Up", classes + "Loops"},
        {"Top", "\\Registry\\Machine"},
        {"Missing", classes + "Nowhere"},
        {"Outside", "\\Elsewhere\\Machine\\Software"},
        {"Short", "\\Registry"},
        {"Stranger", "\\Registry\\User\\S-1-5-21-9-9-9-9\\Software"},
    };
    for (const auto& l : links)
        system += linkBlock("Software\\\\Classes\\\\Loops\\\\" + l.name, l.target);
    const QString dir = makePrefix("links-loops", system);
    WineRegistry r(dir);
    for (const auto& l : links)
        EXPECT_EQ(openStatus(r, HKEY_CLASSES_ROOT, "Loops\\" + l.name), status::FileNotFound)
            << l.name.toStdString();
    // A walk of the tree sees none of them and ends.
    EXPECT_EQ(subkeys(r, HKEY_CLASSES_ROOT, "Loops"), QStringList({"Real"}));
    const RegExport out = exportRegFile(r, "HKEY_LOCAL_MACHINE", RegFormat::Regedit4);
    ASSERT_EQ(out.status, 0) << out.error.toStdString();
    EXPECT_TRUE(out.bytes.contains("[HKEY_LOCAL_MACHINE\\Software\\Classes\\Loops\\Real]"));
    EXPECT_FALSE(out.bytes.contains("\\Loops\\Missing"));
    // Nothing is made over a link that leads nowhere, and nothing was written.
    HKey k = 0;
    EXPECT_EQ(r.createKey(HKEY_CLASSES_ROOT, "Loops\\Missing\\New", &k), status::FileNotFound);
    EXPECT_EQ(setText(r, HKEY_CLASSES_ROOT, "Loops\\A", "", "x"), status::FileNotFound);
    EXPECT_EQ(readBytes(dir + "/system.reg"), system);
}

TEST(WineLinks, ALinkLeadsThroughSixteenMoreAndNoFurther) {
    // Chain0 -> Chain1 -> ... -> ChainN -> Target.
    auto chain = [](int links) {
        QByteArray system = Head + keyBlock("Software\\\\Target", "@=\"end\"\n");
        for (int i = 0; i < links; ++i)
            system += linkBlock(
                "Software\\\\Chain" + QByteArray::number(i),
                i + 1 < links ? QStringLiteral("\\Registry\\Machine\\Software\\Chain%1").arg(i + 1)
                              : QStringLiteral("\\Registry\\Machine\\Software\\Target"));
        return system;
    };
    WineRegistry longest(makePrefix("links-17", chain(17)));
    EXPECT_EQ(values(longest, HKEY_LOCAL_MACHINE, "Software\\Chain0"), QStringList({"=end"}));
    WineRegistry tooLong(makePrefix("links-18", chain(18)));
    EXPECT_EQ(openStatus(tooLong, HKEY_LOCAL_MACHINE, "Software\\Chain0"), status::FileNotFound);
    EXPECT_EQ(values(tooLong, HKEY_LOCAL_MACHINE, "Software\\Chain1"), QStringList({"=end"}));
}

TEST(WineLinks, UserLinksLeadIntoTheUsersFile) {
    const QString dir = makePrefix("links-user", Head);
    ASSERT_TRUE(writeBytes(dir + "/user.reg",
                           "WINE REGISTRY Version 2\n;; All keys relative to "
                           "REGISTRY\\\\User\\\\S-1-5-21-7-7-7-1001\n\n#arch=win64\n" +
                               keyBlock("Software\\\\Real", "\"V\"=\"user\"\n") +
                               linkBlock("Software\\\\Alias",
                                         "\\Registry\\User\\S-1-5-21-7-7-7-1001\\Software\\Real")));
    ASSERT_TRUE(writeBytes(
        dir + "/userdef.reg",
        "WINE REGISTRY Version 2\n;; All keys relative to "
        "REGISTRY\\\\User\\\\.Default\n\n#arch=win64\n" +
            keyBlock("Software\\\\Def", "\"V\"=\"default\"\n") +
            linkBlock("Software\\\\Alias", "\\Registry\\User\\.Default\\Software\\Def")));
    WineRegistry r(dir);
    EXPECT_EQ(values(r, HKEY_CURRENT_USER, "Software\\Alias"), QStringList({"V=user"}));
    EXPECT_EQ(values(r, HKEY_USERS, ".Default\\Software\\Alias"), QStringList({"V=default"}));
}
