// Wine's registry text format: reading every form, writing it back exactly as Wine does, and
// refusing damaged files.

#include "registry/registry.h"
#include "registry/wine_reg_text.h"
#include "wine_fixture.h"

#include <gtest/gtest.h>

using namespace orvanex::reg;
using namespace orvanex::reg::wine;
using orvanex::test::WineSystemReg;

namespace {

const ValueText* findValue(const FileText& f, const QString& key, const QString& name) {
    for (const KeyText& k : f.keys)
        if (k.path == key)
            for (const ValueText& v : k.values)
                if (v.name == name)
                    return &v;
    return nullptr;
}

} // namespace

TEST(WineFormat, ReadsEveryValueForm) {
    FileText f;
    QString why;
    ASSERT_TRUE(parseFile(WineSystemReg, &f, &why)) << why.toStdString();
    ASSERT_EQ(f.keys.size(), 6u);
    EXPECT_EQ(f.header, "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
                        "#arch=win64\n");
    EXPECT_EQ(f.keys[1].path, QString::fromUtf8("Software\\Classes\\Café\\Naïve"));
    EXPECT_EQ(f.keys[5].meta, QList<QByteArray>{"#link"});
    EXPECT_TRUE(f.keys[4].values.empty());

    const QString naive = QString::fromUtf8("Software\\Classes\\Café\\Naïve");
    const ValueText* v = findValue(f, naive, QString::fromUtf8("Résumé"));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, type::Sz);
    EXPECT_EQ(v->data, QString::fromUtf8("€5 and €, éaé").toUtf8());
    v = findValue(f, naive, "Esc");
    ASSERT_TRUE(v);
    static const char esc[] = "tab\there\nnew \"q\" back\\slash nul\0end bell\a \1x \0017";
    EXPECT_EQ(v->data, QByteArray(esc, sizeof esc - 1));

    const QString txt = "Software\\Classes\\txtfile";
    EXPECT_EQ(findValue(f, txt, "EditFlags")->data, QByteArray("\x00\x00\x01\x00", 4));
    EXPECT_EQ(findValue(f, txt, "Expand")->type, type::ExpandSz);
    EXPECT_EQ(findValue(f, txt, "Expand")->data, "%SystemRoot%\\system32\\notepad.exe");
    EXPECT_EQ(findValue(f, txt, "Multi")->type, type::MultiSz);
    EXPECT_EQ(findValue(f, txt, "Multi")->data, QByteArray("one\0two\0", 8));
    const ValueText* bin = findValue(f, txt, "Bin");
    ASSERT_TRUE(bin);
    ASSERT_EQ(bin->data.size(), 0x33);
    EXPECT_EQ(bin->data[0x32], '\x32');
    EXPECT_TRUE(bin->raw.endsWith("2f,\\\n  30,31,32\n"));
    EXPECT_EQ(findValue(f, txt, "Big")->type, 0x80000001u);
    EXPECT_EQ(findValue(f, txt, "Empty")->data, QByteArray());
    EXPECT_EQ(findValue(f, txt, "Q")->type, type::Qword);
    // A string that Wine could not write as text: its UTF-16 read as far as it goes.
    EXPECT_EQ(findValue(f, txt, "Odd")->data, "A");
}

TEST(WineFormat, WritesEveryValueAsWineDoes) {
    // Each value formatted from the store's form gives back the line Wine wrote, except the one
    // Wine had to write in hex.
    FileText f;
    QString why;
    ASSERT_TRUE(parseFile(WineSystemReg, &f, &why));
    int compared = 0;
    for (const KeyText& k : f.keys)
        for (const ValueText& v : k.values) {
            if (v.name == "Odd")
                continue;
            EXPECT_EQ(formatValue(v.name, v.type, v.data), v.raw) << v.raw.toStdString();
            ++compared;
        }
    EXPECT_EQ(compared, 14);
    EXPECT_EQ(pathText(QString::fromUtf8("Software\\Classes\\Café\\Naïve")),
              "Software\\\\Classes\\\\Caf\\xe9\\\\Na\\xefve");
    EXPECT_EQ(pathText(u"A[1]\\B"), "A\\[1\\]\\\\B");
}

