// orvx import / export: .reg files in and out of the chosen hive.

#include "registry/reg_file.h"
#include "tools/orvx_commands.h"

#include <QSaveFile>

namespace orvanex::tools {

namespace {

int runImport(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx import FILE.reg"));
    QByteArray bytes;
    const QString error = reg::readRegFile(args[0], &bytes);
    if (!error.isEmpty())
        return context.fail(error);
    auto registry = context.openRegistry();
    if (!registry)
        return exitcode::Failure;
    const reg::RegImport result = reg::importRegFile(*registry, bytes);
    bytes.clear();
    for (const QString& warning : result.warnings)
        context.err << "orvx: " << args[0] << ": " << warning << '\n';
    context.err.flush();
    if (!result.error.isEmpty())
        return context.fail(QStringLiteral("%1: %2").arg(args[0], result.error));
    const qsizetype skipped = result.warnings.size();
    if (skipped > 0 && result.changes() == 0)
        return context.fail(QStringLiteral("%1: nothing imported, all %2 lines with data were "
                                           "skipped")
                                .arg(args[0])
                                .arg(skipped));
    context.out << QStringLiteral("imported %1: %2 keys created, %3 deleted, %4 values set, %5 "
                                  "deleted")
                       .arg(args[0])
                       .arg(result.keysCreated)
                       .arg(result.keysDeleted)
                       .arg(result.valuesSet)
                       .arg(result.valuesDeleted);
    if (skipped > 0)
        context.out << QStringLiteral("; %1 lines skipped").arg(skipped);
    context.out << Qt::endl;
    return skipped > 0 ? exitcode::Partial : exitcode::Success;
}

int runExport(OrvxContext& context, const QStringList& rest) {
    if (context.isSet(QStringLiteral("regedit4")) && context.isSet(QStringLiteral("regedit5")))
        return context.fail(QStringLiteral("choose one of --regedit4 and --regedit5"));
    const reg::RegFormat format = context.isSet(QStringLiteral("regedit5"))
                                      ? reg::RegFormat::Regedit5
                                      : reg::RegFormat::Regedit4;
    if (rest.size() != 2)
        return context.fail(
            QStringLiteral("usage: orvx export KEY FILE.reg [--regedit4|--regedit5]"));
    auto registry = context.openRegistry();
    if (!registry)
        return exitcode::Failure;
    if (reg::isHiveOrItsFile(registry->hivePath(), rest[1]))
        return context.fail(
            QStringLiteral("%1 is the registry's own file; export elsewhere").arg(rest[1]));
    const reg::RegExport result = reg::exportRegFile(*registry, rest[0], format);
    if (result.status != reg::status::Success)
        return context.fail(QStringLiteral("cannot export: %1").arg(result.error));
    QSaveFile out(rest[1]);
    if (!out.open(QIODevice::WriteOnly) || out.write(result.bytes) != result.bytes.size() ||
        !out.commit())
        return context.fail(QStringLiteral("cannot write %1: %2").arg(rest[1], out.errorString()));
    return 0;
}

} // namespace

QList<OrvxCommand> registryCommands() {
    const QList<OrvxCommand> commands = {
        {QStringLiteral("import"), QStringLiteral("import FILE.reg"),
         QStringLiteral("merge a .reg file (REGEDIT4, version 5 or Windows 3.1) into the registry"),
         runImport},
        {QStringLiteral("export"),
         QStringLiteral("export KEY FILE.reg [--regedit4|--regedit5]"),
         QStringLiteral("write KEY with all its subkeys to a .reg file"),
         runExport,
         {QCommandLineOption(QStringLiteral("regedit4"),
                             QStringLiteral("export: write a REGEDIT4 file (the default).")),
          QCommandLineOption(QStringLiteral("regedit5"),
                             QStringLiteral("export: write a version 5 (UTF-16) file."))}},
    };
    // query and compare come next in the list (orvx_query_commands.cpp).
    return commands + queryCommands();
}

} // namespace orvanex::tools
