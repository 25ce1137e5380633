#pragma once
// The commands of orvx, grouped by the layer they use.

#include "registry/registry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

namespace orvanex::tools {

struct OrvxContext {
    QString hiveOption; // from --hive, empty when not given
    QTextStream& out;
    QTextStream& err;

    // Opens the chosen hive; on failure prints why and returns null.
    std::unique_ptr<reg::Registry> openRegistry();
    // Prints "orvx: " + message on standard error and returns the failure exit status.
    int fail(const QString& message);
};

struct OrvxCommand {
    QString name;
    QString usage;   // "export KEY FILE.reg [--regedit4|--regedit5]"
    QString summary; // one line for --help
    std::function<int(OrvxContext&, const QStringList& args)> run;
};

QList<OrvxCommand> registryCommands();
QList<OrvxCommand> platformCommands();
QList<OrvxCommand> modelCommands();
QList<OrvxCommand> searchCommands();
QList<OrvxCommand> insightCommands();

} // namespace orvanex::tools
