// The .reg reader's rules for hand-written and foreign files, one group of cases per rule.

#include "registry/reg_file.h"

#include <QMap>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace orvanex::reg;

namespace {

struct Read {
    QMap<QString, RegFileOp> set; // by value name
    QStringList deleted;
    QStringList keys;       // keys created after the first
    QList<int> voidedLines; // the line of each warning
};

// The body follows a header line and "[HKEY_CURRENT_USER\T]", so its first line is line 3.
Read readBody(const QByteArray& body, const char* header = "REGEDIT4") {
    const RegFileParse parse =
        parseRegFile(QByteArray(header) + "\r\n[HKEY_CURRENT_USER\\T]\r\n" + body);
    EXPECT_FALSE(parse.refused);
    Read read;
    for (const RegFileOp& op : parse.ops) {
        if (op.kind == RegFileOp::SetValue)
            read.set.insert(op.valueName, op);
        else if (op.kind == RegFileOp::DeleteValue)
            read.deleted << op.valueName;
        else if (op.line > 2)
            read.keys << op.key;
    }
    for (const QString& w : parse.warnings)
        read.voidedLines << w.section(u' ', 1, 1).chopped(1).toInt();
    return read;
}

QByteArray dataOf(const Read& read, const QString& name) {
    return read.set.contains(name) ? read.set[name].data : QByteArray("<void>");
}

} // namespace

TEST(RegImportRules, BlanksAndTabsAroundNamesEqualsSignsAndData) {
    const Read r = readBody("  \"A\"  =  \"x\"  \r\n"
                            "\t\"Dw\"=dword:\t  0000000b\t\r\n"
                            "@ =\tdword:1\r\n"
                            "\"H\" = hex:01 , 02 ,\t03  \r\n"
                            "\"Ff\"=\f\"x\"\r\n"
                            "\"Vt\"=dword:\v1\r\n");
    EXPECT_EQ(dataOf(r, "A"), "x");
    EXPECT_EQ(dataOf(r, "Dw"), QByteArray("\x0b\0\0\0", 4));
    EXPECT_EQ(r.set["Dw"].type, type::Dword);
    EXPECT_EQ(dataOf(r, ""), QByteArray("\1\0\0\0", 4));
    EXPECT_EQ(dataOf(r, "H"), "\x01\x02\x03");
    // Only blanks and tabs are white space.
    EXPECT_EQ(r.voidedLines, (QList<int>{7, 8}));
}

TEST(RegImportRules, ASemicolonCommentMayFollowAValueAndAHashVoidsIt) {
    const Read r = readBody("\"A\"=\"kept\";note\r\n"
                            "\"B\"=dword:1 ; note\r\n"
                            "\"C\"=hex:01,02 ;note\r\n"
                            "\"D\"=hex:01,\\ ;note\r\n"
                            "  02\r\n"
                            "\"Semi\"=\"a;b\"\r\n"
                            "\"E\"=\"x\" # no\r\n"
                            "\"F\"=dword:1#x\r\n"
                            "\"G\"=hex:01 #x\r\n"
                            "\"H\"=\"x\" junk\r\n"
                            "\"I\"=hex:01,\\ #x\r\n");
    EXPECT_EQ(dataOf(r, "A"), "kept");
    EXPECT_EQ(dataOf(r, "B"), QByteArray("\1\0\0\0", 4));
    EXPECT_EQ(dataOf(r, "C"), "\x01\x02");
    EXPECT_EQ(dataOf(r, "D"), "\x01\x02");
    EXPECT_EQ(dataOf(r, "Semi"), "a;b");
    for (const char* name : {"E", "F", "G", "H", "I"})
        EXPECT_EQ(dataOf(r, name), "<void>") << name;
    EXPECT_EQ(r.voidedLines, (QList<int>{9, 10, 11, 12, 13}));
}

