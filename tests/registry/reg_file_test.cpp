// .reg export and import: the exact REGEDIT4 and version 5 texts, every value form, malformed
// and foreign files, and the export-import-export round trip.

#include "registry/reg_file.h"
#include "store_calls.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

HKey create(Registry& r, HKey root, const QString& path) {
    HKey k = 0;
    EXPECT_EQ(r.createKey(root, path, &k), 0);
    return k;
}

void set(Registry& r, HKey k, const QString& name, std::uint32_t t, const QByteArray& data) {
    ASSERT_EQ(r.setValueEx(k, name, t, data.constData(), std::uint32_t(data.size())), 0);
}

// A tree with every value type, escapes, non-ASCII text and nested keys.
void fill(Registry& r) {
    HKey k = create(r, HKEY_CLASSES_ROOT, ".txt");
    set(r, k, "", type::Sz, "txtfile");
    set(r, k, "Content Type", type::Sz, "text/plain");
    set(r, k, "Flags", type::Dword, QByteArray("\x1f\0\0\0", 4));
    set(r, k, "Bin", type::Binary, QByteArray("\x00\xff", 2));
    set(r, k, "Exp", type::ExpandSz, QByteArray("%a%\0", 4));
    set(r, k, "Multi", type::MultiSz, QByteArray("a\0\0", 3));
    set(r, k, "Q", type::Qword, QByteArray("\1\0\0\0\0\0\0\0", 8));
    set(r, k, "Euro", type::Sz, QString::fromUtf8("€ é").toUtf8());
    set(r, k, "Snow", type::Sz, QString::fromUtf8("☃").toUtf8());
    set(r, k, "Nul", type::Sz, QByteArray("ab\0", 3));
    set(r, k, "Odd", 0x20000, "z");
    HKey a = create(r, HKEY_CLASSES_ROOT, ".txt\\a");
    set(r, a, "Path", type::Sz, "C:\\Win \"x\"");
    HKey n = create(r, HKEY_CLASSES_ROOT, ".txt\\ShellNew");
    set(r, n, "NullFile", type::Sz, "");
    HKey u = create(r, HKEY_CLASSES_ROOT, QString::fromUtf8(".txt\\Ключ"));
    set(r, u, QString::fromUtf8("名前"), type::Sz, QString::fromUtf8("данные").toUtf8());
}

} // namespace

TEST(RegExport, WritesRegedit4ExactlyAsTheRegistryEditor) {
    auto r = Registry::inMemory();
    fill(*r);
    const RegExport e = exportRegFile(*r, "HKEY_CLASSES_ROOT\\.txt", RegFormat::Regedit4);
    ASSERT_EQ(e.status, 0) << e.error.toStdString();
    const QByteArray expected =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\.txt]\r\n"
        "@=\"txtfile\"\r\n"
        "\"Content Type\"=\"text/plain\"\r\n"
        "\"Flags\"=dword:0000001f\r\n"
        "\"Bin\"=hex:00,ff\r\n"
        "\"Exp\"=hex(2):25,61,25,00\r\n"
        "\"Multi\"=hex(7):61,00,00\r\n"
        "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        "\"Euro\"=\"\x80 \xe9\"\r\n"
        "\"Snow\"=hex(1):e2,98,83\r\n"
        "\"Nul\"=\"ab\"\r\n"
        "\"Odd\"=hex(20000):7a\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\.txt\\a]\r\n"
        "\"Path\"=\"C:\\\\Win \\\"x\\\"\"\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\.txt\\ShellNew]\r\n"
        "\"NullFile\"=\"\"\r\n"
        "\r\n" +
        QString::fromUtf8("[HKEY_CLASSES_ROOT\\.txt\\Ключ]\r\n"
                          "\"名前\"=hex(1):d0,b4,d0,b0,d0,bd,d0,bd,d1,8b,d0,b5\r\n"
                          "\r\n")
            .toUtf8();
    EXPECT_EQ(e.bytes, expected) << e.bytes.constData();
}

