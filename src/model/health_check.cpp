#include "model/health_check.h"

#include "model/icon_location.h"
#include "model/loading.h"
#include "model/readers.h"
#include "model/registry_access.h"
#include "platform/icon_file.h"
#include "platform/program_lookup.h"

#include <QSet>
#include <algorithm>
#include <climits>

namespace orvanex::model {

namespace {

const QString kAppPathsKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");

// One finding a line: tabs and line breaks of registry texts become blanks.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

// The icon number a DefaultIcon names: a resource id when negative, as ExtractIcon reads it.
std::int64_t iconNumber(const QString& indexText) {
    const QString t = indexText.trimmed();
    qsizetype i = 0;
    const bool negative = t.startsWith(u'-');
    if (negative)
        ++i;
    std::int64_t n = 0;
    for (; i < t.size() && t[i].isDigit() && n < INT32_MAX; ++i)
        n = n * 10 + (t[i].unicode() - u'0');
    return negative ? -n : n;
}

struct IconFacts {
    int count = 0;
    QSet<std::uint32_t> groupIds;
};

class Checker {
public:
    Checker(reg::RegState& state, const platform::DriveMap& drives)
        : m_state(state), m_drives(drives), m_lookup(drives, ReadAppPaths(*state.registry)) {}

    void checkType(const QString& typeName, HealthReport& report);
    int iconFilesRead() const { return int(m_icons.size()); }

private:
    void add(HealthReport& r, FindingKind kind, const QString& type, const QString& verb,
             const QString& detail) {
        r.findings.append({kind, type, oneLine(detail), type, verb});
    }
    void checkIcon(const QString& typeName, const QString& value, HealthReport& report);
    const IconFacts& iconFacts(const QString& windowsPath);

    reg::RegState& m_state;
    const platform::DriveMap& m_drives;
    platform::ProgramLookup m_lookup;
    QHash<QString, IconFacts> m_icons; // by upper-cased Windows path: each file read once
};

const IconFacts& Checker::iconFacts(const QString& windowsPath) {
    const QString key = windowsPath.toUpper();
    auto it = m_icons.find(key);
    if (it == m_icons.end()) {
        IconFacts facts;
        const platform::IconFile file(m_drives.toNative(windowsPath));
        facts.count = file.count();
        const QList<std::uint32_t> ids = file.iconGroupIds();
        facts.groupIds = QSet<std::uint32_t>(ids.cbegin(), ids.cend());
        it = m_icons.insert(key, facts);
    }
    return it.value();
}

void Checker::checkIcon(const QString& typeName, const QString& value, HealthReport& report) {
    const IconLocation icon = SplitIconLocation(value);
    const platform::FoundFile file = m_lookup.iconFile(icon.File);
    if (!file.checkable)
        return; // "%1": the document's own icon
    if (file.found.isEmpty()) {
        add(report, FindingKind::MissingIcon, typeName, QString(),
            QStringLiteral("%1 does not exist (icon: %2)").arg(file.named, icon.Raw));
        return;
    }
    if (!isIconKind(icon.Kind))
        return;
    const IconFacts& facts = iconFacts(file.found);
    const std::int64_t n = iconNumber(icon.IndexText);
    if (n >= 0 && n >= facts.count)
        add(report, FindingKind::BadIconIndex, typeName, QString(),
            QStringLiteral("%1: index %2, but %3 holds %4 icon(s)")
                .arg(icon.Raw)
                .arg(n)
                .arg(file.found)
                .arg(facts.count));
    else if (n < 0 && !facts.groupIds.contains(std::uint32_t(-n)))
        add(report, FindingKind::BadIconIndex, typeName, QString(),
            QStringLiteral("%1: %2 has no icon with resource id %3")
                .arg(icon.Raw, file.found)
                .arg(-n));
}

void Checker::checkType(const QString& typeName, HealthReport& report) {
    detail::OpenedKey typeKey(m_state, typeName);
    if (!typeKey.isOpen())
        return;
    ++report.types;
    detail::OpenedKey shell(typeKey, QStringLiteral("Shell"));
    for (const QString& verb : shell.subkeys()) {
        ++report.actions;
        detail::OpenedKey verbKey(shell, verb);
        QString command;
        if (verbKey.readText(QStringLiteral("command"), QString(), &command)) {
            const platform::FoundFile program = m_lookup.program(command);
            if (program.checkable && program.found.isEmpty())
                add(report, FindingKind::MissingProgram, typeName, verb,
                    QStringLiteral("%1: %2 does not exist (command: %3)")
                        .arg(verb, program.named, command));
        }
        detail::OpenedKey dde(verbKey, QStringLiteral("ddeexec"));
        if (!dde.isOpen())
            continue;
        QString text;
        const bool application = dde.readText(QStringLiteral("application"), QString(), &text) &&
                                 !text.trimmed().isEmpty();
        const bool topic =
            dde.readText(QStringLiteral("topic"), QString(), &text) && !text.trimmed().isEmpty();
        if (!application || !topic)
            add(report, FindingKind::DdeIncomplete, typeName, verb,
                verb + (!application && !topic ? QStringLiteral(": no DDE application and no topic")
                        : !application         ? QStringLiteral(": no DDE application")
                                               : QStringLiteral(": no DDE topic")));
    }
    QString icon;
    if (typeKey.readText(QStringLiteral("DefaultIcon"), QString(), &icon))
        checkIcon(typeName, icon, report);
}

} // namespace

QString findingKindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::MissingType:
        return QStringLiteral("missing-type");
    case FindingKind::MissingProgram:
        return QStringLiteral("missing-program");
    case FindingKind::MissingIcon:
        return QStringLiteral("missing-icon");
    case FindingKind::BadIconIndex:
        return QStringLiteral("bad-icon-index");
    case FindingKind::DdeIncomplete:
        return QStringLiteral("dde-incomplete");
    }
    return QString();
}