TEST(RegImportRules, HexContinuationSkipsBlankAndCommentLinesAndNeedsACommaBeforeTheBackslash) {
    const Read r = readBody("\"A\"=hex:01,\\\r\n"
                            "\r\n"
                            "  ; a comment inside\r\n"
                            "  02,03\r\n"
                            "\"Long name\"=hex:\\\r\n"
                            "  0a,0b\r\n"
                            "\"NoComma\"=hex:01,02\\\r\n"
                            "  03\r\n"
                            "\"Split\"=hex:01,0\\\r\n"
                            "2,03\r\n"
                            "\"Three\"=hex:01,023\r\n"
                            "\"Empty\"=hex:01,,02\r\n"
                            "\"Cut\"=hex:01,\\\r\n"
                            "  0x\r\n"
                            "\"u\"=\"1\"\r\n");
    EXPECT_EQ(dataOf(r, "A"), "\x01\x02\x03");
    EXPECT_EQ(dataOf(r, "Long name"), "\x0a\x0b");
    for (const char* name : {"NoComma", "Split", "Three", "Empty", "Cut"})
        EXPECT_EQ(dataOf(r, name), "<void>") << name;
    // A voided value does not continue: its next line is read on its own (and is not valid).
    // The line that a continuation voids is part of its value, not another skipped line.
    EXPECT_EQ(r.voidedLines, (QList<int>{9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(dataOf(r, "u"), "1");
}

TEST(RegImportRules, AContinuationThatReachesTheEndOfTheFileKeepsWhatItRead) {
    for (const QByteArray& tail :
         {QByteArray(), QByteArray("\r\n"), QByteArray("\r\n\r\n; end"), QByteArray("\r\n  ")}) {
        const Read r = readBody("\"Z\"=hex:01,02,\\" + tail);
        EXPECT_EQ(dataOf(r, "Z"), "\x01\x02") << tail.toStdString();
        EXPECT_TRUE(r.voidedLines.isEmpty());
    }
}

TEST(RegImportRules, AStringValueEndsOnItsOwnLine) {
    const Read r = readBody("\"S\"=\"abc\\\r\n"
                            "\"T\"=\"t\"\r\n"
                            "\"U\"=\"open\r\n"
                            "\"Esc\"=\"a\\\"b\\\\\"\r\n");
    EXPECT_EQ(dataOf(r, "S"), "<void>");
    EXPECT_EQ(dataOf(r, "T"), "t");
    EXPECT_EQ(dataOf(r, "U"), "<void>");
    EXPECT_EQ(dataOf(r, "Esc"), "a\"b\\");
    EXPECT_EQ(r.voidedLines, (QList<int>{3, 5}));
}

TEST(RegImportRules, ADwordTakesOneToEightHexDigitsAndNothingElse) {
    const Read r = readBody("\"one\"=dword:0\r\n"
                            "\"eight\"=dword:FfFfFfFe\r\n"
                            "\"nine\"=dword:123456789\r\n"
                            "\"none\"=dword:\r\n"
                            "\"prefix\"=dword:0x1\r\n"
                            "\"sign\"=dword:-1\r\n"
                            "\"plus\"=dword:+1\r\n"
                            "\"two\"=dword:1 2\r\n"
                            "\"Upper\"=DWORD:10\r\n");
    EXPECT_EQ(dataOf(r, "one"), QByteArray(4, '\0'));
    EXPECT_EQ(dataOf(r, "eight"), "\xfe\xff\xff\xff");
    EXPECT_EQ(dataOf(r, "Upper"), QByteArray("\x10\0\0\0", 4));
    EXPECT_EQ(r.voidedLines, (QList<int>{5, 6, 7, 8, 9, 10}));
}

TEST(RegImportRules, HexTypeNumbersAreHexDigitsOnly) {
    const Read r = readBody("\"a\"=hex(a):01\r\n"
                            "\"max\"=hex(ffffffff):01\r\n"
                            "\"b\"=HEX(B):01\r\n"
                            "\"prefix\"=hex(0x2):01\r\n"
                            "\"plus\"=hex(+2):01\r\n"
                            "\"blank\"=hex( 2):01\r\n"
                            "\"empty\"=hex():01\r\n"
                            "\"long\"=hex(100000000):01\r\n"
                            "\"nocolon\"=hex(2)01\r\n");
    EXPECT_EQ(r.set["a"].type, 10u);
    EXPECT_EQ(r.set["max"].type, 0xffffffffu);
    EXPECT_EQ(r.set["b"].type, type::Qword);
    EXPECT_EQ(r.set.size(), 3);
    EXPECT_EQ(r.voidedLines, (QList<int>{6, 7, 8, 9, 10, 11}));
}

TEST(RegImportRules, ExpandAndMultiStringsEndInANulAndAreWindows1252InRegedit4) {
    const Read r = readBody("\"exp\"=hex(2):25,61,25\r\n"
                            "\"ended\"=hex(2):25,00\r\n"
                            "\"multi\"=hex(7):61,00,62\r\n"
                            "\"blank\"=hex(7):\r\n"
                            "\"euro\"=hex(2):80,00\r\n"
                            "\"acute\"=hex(7):e9,00,00\r\n"
                            "\"utf8\"=hex(2):c3,a9,00\r\n"
                            "\"sz\"=hex(1):e9\r\n"
                            "\"bin\"=hex:41\r\n");
    EXPECT_EQ(dataOf(r, "exp"), QByteArray("%a%\0", 4));
    EXPECT_EQ(dataOf(r, "ended"), QByteArray("%\0", 2));
    EXPECT_EQ(dataOf(r, "multi"), QByteArray("a\0b\0", 4));
    EXPECT_EQ(dataOf(r, "blank"), QByteArray());
    EXPECT_EQ(r.set["blank"].type, type::MultiSz);
    EXPECT_EQ(dataOf(r, "euro"), QByteArray("\xe2\x82\xac\0", 4));
    EXPECT_EQ(dataOf(r, "acute"), QByteArray("\xc3\xa9\0\0", 4));
    // UTF-8 is how this project's own files keep text the code page cannot hold.
    EXPECT_EQ(dataOf(r, "utf8"), QByteArray("\xc3\xa9\0", 3));
    // Other types keep their bytes.
    EXPECT_EQ(dataOf(r, "sz"), "\xe9");
    EXPECT_EQ(dataOf(r, "bin"), "A");
    EXPECT_TRUE(r.voidedLines.isEmpty());
}

TEST(RegImportRules, Version5StringDataAreUtf16AndEndInANul) {
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QByteArray file =
        QByteArray("\xff\xfe") +
        QByteArray(utf16(QStringLiteral("Windows Registry Editor Version 5.00\r\n"
                                        "[HKEY_CURRENT_USER\\T]\r\n"
                                        "\"open\"=hex(2):41,00,ac,20\r\n"
                                        "\"closed\"=hex(2):41,00,00,00\r\n"
                                        "\"multi\"=hex(7):41,00,00,00,42,00\r\n")));
    const RegFileParse parse = parseRegFile(file);
    ASSERT_EQ(parse.ops.size(), 4u);
    EXPECT_TRUE(parse.warnings.isEmpty()) << parse.warnings.join('\n').toStdString();
    EXPECT_EQ(parse.ops[1].data, QByteArray("A\xe2\x82\xac\0", 5));
    EXPECT_EQ(parse.ops[2].data, QByteArray("A\0", 2));
    EXPECT_EQ(parse.ops[3].data, QByteArray("A\0B\0", 4));
}

TEST(RegImportRules, ADeletionMayCarryBlanksAndACommentAndNothingElse) {
    const Read r = readBody("\"A\"=-\r\n"
                            "\"B\" = -\t\r\n"
                            "\"C\"=- ;gone\r\n"
                            "@=-\r\n"
                            "\"D\"=-x\r\n"
                            "\"E\"=-#\r\n"
                            "\"F\"=--\r\n"
                            "\"G\"=- 1\r\n");
    EXPECT_EQ(r.deleted, (QStringList{"A", "B", "C", ""}));
    EXPECT_TRUE(r.set.isEmpty());
    EXPECT_EQ(r.voidedLines, (QList<int>{7, 8, 9, 10}));
}

TEST(RegImportRules, TheLineAfterAHexBackslashIsHexDataWhateverItLooksLike) {
    const Read r = readBody("\"A\"=hex:01,\\\r\n"
                            "\"B\"=\"x\"\r\n"
                            "\"C\"=\"kept\"\r\n"
                            "\"D\"=hex:01,\\\r\n"
                            "[HKEY_CURRENT_USER\\U]\r\n"
                            "\"E\"=\"still in T\"\r\n"
                            "\"F\"=hex:01,\\\r\n"
                            "  ; a comment is passed over\r\n"
                            "@=\"y\"\r\n"
                            "\"G\"=hex:0a,\\\r\n"
                            "  0b,\\\r\n"
                            "  0c\r\n");
    // The value is voided and the line it swallowed makes neither a value nor a key.
    for (const char* name : {"A", "B", "D", "F", ""})
        EXPECT_EQ(dataOf(r, name), "<void>") << name;
    EXPECT_TRUE(r.keys.isEmpty());
    EXPECT_EQ(dataOf(r, "C"), "kept");
    EXPECT_EQ(dataOf(r, "E"), "still in T");
    EXPECT_EQ(r.set["E"].key, "HKEY_CURRENT_USER\\T");
    EXPECT_EQ(dataOf(r, "G"), "\x0a\x0b\x0c");
    EXPECT_EQ(r.voidedLines, (QList<int>{3, 6, 9}));
    // The warning names the swallowed line, where the fault shows.
    const RegFileParse parse =
        parseRegFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n\"A\"=hex:01,\\\r\n\"B\"=\"x\"\r\n");
    ASSERT_EQ(parse.warnings.size(), 1);
    EXPECT_TRUE(parse.warnings[0].startsWith("line 3: line 4, "))
        << parse.warnings[0].toStdString();
}

TEST(RegImportRules, StringHexDataWithNoBytesIsAnEmptyValueInBothFormats) {
    const Read r4 = readBody("\"m\"=hex(7):\r\n"
                             "\"e\"=hex(2):  ; nothing\r\n"
                             "\"nul\"=hex(7):00\r\n");
    EXPECT_EQ(dataOf(r4, "m"), QByteArray());
    EXPECT_EQ(r4.set["m"].type, type::MultiSz);
    EXPECT_EQ(dataOf(r4, "e"), QByteArray());
    EXPECT_EQ(r4.set["e"].type, type::ExpandSz);
    EXPECT_EQ(dataOf(r4, "nul"), QByteArray("\0", 1));
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const RegFileParse v5 =
        parseRegFile(QByteArray("\xff\xfe") +
                     QByteArray(utf16(QStringLiteral("Windows Registry Editor Version 5.00\r\n"
                                                     "[HKEY_CURRENT_USER\\T]\r\n"
                                                     "\"m\"=hex(7):\r\n"))));
    ASSERT_EQ(v5.ops.size(), 2u);
    EXPECT_EQ(v5.ops[1].data, QByteArray());
}

TEST(RegImportRules, ABackslashInQuotesEscapesOnlyABackslashOrAQuote) {
    const Read r = readBody("\"nul\"=\"a\\0b\"\r\n"
                            "\"tab\"=\"a\\tb\"\r\n"
                            "\"path\"=\"C:\\Windows\"\r\n"
                            "\"na\\me\"=\"1\"\r\n"
                            "\"ok\"=\"a\\\\b\\\"c\"\r\n"
                            "\"ok\\\\name\"=\"2\"\r\n");
    for (const char* name : {"nul", "tab", "path", "na\\me"})
        EXPECT_EQ(dataOf(r, name), "<void>") << name;
    EXPECT_EQ(dataOf(r, "ok"), "a\\b\"c");
    EXPECT_EQ(dataOf(r, "ok\\name"), "2");
    EXPECT_EQ(r.voidedLines, (QList<int>{3, 4, 5, 6}));
    const RegFileParse parse =
        parseRegFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n\"v\"=\"a\\0b\"\r\n");
    ASSERT_EQ(parse.warnings.size(), 1);
    EXPECT_TRUE(parse.warnings[0].contains("backslash")) << parse.warnings[0].toStdString();
}

TEST(RegImportRules, AWindows31FileSetsDefaultValuesOfClassesRootKeys) {
    const RegFileParse parse = parseRegFile("REGEDIT\r\n"
                                            "HKEY_CLASSES_ROOT\\.txt = txtfile\r\n"
                                            "HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command = "
                                            "notepad.exe %1 = x  \r\n"
                                            "\r\n"
                                            "HKEY_CLASSES_ROOT\\Bare key\r\n"
                                            "hkey_classes_root\\.low=low\r\n"
                                            "HKEY_CLASSES_ROOT\\.empty =\r\n"
                                            "HKEY_CLASSES_ROOT\\caf\xe9 = \xe9t\xe9\r\n"
                                            "HKEY_CURRENT_USER\\x = 1\r\n"
                                            "HKCR\\.short = no\r\n"
                                            "[HKEY_CLASSES_ROOT\\.reg4]\r\n"
                                            "\"A\"=\"x\"\r\n"
                                            "HKEY_CLASSES_ROOT\\\\double = no\r\n");
    EXPECT_FALSE(parse.refused);
    EXPECT_TRUE(parse.windows31);
    QStringList made;
    QMap<QString, QString> defaults;
    for (const RegFileOp& op : parse.ops) {
        if (op.kind == RegFileOp::CreateKey)
            made << op.key;
        if (op.kind == RegFileOp::SetValue) {
            EXPECT_EQ(op.type, type::Sz);
            EXPECT_TRUE(op.valueName.isEmpty());
            defaults.insert(op.key, QString::fromUtf8(op.data));
        }
    }
    EXPECT_EQ(
        made,
        (QStringList{"HKEY_CLASSES_ROOT\\.txt", "HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command",
                     "HKEY_CLASSES_ROOT\\Bare key", "hkey_classes_root\\.low",
                     "HKEY_CLASSES_ROOT\\.empty", QString::fromUtf8("HKEY_CLASSES_ROOT\\café")}));
    EXPECT_EQ(defaults.value("HKEY_CLASSES_ROOT\\.txt"), "txtfile");
    EXPECT_EQ(defaults.value("HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command"),
              "notepad.exe %1 = x");
    EXPECT_EQ(defaults.value("hkey_classes_root\\.low"), "low");
    EXPECT_TRUE(defaults.contains("HKEY_CLASSES_ROOT\\.empty"));
    EXPECT_EQ(defaults.value("HKEY_CLASSES_ROOT\\.empty"), "");
    EXPECT_FALSE(defaults.contains("HKEY_CLASSES_ROOT\\Bare key"));
    EXPECT_EQ(defaults.value(QString::fromUtf8("HKEY_CLASSES_ROOT\\café")),
              QString::fromUtf8("été"));
    QList<int> skipped;
    for (const QString& w : parse.warnings)
        skipped << w.section(u' ', 1, 1).chopped(1).toInt();
    EXPECT_EQ(skipped, (QList<int>{9, 10, 11, 12, 13}));
    // The header is the whole first line.
    EXPECT_TRUE(parseRegFile("REGEDIT3\r\nHKEY_CLASSES_ROOT\\.x = y\r\n").refused);
}