TEST(RegExport, WrapsLongHexDataNearEightyColumns) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_CURRENT_USER, "W");
    set(*r, k, "ShellState", type::Binary, QByteArray(36, '\x24'));
    set(*r, k, "", type::Binary, QByteArray(60, '\x01'));
    const RegExport e = exportRegFile(*r, "HKCU\\W", RegFormat::Regedit4);
    const QList<QByteArray> lines = e.bytes.split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[2], "[HKEY_CURRENT_USER\\W]\r");
    EXPECT_EQ(lines[3], "\"ShellState\"=hex:" + QByteArray("24,").repeated(20) + "\\\r");
    EXPECT_EQ(lines[4], "  " + QByteArray("24,").repeated(15) + "24\r");
    EXPECT_EQ(lines[5], "@=hex:" + QByteArray("01,").repeated(24) + "\\\r");
    EXPECT_EQ(lines[6], "  " + QByteArray("01,").repeated(25) + "\\\r");
    EXPECT_EQ(lines[7], "  " + QByteArray("01,").repeated(10) + "01\r");
    for (const QByteArray& l : lines)
        EXPECT_LE(l.size(), 81);
}

TEST(RegExport, WritesVersion5AsUtf16WithByteOrderMark) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_CURRENT_USER, QString::fromUtf8("Ünï"));
    set(*r, k, "s", type::Sz, QString::fromUtf8("☃ snow").toUtf8());
    set(*r, k, "e", type::ExpandSz, QByteArray("%x%\0", 4));
    const RegExport e = exportRegFile(*r, "HKEY_CURRENT_USER", RegFormat::Regedit5);
    ASSERT_EQ(e.status, 0);
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QByteArray expected =
        QByteArray("\xff\xfe") +
        QByteArray(utf16(QString::fromUtf8("Windows Registry Editor Version 5.00\r\n\r\n"
                                           "[HKEY_CURRENT_USER]\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\Ünï]\r\n"
                                           "\"s\"=\"☃ snow\"\r\n"
                                           "\"e\"=hex(2):25,00,78,00,25,00,00,00\r\n\r\n")));
    EXPECT_EQ(e.bytes, expected);
}

TEST(RegExport, Version5RefusesTextThatIsNotUtf8AndRegedit4KeepsItsBytes) {
    for (std::uint32_t t : {type::Sz, type::ExpandSz, type::MultiSz}) {
        auto r = Registry::inMemory();
        HKey k = create(*r, HKEY_CURRENT_USER, "Raw");
        set(*r, k, "v", t,
            QByteArray("a\x80"
                       "b",
                       3));
        const RegExport v5 = exportRegFile(*r, "HKEY_CURRENT_USER", RegFormat::Regedit5);
        EXPECT_EQ(v5.status, status::InvalidParameter) << t;
        EXPECT_TRUE(v5.error.contains("\"v\" of [HKEY_CURRENT_USER\\Raw]"))
            << v5.error.toStdString();
        const RegExport v4 = exportRegFile(*r, "HKEY_CURRENT_USER", RegFormat::Regedit4);
        ASSERT_EQ(v4.status, 0) << t;
        // (hex(2) and hex(7) read back as Windows-1252 text, as the registry editor reads them.)
        if (t != type::Sz)
            continue;
        auto again = Registry::inMemory();
        importRegFile(*again, v4.bytes);
        EXPECT_EQ(exportRegFile(*again, "HKEY_CURRENT_USER", RegFormat::Regedit4).bytes, v4.bytes);
    }
    // Valid UTF-8 text of every string type still goes out.
    auto ok = Registry::inMemory();
    set(*ok, create(*ok, HKEY_CURRENT_USER, "Fine"), "v", type::MultiSz, QByteArray("a\0b\0\0", 5));
    EXPECT_EQ(exportRegFile(*ok, "HKEY_CURRENT_USER", RegFormat::Regedit5).status, 0);
}

TEST(RegExport, NamesAMissingKeyOrAnUnknownRoot) {
    auto r = Registry::inMemory();
    EXPECT_EQ(exportRegFile(*r, "HKEY_CLASSES_ROOT\\.nope", RegFormat::Regedit4).status, 2);
    const RegExport bad = exportRegFile(*r, "HKEY_NOWHERE\\x", RegFormat::Regedit4);
    EXPECT_EQ(bad.status, status::InvalidParameter);
    EXPECT_TRUE(bad.error.contains("HKEY_NOWHERE"));
}

