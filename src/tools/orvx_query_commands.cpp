// orvx query / compare: a key's contents, searching its subtree, and comparing keys and .reg
// files as a merge's diff shows them.

#include "registry/reg_compare.h"
#include "registry/reg_file.h"
#include "registry/reg_search.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

namespace {

constexpr int kExitNothingFound = 1;
constexpr int kExitDiffer = 2;

const QString kRecursive = QStringLiteral("recursive");
const QString kFind = QStringLiteral("find");
const QString kKeys = QStringLiteral("keys");
const QString kValues = QStringLiteral("values");
const QString kData = QStringLiteral("data");
const QString kExact = QStringLiteral("exact");
const QString kType = QStringLiteral("type");

// The listing of one key as it always was: its values, then its subkeys' names.
int listKey(OrvxContext& context, const QString& keyName) {
    reg::HKey root = 0;
    QString rootName, subPath;
    if (!reg::splitRegKeyName(keyName, &root, &rootName, &subPath))
        return context.fail(QStringLiteral("\"%1\" is not a registry key name").arg(keyName));
    auto registry = context.openRegistry();
    if (!registry)
        return exitcode::Failure;
    reg::HKey key = 0;
    const reg::Status s = registry->openKeyEx(root, subPath, 0, reg::KEY_ALL_USED, &key);
    if (s == reg::status::FileNotFound)
        return context.fail(QStringLiteral("the key %1 does not exist").arg(keyName));
    if (s != reg::status::Success)
        return context.fail(QStringLiteral("cannot open %1 (status %2)").arg(keyName).arg(s));
    const QString path = subPath.isEmpty() ? rootName : rootName + u'\\' + subPath;
    QTextStream& out = context.out;
    out << path << '\n';
    QString name;
    std::uint32_t t = 0;
    QByteArray data;
    for (std::uint32_t i = 0; registry->enumValue(key, i, &name, &t, &data) == 0; ++i)
        out << "    " << (name.isEmpty() ? QStringLiteral("(Default)") : name) << "    "
            << reg::regTypeName(t) << "    " << reg::regDataText(t, data) << '\n';
    bool first = true;
    for (std::uint32_t i = 0; registry->enumKeyEx(key, i, &name) == 0; ++i) {
        if (first)
            out << '\n';
        first = false;
        out << path << '\\' << name << '\n';
    }
    out.flush();
    registry->closeKey(key);
    return exitcode::Success;
}

// A field of a tab-separated line: the characters that would break the line are escaped, and
// so the backslash is too.
QString escapedField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\0':
            out += QLatin1String("\\0");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A key line holds no tab or line break, which tells it from a value line.
QString keyLine(QString path) {
    return path.replace(u'\t', QLatin1String("\\t"))
        .replace(u'\n', QLatin1String("\\n"))
        .replace(u'\r', QLatin1String("\\r"));
}

QString dataField(std::uint32_t t, const QByteArray& data) {
    if (t != reg::type::MultiSz)
        return escapedField(reg::regDataText(t, data));
    QByteArray parts = data;
    while (parts.endsWith('\0'))
        parts.chop(1);
    QStringList fields;
    for (const QByteArray& part : parts.split('\0'))
        fields << escapedField(QString::fromUtf8(part));
    return fields.join(QLatin1String("\\0"));
}

int search(OrvxContext& context, const QString& keyName) {
    reg::RegSearchOptions options;
    options.recursive = context.isSet(kRecursive);
    options.find = context.value(kFind);
    options.keyNames = context.isSet(kKeys);
    options.valueNames = context.isSet(kValues);
    options.data = context.isSet(kData);
    options.exact = context.isSet(kExact);
    if (context.isSet(kFind) && options.find.isEmpty())
        return context.fail(QStringLiteral("--find needs a text to find"));
    if (options.find.isEmpty() &&
        (options.keyNames || options.valueNames || options.data || options.exact))
        return context.fail(QStringLiteral("--keys, --values, --data and --exact need --find"));
    if (context.isSet(kType)) {
        std::uint32_t t = 0;
        if (!reg::regTypeFromName(context.value(kType), &t))
            return context.fail(QStringLiteral("%1 is not a value type (REG_SZ, REG_EXPAND_SZ, "
                                               "REG_BINARY, REG_DWORD, REG_MULTI_SZ, ...)")
                                    .arg(context.value(kType)));
        options.valueType = t;
    }
    auto registry = context.openRegistry();
    if (!registry)
        return exitcode::Failure;
    QTextStream& out = context.out;
    const reg::RegSearchResult result =
        reg::searchRegistry(*registry, keyName, options, [&](const reg::RegSearchKey& key) {
            out << keyLine(key.path) << '\n';
            for (const reg::RegSearchValue& v : key.values)
                out << escapedField(v.name) << '\t' << reg::regTypeName(v.type) << '\t'
                    << dataField(v.type, v.data) << '\n';
        });
    out.flush();
    if (result.status != reg::status::Success)
        return context.fail(result.error);
    return result.found > 0 ? exitcode::Success : kExitNothingFound;
}

int runQuery(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx query KEY [--recursive] [--find TEXT] "
                                           "[--keys] [--values] [--data] [--exact] [--type TYPE]"));
    for (const QString& option : {kRecursive, kFind, kKeys, kValues, kData, kExact, kType})
        if (context.isSet(option))
            return search(context, args[0]);
    return listKey(context, args[0]);
}

