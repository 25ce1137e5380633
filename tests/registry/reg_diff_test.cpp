// What merging a .reg file would change: listed exactly, without writing, and in agreement with
// what the importer then does.

#include "registry/reg_diff.h"

#include <gtest/gtest.h>

using namespace orvanex::reg;

namespace {

QByteArray reg4(const char* body) {
    return QByteArray("REGEDIT4\r\n\r\n") + body;
}

std::unique_ptr<Registry> registryWith(const char* body) {
    auto registry = Registry::inMemory();
    const RegImport imported = importRegFile(*registry, reg4(body));
    EXPECT_TRUE(imported.error.isEmpty() && imported.warnings.isEmpty())
        << imported.error.toStdString();
    return registry;
}

using Lines = std::vector<std::string>;

Lines lines(const RegDiff& diff) {
    Lines out;
    for (const RegChange& c : diff.changes)
        out.push_back(describeRegChange(c).toStdString());
    return out;
}

const char* kTxt = "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                   "@=\"txtfile\"\r\n"
                   "\"Content Type\"=\"text/plain\"\r\n"
                   "\r\n"
                   "[HKEY_CLASSES_ROOT\\.txt\\ShellNew]\r\n"
                   "\"NullFile\"=\"\"\r\n"
                   "\r\n"
                   "[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                   "@=\"Text Document\"\r\n"
                   "\"EditFlags\"=hex:00,00,01,00\r\n"
                   "\r\n"
                   "[HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]\r\n"
                   "@=\"notepad.exe %1\"\r\n";

} // namespace

TEST(RegDiff, AnExportOfTheRegistryChangesNothing) {
    auto registry = registryWith(kTxt);
    for (const char* key : {"HKEY_CLASSES_ROOT\\.txt", "HKEY_CLASSES_ROOT\\txtfile"}) {
        const RegExport exported = exportRegFile(*registry, key, RegFormat::Regedit4);
        ASSERT_EQ(exported.status, 0);
        const RegDiff diff = diffRegFile(*registry, exported.bytes);
        EXPECT_FALSE(diff.refused);
        EXPECT_TRUE(diff.changes.empty());
    }
    // Names differ only in case, and text written with its terminator is the same text.
    const char terminated[] = "text/plain";
    HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_USED, &k), 0);
    ASSERT_EQ(registry->setValueEx(k, "Content Type", type::Sz, terminated, sizeof terminated), 0);
    registry->closeKey(k);
    EXPECT_TRUE(diffRegFile(*registry, reg4("[hkcr\\.TXT]\r\n\"content type\"=\"text/plain\"\r\n"))
                    .changes.empty());
}

TEST(RegDiff, ABackupTakenBeforeAChangeListsExactlyThatChange) {
    auto registry = registryWith(kTxt);
    const RegExport backup =
        exportRegFile(*registry, "HKEY_CLASSES_ROOT\\txtfile", RegFormat::Regedit4);
    ASSERT_EQ(backup.status, 0);
    ASSERT_TRUE(importRegFile(*registry, reg4("[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                                              "@=\"Plain Text\"\r\n"))
                    .error.isEmpty());
    EXPECT_EQ(lines(diffRegFile(*registry, backup.bytes)),
              Lines{"change value [HKEY_CLASSES_ROOT\\txtfile] @: \"Plain Text\" -> \"Text "
                    "Document\""});

    // A deleted type comes back whole: every key created, every value added.
    ASSERT_EQ(registry->deleteKey(HKEY_CLASSES_ROOT, "txtfile"), 0);
    EXPECT_EQ(lines(diffRegFile(*registry, backup.bytes)),
              (Lines{"create key [HKEY_CLASSES_ROOT\\txtfile]",
                     "add value [HKEY_CLASSES_ROOT\\txtfile] @ = \"Text Document\"",
                     "add value [HKEY_CLASSES_ROOT\\txtfile] \"EditFlags\" = "
                     "hex:00,00,01,00",
                     "create key [HKEY_CLASSES_ROOT\\txtfile\\shell]",
                     "create key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open]",
                     "create key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]",
                     "add value [HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command] @ = "
                     "\"notepad.exe %1\""}));
}

