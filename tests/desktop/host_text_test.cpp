// The texts of the host entries: names, Exec lines, mimeapps.list lines and the registry's
// command lines, read and written.

#include "desktop/desktop_entry_text.h"
#include "desktop/host_change.h"
#include "desktop/mimeapps_lines.h"
#include "desktop/wine_association.h"

#include <gtest/gtest.h>

using namespace orvanex::desktop;

TEST(HostText, FileNamesGiveTheirExtension) {
    EXPECT_EQ(extensionOfEntryName("wine-extension-pdf.desktop"), QStringLiteral(".pdf"));
    EXPECT_EQ(extensionOfEntryName("wine-extension-.desktop"), QString());
    EXPECT_EQ(extensionOfEntryName("wine-extension-pdf.desktop~"), QString());
    EXPECT_EQ(extensionOfEntryName("xwine-extension-pdf.desktop"), QString());
    EXPECT_EQ(extensionOfPackageName("x-wine-extension-a.xml"), QStringLiteral(".a"));
    EXPECT_EQ(entryFileName(".PDF"), QStringLiteral("wine-extension-pdf.desktop"));
    EXPECT_EQ(packageFileName(".Doc"), QStringLiteral("x-wine-extension-doc.xml"));
    EXPECT_EQ(normalExtension(" PDF "), QStringLiteral(".pdf"));
    EXPECT_EQ(normalExtension(".x"), QStringLiteral(".x"));
    for (const char* bad : {"", ".", "a/b", "..x", "a b", "*", "a.b"})
        EXPECT_EQ(normalExtension(bad), QString()) << bad;
}

TEST(HostText, ExecLinesGiveThePrefixAndProgId) {
    const QString home = QStringLiteral("/home/u/.wine");
    EXPECT_EQ(
        prefixOfExec("env WINEPREFIX=\"/tmp/my prefix\" wine start /ProgIDOpen txtfile %f", home),
        QStringLiteral("/tmp/my prefix"));
    EXPECT_EQ(prefixOfExec("env WINEPREFIX=/tmp/p wine start /ProgIDOpen a %f", home),
              QStringLiteral("/tmp/p"));
    EXPECT_EQ(prefixOfExec("wine start /ProgIDOpen txtfile %f", home), home);
    EXPECT_EQ(prefixOfExec("env WINEPREFIX=\"\" wine", home), home);
    EXPECT_EQ(progIdOfExec("wine start /ProgIDOpen Word.Document.8 %f"),
              QStringLiteral("Word.Document.8"));
    EXPECT_EQ(progIdOfExec("wine start x.exe"), QString());
    // Names with quotes, dollars and backslashes survive the entry's two escapes.
    const QString odd = QStringLiteral("/tmp/a \"b\" $c `d` e\\f");
    AssociationEntry e{QStringLiteral("App"), QStringLiteral("text/plain"), odd,
                       QStringLiteral("txtfile"), QString()};
    const auto keys = desktopEntryKeys(associationEntryText(e));
    EXPECT_EQ(prefixOfExec(keys.value("Exec"), home), odd);
    EXPECT_EQ(progIdOfExec(keys.value("Exec")), QStringLiteral("txtfile"));
    EXPECT_EQ(keys.value("MimeType"), QStringLiteral("text/plain;"));
    EXPECT_FALSE(keys.contains("Icon"));
    // Only the [Desktop Entry] group counts, and its first value of a key.
    const auto group = desktopEntryKeys("Exec=no\n[Desktop Entry]\r\nExec=yes\nExec=again\n"
                                        "[Desktop Action x]\nIcon=no\n");
    EXPECT_EQ(group.value("Exec"), QStringLiteral("yes"));
    EXPECT_FALSE(group.contains("Icon"));
}

TEST(HostText, CommandsGiveTheirProgram) {
    EXPECT_EQ(
        programOfCommand("\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" \"%1\""),
        QStringLiteral("wordpad.exe"));
    EXPECT_EQ(programOfCommand("C:\\windows\\NOTEPAD.EXE %1"), QStringLiteral("notepad.exe"));
    EXPECT_EQ(programOfCommand("  winebrowser.exe"), QStringLiteral("winebrowser.exe"));
    EXPECT_EQ(programOfCommand("/usr/bin/x"), QStringLiteral("x"));
}