TEST(RegRoundTrip, ExportImportExportGivesTheSameBytes) {
    auto source = Registry::inMemory();
    fill(*source);
    HKey k = create(*source, HKEY_CLASSES_ROOT, QString::fromUtf8(".txt\\Ã©-looks-like-utf8"));
    set(*source, k, "", type::Sz, QString::fromUtf8("Ã©").toUtf8());
    set(*source, k, "long", type::Binary, QByteArray(300, '\x5a'));
    for (RegFormat format : {RegFormat::Regedit4, RegFormat::Regedit5}) {
        const RegExport first = exportRegFile(*source, "HKEY_CLASSES_ROOT\\.txt", format);
        ASSERT_EQ(first.status, 0);
        auto target = Registry::inMemory();
        const RegImport in = importRegFile(*target, first.bytes);
        EXPECT_TRUE(in.error.isEmpty()) << in.error.toStdString();
        EXPECT_TRUE(in.warnings.isEmpty()) << in.warnings.join('\n').toStdString();
        const RegExport second = exportRegFile(*target, "HKEY_CLASSES_ROOT\\.txt", format);
        EXPECT_EQ(first.bytes, second.bytes);
        // The stored bytes came back, not just the text.
        // (A string's terminating NUL is not part of its text: it goes out as Windows writes it.)
        EXPECT_EQ(valueData(*target, HKEY_CLASSES_ROOT, ".txt", "Nul"), "ab");
        EXPECT_EQ(valueData(*target, HKEY_CLASSES_ROOT, ".txt", "Exp"), QByteArray("%a%\0", 4));
        EXPECT_EQ(valueData(*target, HKEY_CLASSES_ROOT, QString::fromUtf8(".txt\\ключ"),
                            QString::fromUtf8("名前")),
                  QString::fromUtf8("данные").toUtf8());
        EXPECT_EQ(valueData(*target, HKEY_CLASSES_ROOT,
                            QString::fromUtf8(".txt\\Ã©-looks-like-utf8"), ""),
                  QString::fromUtf8("Ã©").toUtf8());
    }
}

TEST(RegImport, MergesEveryFormWithAnyLineEnd) {
    const QByteArray body = "REGEDIT4\n"
                            "\n"
                            "; a comment\n"
                            "[HKEY_CLASSES_ROOT\\.old]\n"
                            "[HKEY_CLASSES_ROOT\\.txt]\n"
                            "@=\"txtfile\"\n"
                            "\"Gone\"=-\n"
                            "\"Flags\"=dword:1F\n"
                            "  \"Bin\"=hex:01,02,\\\n"
                            "      03,04\n"
                            "\"Exp\"=hex(2):25,00\n"
                            "\"Q\" = hex(b):ff\n"
                            "\"Eur\"=\"\x80\"\n"
                            "\"Quote\"=\"a\\\\b\\\"c\"\n"
                            "[-HKEY_CLASSES_ROOT\\.old]\n"
                            "[-HKEY_CLASSES_ROOT\\.never-there]\n";
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        auto r = Registry::inMemory();
        HKey k = create(*r, HKEY_CLASSES_ROOT, ".txt");
        set(*r, k, "Gone", type::Sz, "x");
        QByteArray file = body;
        file.replace("\n", eol);
        const RegImport in = importRegFile(*r, file);
        EXPECT_TRUE(in.warnings.isEmpty()) << in.warnings.join('\n').toStdString();
        std::uint32_t t = 0;
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "", &t), "txtfile");
        EXPECT_EQ(t, type::Sz);
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Gone"), "<no value>");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Flags", &t),
                  QByteArray("\x1f\0\0\0", 4));
        EXPECT_EQ(t, type::Dword);
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Bin"), "\x01\x02\x03\x04");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Exp", &t), QByteArray("%\0", 2));
        EXPECT_EQ(t, type::ExpandSz);
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Q", &t), "\xff");
        EXPECT_EQ(t, type::Qword);
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Eur"), QString::fromUtf8("€").toUtf8());
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".txt", "Quote"), "a\\b\"c");
        EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, ".old", ""), "<no key>");
        EXPECT_EQ(in.keysDeleted, 1);
    }
}