TEST(RegDiff, DeletionsListEachKeyOnceAndRecreatedKeysLoseTheirValues) {
    auto registry = registryWith(kTxt);
    EXPECT_EQ(lines(diffRegFile(*registry, reg4("[-HKEY_CLASSES_ROOT\\txtfile]\r\n"
                                                "[-HKEY_CLASSES_ROOT\\txtfile]\r\n"
                                                "[-HKEY_CLASSES_ROOT\\nothere]\r\n"))),
              (Lines{"delete key [HKEY_CLASSES_ROOT\\txtfile]",
                     "delete key [HKEY_CLASSES_ROOT\\txtfile\\shell]",
                     "delete key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open]",
                     "delete key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]"}));
    EXPECT_EQ(lines(diffRegFile(*registry, reg4("[-HKEY_CLASSES_ROOT\\.txt]\r\n"
                                                "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                                                "@=\"txtfile\"\r\n"
                                                "\"Content Type\"=-\r\n"))),
              (Lines{"remove value [HKEY_CLASSES_ROOT\\.txt] \"Content Type\" (was "
                     "\"text/plain\")",
                     "delete key [HKEY_CLASSES_ROOT\\.txt\\ShellNew]"}));
    // Values set and then taken away again within the file change nothing.
    EXPECT_TRUE(diffRegFile(*registry, reg4("[HKEY_CLASSES_ROOT\\.txt]\r\n\"x\"=\"1\"\r\n"
                                            "\"x\"=-\r\n\"Content Type\"=\"a\"\r\n"
                                            "\"Content Type\"=\"text/plain\"\r\n"))
                    .changes.empty());
}

TEST(RegDiff, ListsWhatTheImporterThenDoesAndWritesNothingItself) {
    auto registry = registryWith(kTxt);
    const QByteArray file = reg4("[HKEY_CLASSES_ROOT\\.txt]\r\n"
                                 "@=\"other\"\r\n"
                                 "\"Count\"=dword:0000002a\r\n"
                                 "\"Content Type\"=-\r\n"
                                 "[-HKEY_CLASSES_ROOT\\txtfile\\shell]\r\n"
                                 "[HKEY_CLASSES_ROOT\\txtfile\\shell\\edit]\r\n"
                                 "[HKEY_CLASSES_ROOT\\new\\deep\\key]\r\n"
                                 "\"Data\"=hex(2):25,00\r\n");
    const RegDiff before = diffRegFile(*registry, file);
    EXPECT_EQ(
        lines(before),
        (Lines{"change value [HKEY_CLASSES_ROOT\\.txt] @: \"txtfile\" -> \"other\"",
               "add value [HKEY_CLASSES_ROOT\\.txt] \"Count\" = dword:0000002a",
               "remove value [HKEY_CLASSES_ROOT\\.txt] \"Content Type\" (was "
               "\"text/plain\")",
               "delete key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open]",
               "delete key [HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]",
               "create key [HKEY_CLASSES_ROOT\\txtfile\\shell\\edit]",
               "create key [HKEY_CLASSES_ROOT\\new]", "create key [HKEY_CLASSES_ROOT\\new\\deep]",
               "create key [HKEY_CLASSES_ROOT\\new\\deep\\key]",
               "add value [HKEY_CLASSES_ROOT\\new\\deep\\key] \"Data\" = hex(2):25,00"}));
    // The diff wrote nothing: asked again, it says the same.
    EXPECT_EQ(lines(diffRegFile(*registry, file)), lines(before));
    const RegImport imported = importRegFile(*registry, file);
    ASSERT_TRUE(imported.error.isEmpty() && imported.warnings.isEmpty());
    EXPECT_TRUE(diffRegFile(*registry, file).changes.empty());
}

TEST(RegDiff, SkippedLinesAreShownWithTheirTextAndForeignFilesAreRefused) {
    auto registry = registryWith(kTxt);
    const RegDiff diff = diffRegFile(*registry, reg4("[HKEY_CLASSES_ROOT\\.txt]\r\n"
                                                     "\"a\"=dword:xyz\r\n"
                                                     "garbage here\r\n"
                                                     "[NOROOT\\x]\r\n"
                                                     "\"b\"=\"lost\"\r\n"));
    ASSERT_EQ(diff.skipped.size(), 4u);
    EXPECT_EQ(diff.skipped[0].line, 4);
    EXPECT_EQ(diff.skipped[0].text, "\"a\"=dword:xyz");
    EXPECT_EQ(diff.skipped[1].text, "garbage here");
    EXPECT_EQ(diff.skipped[3].line, 7);
    EXPECT_EQ(diff.skipped[3].text, "\"b\"=\"lost\"");
    EXPECT_TRUE(diff.changes.empty());

    const RegDiff refused = diffRegFile(*registry, "Not a registry file\r\n[-HKCR\\.txt]\r\n");
    EXPECT_TRUE(refused.refused);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_TRUE(refused.changes.empty());
}

