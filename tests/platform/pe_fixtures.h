#pragma once
// Real PE files built from fixtures/icons.rc with the mingw-w64 binutils (windres and ld), and
// the icoutils listing the counts are compared with.

#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>

namespace orvanex::test {

// Runs a program with an argument list; returns its exit code (-1 when it could not run) and
// its standard output and error in `output`.
int runProgram(const QString& program, const QStringList& args, const QString& workDir,
               QString* output = nullptr);

// Writes the .ico files icons.rc names into `dir`.
void writeFixtureIcons(const QString& dir);

// Compiles `rcFile` (in `dir`) for "i686" or "x86_64" and links it with `ldArgs` into
// dir/outName. Returns the path, or an empty string with the reason in `error`.
QString buildPe(const QString& dir, const QString& rcFile, const QString& arch,
                const QStringList& ldArgs, const QString& outName, QString* error);

// Builds the fixture set in `dir` (icons, icons.rc, pe32.dll, pe32gui.exe, pe32con.exe, pe64.dll,
// pe64con.exe): file name -> path. Failures are described in `errors`.
QMap<QString, QString> buildFixtureSet(const QString& dir, QString* errors);

// The icon groups wrestool lists for a PE or NE file; -1 when wrestool fails.
int wrestoolGroupCount(const QString& path);

// The fixture icons, in the order ExtractIcon numbers them (named groups come first), with the
// colour of the image that should be chosen at 32 x 32.
struct FixtureGroup {
    QString name;
    QColor chosenColour;
    int chosenBits; // of the chosen image (0 for PNG)
};
QList<FixtureGroup> fixtureGroups();

} // namespace orvanex::test
