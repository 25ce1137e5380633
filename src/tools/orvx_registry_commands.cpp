// orvx import / export / query: .reg files in and out of the chosen hive, and a key's contents.

#include "registry/reg_file.h"
#include "tools/orvx_commands.h"

#include <QSaveFile>

namespace orvanex::tools {

namespace {

QString typeName(std::uint32_t t) {
    switch (t) {
    case reg::type::None:
        return QStringLiteral("REG_NONE");
    case reg::type::Sz:
        return QStringLiteral("REG_SZ");
    case reg::type::ExpandSz:
        return QStringLiteral("REG_EXPAND_SZ");
    case reg::type::Binary:
        return QStringLiteral("REG_BINARY");
    case reg::type::Dword:
        return QStringLiteral("REG_DWORD");
    case reg::type::DwordBigEndian:
        return QStringLiteral("REG_DWORD_BIG_ENDIAN");
    case reg::type::Link:
        return QStringLiteral("REG_LINK");
    case reg::type::MultiSz:
        return QStringLiteral("REG_MULTI_SZ");
    case reg::type::Qword:
        return QStringLiteral("REG_QWORD");
    default:
        return QStringLiteral("0x%1").arg(t, 0, 16);
    }
}

QString dataText(std::uint32_t t, const QByteArray& data) {
    if (t == reg::type::Sz || t == reg::type::ExpandSz) {
        const qsizetype nul = data.indexOf('\0');
        return QString::fromUtf8(nul < 0 ? data : data.left(nul));
    }
    if (t == reg::type::MultiSz) {
        QByteArray parts = data;
        while (parts.endsWith('\0'))
            parts.chop(1);
        return QString::fromUtf8(parts).replace(QChar(u'\0'), QLatin1String("\\0"));
    }
    if ((t == reg::type::Dword && data.size() == 4) ||
        (t == reg::type::Qword && data.size() == 8)) {
        quint64 v = 0;
        for (qsizetype i = data.size(); i-- > 0;)
            v = (v << 8) | std::uint8_t(data[i]);
        return QStringLiteral("0x%1").arg(v, 0, 16);
    }
    return QString::fromLatin1(data.toHex()).toUpper();
}

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

int runQuery(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx query KEY"));
    reg::HKey root = 0;
    QString rootName, subPath;
    if (!reg::splitRegKeyName(args[0], &root, &rootName, &subPath))
        return context.fail(QStringLiteral("\"%1\" is not a registry key name").arg(args[0]));
    auto registry = context.openRegistry();
    if (!registry)
        return 1;
    reg::HKey key = 0;
    const reg::Status s = registry->openKeyEx(root, subPath, 0, reg::KEY_ALL_USED, &key);
    if (s == reg::status::FileNotFound)
        return context.fail(QStringLiteral("the key %1 does not exist").arg(args[0]));
    if (s != reg::status::Success)
        return context.fail(QStringLiteral("cannot open %1 (status %2)").arg(args[0]).arg(s));
    const QString path = subPath.isEmpty() ? rootName : rootName + u'\\' + subPath;
    QTextStream& out = context.out;
    out << path << '\n';
    QString name;
    std::uint32_t t = 0;
    QByteArray data;
    for (std::uint32_t i = 0; registry->enumValue(key, i, &name, &t, &data) == 0; ++i)
        out << "    " << (name.isEmpty() ? QStringLiteral("(Default)") : name) << "    "
            << typeName(t) << "    " << dataText(t, data) << '\n';
    bool first = true;
    for (std::uint32_t i = 0; registry->enumKeyEx(key, i, &name) == 0; ++i) {
        if (first)
            out << '\n';
        first = false;
        out << path << '\\' << name << '\n';
    }
    out.flush();
    registry->closeKey(key);
    return 0;
}

} // namespace

QList<OrvxCommand> registryCommands() {
    return {
        {QStringLiteral("import"), QStringLiteral("import FILE.reg"),
         QStringLiteral("merge a .reg file (REGEDIT4 or version 5) into the registry"), runImport},
        {QStringLiteral("export"),
         QStringLiteral("export KEY FILE.reg [--regedit4|--regedit5]"),
         QStringLiteral("write KEY with all its subkeys to a .reg file"),
         runExport,
         {QCommandLineOption(QStringLiteral("regedit4"),
                             QStringLiteral("export: write a REGEDIT4 file (the default).")),
          QCommandLineOption(QStringLiteral("regedit5"),
                             QStringLiteral("export: write a version 5 (UTF-16) file."))}},
        {QStringLiteral("query"), QStringLiteral("query KEY"),
         QStringLiteral("list the values and subkeys of KEY"), runQuery},
    };
}

} // namespace orvanex::tools