TEST(RegDiff, DataAreShownAsTheFileWouldShowThem) {
    EXPECT_EQ(describeRegData(type::Sz, "a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(describeRegData(type::Dword, QByteArray("\x01\x02\x00\x80", 4)), "dword:80000201");
    EXPECT_EQ(describeRegData(type::Binary, QByteArray(3, '\xff')), "hex:ff,ff,ff");
    EXPECT_EQ(describeRegData(type::Binary, QByteArray(5, '\x01'), 4),
              "hex:01,01,01,01,... (5 bytes)");
    EXPECT_EQ(describeRegData(type::Sz, QByteArray("a\0b", 3)), "hex(1):61,00,62");
}

TEST(RegDiff, KeysMadeAndDeletedWithinTheFileAndRootsThatCannotGo) {
    auto registry = registryWith(kTxt);
    // Made and deleted again within the file, subkeys too: nothing to list.
    EXPECT_TRUE(diffRegFile(*registry, reg4("[HKEY_CLASSES_ROOT\\new\\a\\b]\r\n\"v\"=\"1\"\r\n"
                                            "[-HKEY_CLASSES_ROOT\\new]\r\n"))
                    .changes.empty());
    // A key keeps the place the file first gives it, even when a deletion named one below it.
    EXPECT_EQ(
        lines(diffRegFile(*registry, reg4("[-HKEY_CLASSES_ROOT\\p\\q]\r\n"
                                          "[HKEY_CLASSES_ROOT\\other]\r\n"
                                          "[HKEY_CLASSES_ROOT\\p]\r\n"))),
        (Lines{"create key [HKEY_CLASSES_ROOT\\other]", "create key [HKEY_CLASSES_ROOT\\p]"}));
    // The store refuses to delete a root, so the line changes nothing, as the importer finds.
    const QByteArray root = reg4("[-HKEY_CLASSES_ROOT]\r\n");
    EXPECT_TRUE(diffRegFile(*registry, root).changes.empty());
    EXPECT_EQ(importRegFile(*registry, root).keysDeleted, 0);
    EXPECT_TRUE(diffRegFile(*registry, reg4(kTxt)).changes.empty());
}

TEST(RegDiff, KeysWithManyValuesMatchNamesInAnyCase) {
    QByteArray body = "[HKEY_CLASSES_ROOT\\many]\r\n";
    for (int i = 0; i < 40; ++i)
        body += QStringLiteral("\"Name%1\"=\"%1\"\r\n").arg(i).toUtf8();
    auto registry = registryWith(body.constData());
    EXPECT_TRUE(diffRegFile(*registry, reg4(body.toLower().constData())).changes.empty());
    EXPECT_EQ(lines(diffRegFile(*registry, reg4("[HKEY_CLASSES_ROOT\\many]\r\n"
                                                "\"NAME17\"=\"x\"\r\n\"name17\"=\"y\"\r\n"
                                                "\"name39\"=-\r\n"))),
              (Lines{"change value [HKEY_CLASSES_ROOT\\many] \"NAME17\": \"17\" -> \"y\"",
                     "remove value [HKEY_CLASSES_ROOT\\many] \"name39\" (was \"39\")"}));
    // Deleted and made again with a few of its values: the others are listed as removed.
    QByteArray again = "[-HKEY_CLASSES_ROOT\\many]\r\n[HKEY_CLASSES_ROOT\\many]\r\n";
    for (int i = 0; i < 39; ++i)
        again += QStringLiteral("\"name%1\"=\"%1\"\r\n").arg(i).toUtf8();
    EXPECT_EQ(lines(diffRegFile(*registry, reg4(again.constData()))),
              Lines{"remove value [HKEY_CLASSES_ROOT\\many] \"Name39\" (was \"39\")"});
}