TEST(RegImport, ReadsVersion5Utf16) {
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QByteArray file =
        QByteArray("\xff\xfe") +
        QByteArray(utf16(QString::fromUtf8("Windows Registry Editor Version 5.00\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\Ключ]\r\n"
                                           "\"名\"=\"☃\"\r\n"
                                           "\"e\"=hex(2):25,00,78,00,00,00\r\n"
                                           "\"odd\"=hex(2):25,00,78\r\n")));
    auto r = Registry::inMemory();
    const RegImport in = importRegFile(*r, file);
    ASSERT_EQ(in.warnings.size(), 1);
    EXPECT_TRUE(in.warnings[0].startsWith("line 6: ")) << in.warnings[0].toStdString();
    EXPECT_EQ(valueData(*r, HKEY_CURRENT_USER, QString::fromUtf8("ключ"), QString::fromUtf8("名")),
              QString::fromUtf8("☃").toUtf8());
    EXPECT_EQ(valueData(*r, HKEY_CURRENT_USER, QString::fromUtf8("ключ"), "e"),
              QByteArray("%x\0", 3));
}

TEST(RegImport, SkipsMalformedLinesWithTheirNumbers) {
    const QByteArray file = "REGEDIT4\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\A]\r\n"
                            "\"ok1\"=\"yes\"\r\n"
                            "\"unclosed=\"x\"\r\n"
                            "\"bad\"=dword:xyz\r\n"
                            "\"bad2\"=hex:1,2g\r\n"
                            "\"bad3\"=str:x\r\n"
                            "garbage here\r\n"
                            "[HKEY_NOWHERE\\B]\r\n"
                            "\"lost\"=\"x\"\r\n"
                            "[HKEY_CURRENT_USER\\C\r\n"
                            "[HKEY_CURRENT_USER\\A]\r\n"
                            "\"ok2\"=\"yes\"\r\n";
    auto r = Registry::inMemory();
    const RegImport in = importRegFile(*r, file);
    ASSERT_EQ(in.warnings.size(), 8) << in.warnings.join('\n').toStdString();
    const int lines[] = {5, 6, 7, 8, 9, 10, 11, 12};
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(in.warnings[i].startsWith(QStringLiteral("line %1: ").arg(lines[i])))
            << in.warnings[i].toStdString();
    EXPECT_EQ(valueData(*r, HKEY_CURRENT_USER, "A", "ok1"), "yes");
    EXPECT_EQ(valueData(*r, HKEY_CURRENT_USER, "A", "ok2"), "yes");
    EXPECT_EQ(in.valuesSet, 2);
}

