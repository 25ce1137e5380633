#include "pe_fixtures.h"

#include "fixture_images.h"

#include <QFile>
#include <QProcess>

namespace orvanex::test {

int runProgram(const QString& program, const QStringList& args, const QString& workDir,
               QString* output) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

namespace {
const QColor kOrange(255, 128, 0);
const QColor kGreen(0, 160, 0);
const QColor kMagenta(255, 0, 255);
const QColor kCyan(0, 200, 200);
const QColor kTeal(0, 128, 128);
const QColor kPurple(128, 0, 160);
const QColor kBrown(160, 80, 0);
} // namespace

QList<FixtureGroup> fixtureGroups() {
    return {{"b24", kOrange, 24}, {"multi", kGreen, 32}, {"mono", kMagenta, 1}, {"png", kCyan, 0},
            {"big", kTeal, 8},    {"huge", kPurple, 0},  {"d16", kBrown, 16}};
}

void writeFixtureIcons(const QString& dir) {
    const QColor navy(0, 0, 128), red(255, 0, 0), yellow(255, 255, 0), grey(100, 100, 100);
    writeFile(dir + "/b24.ico", makeIco({image(32, 32, 4, navy), image(32, 32, 24, kOrange)}));
    writeFile(dir + "/multi.ico", makeIco({image(16, 16, 4, navy), image(32, 32, 8, red),
                                           image(32, 32, 32, kGreen), image(48, 48, 32, yellow)}));
    writeFile(dir + "/mono.ico", makeIco({image(32, 32, 1, kMagenta)}));
    writeFile(dir + "/png.ico", makeIco({image(16, 16, 8, grey), image(32, 32, 0, kCyan)}));
    writeFile(dir + "/big.ico", makeIco({image(256, 256, 0, red), image(48, 48, 8, kTeal)}));
    writeFile(dir + "/huge.ico", makeIco({image(256, 256, 0, kPurple)}));
    writeFile(dir + "/d16.ico", makeIco({image(32, 32, 16, kBrown)}));
}

QString buildPe(const QString& dir, const QString& rcFile, const QString& arch,
                const QStringList& ldArgs, const QString& outName, QString* error) {
    QString output;
    const QString object = outName + ".o";
    const QString prefix = arch + "-w64-mingw32-";
    // windres runs the preprocessor itself; a temporary file keeps that free of a shell pipe.
    if (runProgram(prefix + "windres",
                   {"--use-temp-file", "--preprocessor=cpp", "-c", "65001", rcFile, "-O", "coff",
                    "-o", object},
                   dir, &output) != 0) {
        *error = "windres failed: " + output;
        return {};
    }
    if (runProgram(prefix + "ld", QStringList(ldArgs) << "-o" << outName << object, dir, &output) !=
        0) {
        *error = "ld failed: " + output;
        return {};
    }
    return dir + "/" + outName;
}

QMap<QString, QString> buildFixtureSet(const QString& dir, QString* errors) {
    QFile::remove(dir + "/icons.rc");
    QFile::copy(QStringLiteral(PLATFORM_FIXTURES_DIR "/icons.rc"), dir + "/icons.rc");
    writeFixtureIcons(dir);
    const QMap<QString, QPair<QString, QStringList>> builds = {
        {"pe32.dll", {"i686", {"--dll", "-e", "0"}}},
        {"pe32gui.exe", {"i686", {"--subsystem", "windows:4.0", "-e", "0"}}},
        {"pe32con.exe", {"i686", {"--subsystem", "console", "-e", "0"}}},
        {"pe64.dll", {"x86_64", {"--dll", "--subsystem", "windows:6.1", "-e", "0"}}},
        {"pe64con.exe", {"x86_64", {"--subsystem", "console", "-e", "0"}}},
    };
    QMap<QString, QString> files;
    for (auto it = builds.begin(); it != builds.end(); ++it) {
        QString error;
        const QString path = buildPe(dir, "icons.rc", it->first, it->second, it.key(), &error);
        if (path.isEmpty())
            *errors += it.key() + ": " + error + "\n";
        files[it.key()] = path;
    }
    return files;
}

int wrestoolGroupCount(const QString& path) {
    QString output;
    if (runProgram("wrestool", {"-l", "--type=14", path}, ".", &output) != 0)
        return -1;
    return int(output.split('\n', Qt::SkipEmptyParts).size());
}

} // namespace orvanex::test
