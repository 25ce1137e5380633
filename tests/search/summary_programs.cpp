#include "summary_programs.h"

#include "fixture_images.h"
#include "ne_writer.h"
#include "pe_fixtures.h"

#include <QFile>

namespace orvanex::test {

const QList<QPair<QByteArray, QByteArray>>& summaryVersionStrings() {
    static const QList<QPair<QByteArray, QByteArray>> strings = {
        {"CompanyName", "Orchard Works"},
        {"FileDescription", "Crate Packer"},
        {"FileVersion", "2.5.0.1"},
        {"InternalName", "crate"},
        {"LegalCopyright", "Copyright 1997 Orchard Works"},
        {"OriginalFilename", "CRATE.EXE"},
        {"ProductName", "Orchard Crates"},
        {"ProductVersion", "2.5"},
    };
    return strings;
}

QColor summaryIconColour() {
    return QColor(200, 40, 160);
}

namespace {

bool writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray versionRc() {
    QByteArray rc = "1 ICON \"crate.ico\"\n1 VERSIONINFO\nFILEVERSION 2,5,0,1\nPRODUCTVERSION "
                    "2,5,0,0\nFILEOS 0x4\n"
                    "FILETYPE 0x1\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
                    "  BLOCK \"040904b0\"\n  BEGIN\n";
    for (const auto& [key, value] : summaryVersionStrings())
        rc += "   VALUE \"" + key + "\", \"" + value + "\"\n";
    rc += "  END\n END\n BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", 0x409, 1200\n"
          " END\nEND\n";
    return rc;
}

} // namespace

SummaryPrograms buildSummaryPrograms(const QString& dir) {
    SummaryPrograms programs;
    if (!writeText(dir + "/crate.ico", makeIco({image(32, 32, 32, summaryIconColour())})) ||
        !writeText(dir + "/version.rc", versionRc()) ||
        !writeText(dir + "/plain.rc", "STRINGTABLE\nBEGIN\n 1 \"console\"\nEND\n")) {
        programs.error = "cannot write the resource scripts in " + dir;
        return programs;
    }
    programs.gui32 = buildPe(dir, "version.rc", "i686", {"--subsystem", "windows:4.0", "-e", "0"},
                             "crate.exe", &programs.error);
    if (programs.gui32.isEmpty())
        return programs;
    programs.console = buildPe(dir, "plain.rc", "x86_64", {"--subsystem", "console", "-e", "0"},
                               "console.exe", &programs.error);
    if (programs.console.isEmpty())
        return programs;
    programs.win16 = dir + "/oldcrate.exe";
    const QByteArray ne =
        makeNe({{16, 1, {}, makeVersionBlock16(summaryVersionStrings())}}, 0x030a);
    if (!writeText(programs.win16, ne))
        programs.error = "cannot write " + programs.win16;
    return programs;
}

} // namespace orvanex::test