TEST(RegImport, RefusesAFileThatIsNotARegistryFileWhole) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_CURRENT_USER, "Keep");
    for (const QByteArray& file :
         {QByteArray("[HKEY_CURRENT_USER\\Keep]\r\n\"x\"=-\r\n"), QByteArray(),
          QByteArray("REGEDIT5\r\n[-HKEY_CURRENT_USER\\Keep]\r\n"),
          QByteArray("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10)}) {
        const RegImport in = importRegFile(*r, file);
        EXPECT_TRUE(in.refused);
        EXPECT_TRUE(in.error.contains("not a registry file"));
    }
    QString name;
    EXPECT_EQ(r->enumKeyEx(HKEY_CURRENT_USER, 0, &name), 0);
    EXPECT_EQ(name, "Keep");
    r->closeKey(k);
}

TEST(RegExport, AStringEndsAtItsNulAndOneWithTextAfterTheNulKeepsItAsHex) {
    auto r = Registry::inMemory();
    HKey k = create(*r, HKEY_CURRENT_USER, "N");
    set(*r, k, "one", type::Sz, QByteArray("ab\0", 3));
    set(*r, k, "two", type::Sz, QByteArray("ab\0\0", 4));
    set(*r, k, "only", type::Sz, QByteArray("\0", 1));
    // Cutting this one would lose "b" when the file is merged back.
    set(*r, k, "inner", type::Sz, QByteArray("a\0b", 3));
    for (RegFormat format : {RegFormat::Regedit4, RegFormat::Regedit5}) {
        const RegExport e = exportRegFile(*r, "HKEY_CURRENT_USER\\N", format);
        ASSERT_EQ(e.status, 0);
        const RegFileParse parse = parseRegFile(e.bytes);
        ASSERT_EQ(parse.ops.size(), 5u);
        EXPECT_EQ(parse.ops[1].data, "ab");
        EXPECT_EQ(parse.ops[2].data, "ab");
        EXPECT_EQ(parse.ops[3].data, "");
        EXPECT_EQ(parse.ops[4].data, QByteArray("a\0b", 3));
        EXPECT_EQ(parse.ops[4].type, type::Sz);
    }
    const RegExport e = exportRegFile(*r, "HKEY_CURRENT_USER\\N", RegFormat::Regedit4);
    EXPECT_TRUE(e.bytes.contains("\"one\"=\"ab\"\r\n\"two\"=\"ab\"\r\n\"only\"=\"\"\r\n"
                                 "\"inner\"=hex(1):61,00,62\r\n"))
        << e.bytes.constData();
}

TEST(RegExport, AnEmptyMultiStringGoesOutAsHex7WithNoBytesAndComesBackEmpty) {
    auto r = Registry::inMemory();
    set(*r, create(*r, HKEY_CURRENT_USER, "M"), "m", type::MultiSz, QByteArray());
    for (RegFormat format : {RegFormat::Regedit4, RegFormat::Regedit5}) {
        const RegExport e = exportRegFile(*r, "HKEY_CURRENT_USER\\M", format);
        const QString text =
            format == RegFormat::Regedit4
                ? QString::fromLatin1(e.bytes)
                : QString::fromUtf16(reinterpret_cast<const char16_t*>(e.bytes.constData() + 2),
                                     (e.bytes.size() - 2) / 2);
        EXPECT_TRUE(text.contains("\r\n\"m\"=hex(7):\r\n")) << text.toStdString();
        auto again = Registry::inMemory();
        EXPECT_TRUE(importRegFile(*again, e.bytes).warnings.isEmpty());
        std::uint32_t t = 0;
        EXPECT_EQ(valueData(*again, HKEY_CURRENT_USER, "M", "m", &t), QByteArray());
        EXPECT_EQ(t, type::MultiSz);
    }
}

TEST(RegImport, ImpliedParentsTakeTheCaseOfTheKeysThereAndRootsAnyCase) {
    auto r = Registry::inMemory();
    r->closeKey(create(*r, HKEY_CURRENT_USER, "Software\\Existing"));
    const RegImport in = importRegFile(*r, "REGEDIT4\r\n\r\n"
                                           "[HKEY_current_USER\\SOFTWARE\\existing\\New\\Deep]\r\n"
                                           "\"v\"=\"1\"\r\n"
                                           "[hkcu\\software\\Other]\r\n"
                                           "[HKEY_local_machine\\software\\CLASSES\\.viaLocal]\r\n"
                                           "[HKEY_Classes_Root\\.viaClasses]\r\n");
    EXPECT_TRUE(in.warnings.isEmpty()) << in.warnings.join('\n').toStdString();
    EXPECT_EQ(in.keysCreated, 4);
    const RegExport user = exportRegFile(*r, "HKEY_CURRENT_USER", RegFormat::Regedit4);
    EXPECT_EQ(user.bytes, "REGEDIT4\r\n\r\n"
                          "[HKEY_CURRENT_USER]\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Existing]\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Existing\\New]\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Existing\\New\\Deep]\r\n"
                          "\"v\"=\"1\"\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Other]\r\n\r\n")
        << user.bytes.constData();
    // Both spellings of the local machine's classes reach the one classes root.
    const RegExport classes = exportRegFile(*r, "HKEY_CLASSES_ROOT", RegFormat::Regedit4);
    EXPECT_TRUE(classes.bytes.contains("[HKEY_CLASSES_ROOT\\.viaClasses]\r\n"));
    EXPECT_TRUE(classes.bytes.contains("[HKEY_CLASSES_ROOT\\.viaLocal]\r\n"));
}

TEST(RegImport, ReadsAWindows31FileIntoTheClassesRoot) {
    auto r = Registry::inMemory();
    const RegImport in = importRegFile(*r, "REGEDIT\n"
                                           "HKEY_CLASSES_ROOT\\.txt = txtfile\n"
                                           "HKEY_CLASSES_ROOT\\txtfile = Text Document\n"
                                           "HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command = "
                                           "notepad.exe %1\n"
                                           "HKEY_USERS\\x = 1\n");
    EXPECT_TRUE(in.error.isEmpty());
    EXPECT_EQ(in.keysCreated, 3);
    EXPECT_EQ(in.valuesSet, 3);
    EXPECT_EQ(in.warnings.size(), 1);
    std::uint32_t t = 0;
    EXPECT_EQ(valueData(*r, HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", &t),
              "notepad.exe %1");
    EXPECT_EQ(t, type::Sz);
    EXPECT_EQ(valueData(*r, HKEY_LOCAL_MACHINE, "Software\\Classes\\.txt", ""), "txtfile");
    EXPECT_EQ(valueData(*r, HKEY_USERS, "x", ""), "<no key>");
}