// A .reg file merged into a registry of its own in memory; null (with the reason printed) when
// it cannot be read or is no registry file.
std::unique_ptr<reg::Registry> fileRegistry(OrvxContext& context, const QString& path) {
    QByteArray bytes;
    QString error = reg::readRegFile(path, &bytes);
    auto registry = reg::Registry::inMemory();
    if (error.isEmpty()) {
        const reg::RegImport in = reg::importRegFile(*registry, bytes);
        for (const QString& warning : in.warnings)
            context.err << "orvx: " << path << ": " << warning << '\n';
        context.err.flush();
        if (!in.error.isEmpty())
            error = QStringLiteral("%1: %2").arg(path, in.error);
    }
    if (!error.isEmpty()) {
        context.fail(error);
        return nullptr;
    }
    return registry;
}

int runCompare(OrvxContext& context, const QStringList& args) {
    if (args.size() != 2)
        return context.fail(QStringLiteral("usage: orvx compare A.reg B.reg | KEY FILE.reg"));
    reg::HKey root = 0;
    QString rootName, subPath;
    const bool keyFirst = reg::splitRegKeyName(args[0], &root, &rootName, &subPath);
    const auto after = fileRegistry(context, args[1]);
    if (!after)
        return exitcode::Failure;
    const auto before = keyFirst ? context.openRegistry() : fileRegistry(context, args[0]);
    if (!before)
        return exitcode::Failure;
    const reg::RegDiff diff = keyFirst ? reg::compareRegistryKeys(*before, *after, args[0])
                                       : reg::compareRegistries(*before, *after);
    if (!diff.error.isEmpty())
        return context.fail(diff.error);
    for (const reg::RegChange& c : diff.changes)
        context.out << reg::describeRegChange(c) << '\n';
    context.out.flush();
    return diff.changes.empty() ? exitcode::Success : kExitDiffer;
}

} // namespace

QList<OrvxCommand> queryCommands() {
    return {
        {QStringLiteral("query"),
         QStringLiteral("query KEY [--recursive] [--find TEXT]"),
         QStringLiteral("list KEY's values and subkeys; with options, list or search the "
                        "subtree as KEY and NAME<TAB>TYPE<TAB>DATA lines (also --keys, --values, "
                        "--data, --exact, --type TYPE; exit 1 when nothing is found)"),
         runQuery,
         {QCommandLineOption(kRecursive, QStringLiteral("query: every key and value below KEY.")),
          QCommandLineOption(kFind,
                             QStringLiteral("query: only keys, value names and data that "
                                            "contain <text>, in any case."),
                             QStringLiteral("text")),
          QCommandLineOption(kKeys, QStringLiteral("query: --find looks in key names.")),
          QCommandLineOption(kValues, QStringLiteral("query: --find looks in value names.")),
          QCommandLineOption(kData, QStringLiteral("query: --find looks in value data.")),
          QCommandLineOption(kExact, QStringLiteral("query: --find matches whole texts only.")),
          QCommandLineOption(kType,
                             QStringLiteral("query: only values of <type> (REG_SZ, REG_DWORD, "
                                            "...)."),
                             QStringLiteral("type"))}},
        {QStringLiteral("compare"), QStringLiteral("compare A.reg B.reg | KEY FILE.reg"),
         QStringLiteral("what turns A (or the registry's KEY) into B, as diff shows a merge "
                        "(exit 0 the same, 2 different)"),
         runCompare},
    };
}

} // namespace orvanex::tools