TEST(HostText, MimeAppsLinesLoseOnlyWineEntriesAndComeBack) {
    const QByteArray file =
        "[Default Applications]\n"
        "text/plain=gedit.desktop\n"
        "application/pdf=wine-extension-pdf.desktop;\n"
        "# application/rtf=wine-extension-rtf.desktop;\n"
        "[Added Associations]\n"
        "application/pdf=evince.desktop; wine-extension-pdf.desktop;okular.desktop;\n"
        "application/rtf=wine-extension-rtf.desktop;\n"
        "\n"
        "[Removed Associations]\n"
        "image/png=wine-extension-png.desktop";
    const QList<MimeAppsLine> lines = wineLines(file);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].index, 2);
    EXPECT_EQ(lines[1].section, QStringLiteral("[Added Associations]"));
    EXPECT_EQ(lines[1].entry, QStringLiteral("wine-extension-pdf.desktop"));
    EXPECT_EQ(lines[3].text, QByteArray("image/png=wine-extension-png.desktop"));

    const MimeAppsEdit edit =
        withoutEntries(file, {"wine-extension-pdf.desktop", "wine-extension-png.desktop"});
    EXPECT_EQ(edit.bytes.toStdString(), "[Default Applications]\n"
                                        "text/plain=gedit.desktop\n"
                                        "# application/rtf=wine-extension-rtf.desktop;\n"
                                        "[Added Associations]\n"
                                        "application/pdf=evince.desktop;okular.desktop;\n"
                                        "application/rtf=wine-extension-rtf.desktop;\n"
                                        "\n"
                                        "[Removed Associations]\n");
    ASSERT_EQ(edit.changes.size(), 3);
    EXPECT_EQ(edit.changes[1].after, QByteArray("application/pdf=evince.desktop;okular.desktop;"));
    // Back into the file as the removal left it, and into one edited since.
    EXPECT_EQ(withLinesBack(edit.bytes, edit.changes).toStdString(),
              "[Default Applications]\n"
              "text/plain=gedit.desktop\n"
              "# application/rtf=wine-extension-rtf.desktop;\n"
              "application/pdf=wine-extension-pdf.desktop;\n"
              "[Added Associations]\n"
              "application/pdf=evince.desktop; wine-extension-pdf.desktop;okular.desktop;\n"
              "application/rtf=wine-extension-rtf.desktop;\n"
              "\n"
              "[Removed Associations]\n"
              "image/png=wine-extension-png.desktop\n");
    EXPECT_EQ(withLinesBack("", edit.changes.mid(0, 1)).toStdString(),
              "[Default Applications]\napplication/pdf=wine-extension-pdf.desktop;\n");
    // A line already back is not doubled.
    EXPECT_EQ(withLinesBack(file, edit.changes), file);
}

TEST(HostText, LinesBackKeepTheirPlaceAndTheFilesLineEnds) {
    // A line before any header goes back before the first header, never under a made-up one.
    const QByteArray loose =
        "a/b=wine-extension-ab.desktop\n[Default Applications]\nx/y=z.desktop\n";
    const MimeAppsEdit edit = withoutEntries(loose, {"wine-extension-ab.desktop"});
    EXPECT_EQ(withLinesBack(edit.bytes, edit.changes), loose);
    // A file of CRLF lines gets CRLF lines back; a lone CR is not taken for a line end.
    const QByteArray crlf = "[Default Applications]\r\na/b=wine-extension-ab.desktop\r\n";
    const MimeAppsEdit dos = withoutEntries(crlf, {"wine-extension-ab.desktop"});
    EXPECT_EQ(withLinesBack(dos.bytes, dos.changes), crlf);
    const MimeAppsEdit cr =
        withoutEntries("a/b=wine-extension-ab.desktop\n=\r", {"wine-extension-ab.desktop"});
    EXPECT_EQ(wineLines(withLinesBack(cr.bytes, cr.changes)).size(), 1);
}

TEST(HostText, MimePackagesNameTheirTypeAndIcon) {
    const QByteArray text = mimePackageText("application/x-ab", ".ABC", "A <doc>");
    EXPECT_EQ(packageMimeType(text), QStringLiteral("application/x-ab"));
    EXPECT_TRUE(text.contains("<glob pattern=\"*.abc\"/>"));
    EXPECT_TRUE(text.contains("<comment>A &lt;doc&gt;</comment>"));
    EXPECT_EQ(packageIconName(mimePackageText("application/x-wine-extension-a", ".a", "")),
              QStringLiteral("application-x-wine-extension-a"));
    EXPECT_EQ(packageIconName("<mime-type type=\"a/b\"><icon name=\"own\"/>"),
              QStringLiteral("own"));
}
