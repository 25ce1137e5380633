#pragma once
// The commands of orvx, grouped by the layer they use.

#include "registry/hive_location.h"
#include "registry/registry.h"
#include "registry/registry_choice.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

class QCommandLineParser;
class QImage;

namespace orvanex::tools {

// Exit statuses, documented in orvx --help.
namespace exitcode {
constexpr int Success = 0;
constexpr int Failure = 1; // refused or failed: nothing was changed
constexpr int Partial = 3; // done, with lines or items skipped (the summary says how many)
} // namespace exitcode

struct OrvxContext {
    QString hiveOption; // from --hive, empty when not given (an explicit empty one is refused)
    QTextStream& out;
    QTextStream& err;
    const QCommandLineParser* parser = nullptr;     // the parsed command line, for command options
    QString winePrefixOption = QString();           // from --wine-prefix, empty when not given
    reg::OfflineWindowsOptions offlineOptions = {}; // --windows, --nt-hive and theirs

    // --hive, then ORVANEX_HIVE, then the default hive.
    reg::HiveChoice hive() const;
    // --hive, then --wine-prefix, then --windows/--nt-hive, then ORVANEX_HIVE, then the default.
    reg::RegistryChoice registryChoice() const;
    // The file the drive map is found beside: the hive, or the Wine prefix's system.reg.
    QString registryFile() const;
    // Opens the chosen registry (a hive or a Wine prefix); on failure prints why and returns null.
    // A hive that opened with a problem (damaged, unreadable) is returned with the problem printed
    // as a warning.
    std::unique_ptr<reg::Registry> openRegistry();
    // Prints "orvx: " + message on standard error and returns the failure exit status.
    int fail(const QString& message);
    // A command option (declared in OrvxCommand::options) given on the command line.
    bool isSet(const QString& option) const;
    QString value(const QString& option) const;
};

struct OrvxCommand {
    QString name;
    QString usage;   // "export KEY FILE.reg [--regedit4|--regedit5]"
    QString summary; // one line for --help
    // args: the command's arguments, without the options the parser took.
    std::function<int(OrvxContext&, const QStringList& args)> run;
    QList<QCommandLineOption> options = {}; // options only this command takes
};

// orvx summary FILE [--pdf OUT.pdf]; also what properties prints where no file manager answers.
int summaryCommand(OrvxContext& context, const QStringList& args);

// Writes the picture as a PNG beside path and renames it into place only when complete, so a
// failure never leaves half a file or loses the one that was there.
bool savePng(const QImage& picture, const QString& path);

// --png FILE, which icon-panel and image share.
QCommandLineOption pngOption();

// Each group of commands; register a new group with one line in orvx_main.cpp.
QList<OrvxCommand> registryCommands();
QList<OrvxCommand> platformCommands();
QList<OrvxCommand> modelCommands();
QList<OrvxCommand> searchCommands();
QList<OrvxCommand> fileCommands();
QList<OrvxCommand> backupCommands();
QList<OrvxCommand> reportCommands();
QList<OrvxCommand> iconCommands();
// A GUI application (offscreen) for the commands that lay out text, else a core one.
std::unique_ptr<QCoreApplication> makeOrvxApplication(int& argc, char** argv);
QList<OrvxCommand> insightCommands();
QList<OrvxCommand> editCommands();
// query and compare, listed with the registry commands.
QList<OrvxCommand> queryCommands();
QList<OrvxCommand> checkCommands();
// host: the Linux desktop entries Wine writes.
QList<OrvxCommand> hostCommands();

} // namespace orvanex::tools
