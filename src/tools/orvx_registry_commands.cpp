// orvx import / export / query: .reg files in and out of the chosen hive, and a key's contents.

#include "registry/reg_file.h"
#include "tools/orvx_commands.h"

#include <QFile>
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
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly))
        return context.fail(QStringLiteral("cannot read %1: %2").arg(args[0], file.errorString()));
    const QByteArray bytes = file.readAll();
    auto registry = context.openRegistry();
    if (!registry)
        return 1;
    const reg::RegImport result = reg::importRegFile(*registry, bytes);
    for (const QString& warning : result.warnings)
        context.err << "orvx: " << args[0] << ": " << warning << '\n';
    context.err.flush();
    if (!result.error.isEmpty())
        return context.fail(QStringLiteral("%1: %2").arg(args[0], result.error));
    context.out << QStringLiteral("imported %1: %2 keys created, %3 deleted, %4 values set, %5 "
                                  "deleted\n")
                       .arg(args[0])
                       .arg(result.keysCreated)
                       .arg(result.keysDeleted)
                       .arg(result.valuesSet)
                       .arg(result.valuesDeleted);
    context.out.flush();
    return 0;
}

int runExport(OrvxContext& context, const QStringList& args) {
    QStringList rest = args;
    reg::RegFormat format = reg::RegFormat::Regedit4;
    for (qsizetype i = rest.size(); i-- > 0;) {
        if (rest[i] == QLatin1String("--regedit4") || rest[i] == QLatin1String("--regedit5")) {
            format = rest[i].endsWith(u'5') ? reg::RegFormat::Regedit5 : reg::RegFormat::Regedit4;
            rest.removeAt(i);
        }
    }
    if (rest.size() != 2)
        return context.fail(
            QStringLiteral("usage: orvx export KEY FILE.reg [--regedit4|--regedit5]"));
    auto registry = context.openRegistry();
    if (!registry)
        return 1;
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
        {QStringLiteral("export"), QStringLiteral("export KEY FILE.reg [--regedit4|--regedit5]"),
         QStringLiteral("write KEY with all its subkeys to a .reg file"), runExport},
        {QStringLiteral("query"), QStringLiteral("query KEY"),
         QStringLiteral("list the values and subkeys of KEY"), runQuery},
    };
}

} // namespace orvanex::tools