QString Finding::line() const {
    return findingKindName(kind) + u'\t' + entry + u'\t' + detail;
}

QHash<QString, QString> ReadAppPaths(reg::Registry& registry) {
    QHash<QString, QString> paths;
    reg::RegState state;
    state.registry = &registry;
    reg::HKey root = 0;
    if (registry.openKeyEx(reg::HKEY_LOCAL_MACHINE, kAppPathsKey, 0, reg::KEY_ALL_USED, &root) !=
        reg::status::Success)
        return paths;
    for (const QString& name : reg::EnumerateSubkeys(state, root)) {
        reg::HKey key = 0;
        if (registry.openKeyEx(root, name, 0, reg::KEY_ALL_USED, &key) != reg::status::Success)
            continue;
        // Installers write REG_EXPAND_SZ here as often as REG_SZ.
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (registry.queryValueEx(key, QString(), &type, nullptr, &size) == reg::status::Success &&
            (type == reg::type::Sz || type == reg::type::ExpandSz) && size < 65536) {
            QByteArray data(qsizetype(size), '\0');
            if (registry.queryValueEx(key, QString(), &type, data.data(), &size) ==
                reg::status::Success)
                paths.insert(name.toUpper(),
                             reg::StripNull(QString::fromUtf8(data.constData(), qsizetype(size))));
        }
        registry.closeKey(key);
    }
    registry.closeKey(root);
    return paths;
}

HealthReport CheckAssociations(reg::RegState& state, const platform::DriveMap& drives,
                               const QList<ExtensionEntry>& extensions,
                               const QList<FileTypeEntry>& types) {
    HealthReport report;
    Checker checker(state, drives);
    QHash<QString, bool> typeOpens; // types share their extensions' names
    for (const ExtensionEntry& e : extensions) {
        ++report.extensions;
        // A key without a type name describes itself: nothing to be missing.
        if (e.TypeName == e.KeyName)
            continue;
        auto it = typeOpens.find(e.TypeName);
        if (it == typeOpens.end())
            it = typeOpens.insert(e.TypeName, detail::keyOpens(state, e.TypeName));
        if (!it.value())
            report.findings.append(
                {FindingKind::MissingType, e.KeyName,
                 oneLine(QStringLiteral("names the type %1, which has no key").arg(e.TypeName)),
                 e.TypeName, QString()});
    }
    for (const FileTypeEntry& t : types)
        checker.checkType(t.TypeName, report);
    report.iconFilesRead = checker.iconFilesRead();
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         if (a.entry != b.entry)
                             return a.entry < b.entry;
                         if (a.kind != b.kind)
                             return a.kind < b.kind;
                         return a.detail < b.detail;
                     });
    return report;
}

HealthReport CheckAssociations(reg::RegState& state, const platform::DriveMap& drives) {
    const ExtensionLoad extensions = LoadExtensions(state);
    const FileTypeLoad types = BuildFileTypes(extensions.entries);
    return CheckAssociations(state, drives, extensions.entries, types.types);
}

} // namespace orvanex::model