TEST(WineFormat, HexEscapesArePaddedBeforeHexDigits) {
    EXPECT_EQ(escapeText(u"\u00e95", '"', '"'), "\\x00e95");
    EXPECT_EQ(escapeText(u"\u00e9z", '"', '"'), "\\xe9z");
    EXPECT_EQ(escapeText(u"\u20acF", '"', '"'), "\\x20acF");
    EXPECT_EQ(escapeText(u"\u00e9", '"', '"'), "\\xe9");
    EXPECT_EQ(escapeText(QStringView(u"\x01"
                                     "7"),
                         '"', '"'),
              "\\0017");
    EXPECT_EQ(escapeText(QStringView(u"\x01"
                                     "8"),
                         '"', '"'),
              "\\18");
    EXPECT_EQ(escapeText(u"a\"b\\c[d]", '"', '"'), "a\\\"b\\\\c[d]");
    EXPECT_EQ(escapeText(u"[d]", '[', ']'), "\\[d\\]");
    // Read back greedily: four digits at most.
    FileText f;
    QString why;
    ASSERT_TRUE(
        parseFile("WINE REGISTRY Version 2\n\n[K] 1\n\"v\"=\"\\x00e95\\xe9z\\x41424\"\n", &f, &why))
        << why.toStdString();
    EXPECT_EQ(QString::fromUtf8(f.keys[0].values[0].data), QString::fromUtf8("é5éz\u41424"));
}

TEST(WineFormat, LongHexWrapsAt76Columns) {
    const QByteArray bytes(100, '\xab');
    const QByteArray text = formatValue("N", type::Binary, bytes);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_GE(lines.size(), 3);
    // "N"=hex: is 8 characters: 23 bytes fit before the first continuation mark.
    EXPECT_EQ(lines[0].size(), 8 + 23 * 3 + 1);
    EXPECT_EQ(lines[1], "  " + QByteArray("ab,").repeated(25) + '\\');
    FileText f;
    QString why;
    ASSERT_TRUE(parseFile("WINE REGISTRY Version 2\n\n[K] 1\n" + text, &f, &why));
    EXPECT_EQ(f.keys[0].values[0].data, bytes);
    EXPECT_EQ(formatValue("", type::Dword, QByteArray("\x01\x02\x03\x04", 4)),
              "@=dword:04030201\n");
    EXPECT_EQ(formatValue("", type::Dword, QByteArray("\x01\x02", 2)), "@=hex(4):01,02\n");
}

TEST(WineFormat, KeepsEveryByteOfEachBlock) {
    FileText f;
    QString why;
    const QByteArray odd = "WINE REGISTRY Version 2\r\n;; comment\n\n\n[A] 5\n#time=1\n"
                           ";; a note\n\"x\"=\"1\"\n\n\n[A\\\\B]\n#class=\"c\"\n@=\"\"\n";
    ASSERT_TRUE(parseFile(odd, &f, &why)) << why.toStdString();
    QByteArray joined = f.header;
    for (const KeyText& k : f.keys)
        joined += k.raw;
    EXPECT_EQ(joined, odd);
    EXPECT_EQ(f.keys[0].raw, "\n\n[A] 5\n#time=1\n;; a note\n\"x\"=\"1\"\n");
    EXPECT_EQ(f.keys[1].meta, QList<QByteArray>{"#class=\"c\""});

    // A file without keys is all header, blank lines at its end included.
    for (const QByteArray& keyless : {QByteArray("WINE REGISTRY Version 2\n\n"),
                                      QByteArray("WINE REGISTRY Version 2\n;; all keys\n\n\n")}) {
        FileText none;
        ASSERT_TRUE(parseFile(keyless, &none, &why)) << why.toStdString();
        EXPECT_TRUE(none.keys.empty());
        EXPECT_EQ(none.header, keyless);
    }
}

TEST(WineFormat, RefusesDamagedFiles) {
    const QByteArray good = "WINE REGISTRY Version 2\n\n[K] 1\n\"v\"=hex:01,\\\n  02\n";
    FileText f;
    QString why;
    ASSERT_TRUE(parseFile(good, &f, &why));
    struct Case {
        QByteArray text;
        const char* says;
    } cases[] = {
        {"", "empty"},
        {good.left(good.size() - 1), "middle of a line"},
        {"WINE REGISTRY Version 1\n", "line 1"},
        {"WINE REGISTRY Version 2\n\"v\"=\"x\"\n", "before the first key"},
        {"WINE REGISTRY Version 2\n[K\n", "closing bracket"},
        {"WINE REGISTRY Version 2\n[A\\\\\\\\B] 1\n", "empty key name"},
        {"WINE REGISTRY Version 2\n[K] 1\nv=1\n", "line 3"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=\"open\n", "closing quote"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=dword:\n", "dword"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=dword:123456789\n", "dword"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=hex(123456789):00\n", "type"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=hex:0g\n", "','"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=hex:01,\\\n", "continuation"},
        {"WINE REGISTRY Version 2\n[K] 1\n\"v\"=blob:01\n", "unknown form"},
    };
    for (const Case& c : cases) {
        why.clear();
        EXPECT_FALSE(parseFile(c.text, &f, &why)) << c.text.toStdString();
        EXPECT_TRUE(why.contains(QLatin1String(c.says))) << why.toStdString();
        EXPECT_TRUE(f.keys.empty());
    }
}
