#include "platform/program_lookup.h"

#include <QStringList>
#include <algorithm>

namespace orvanex::platform {

namespace {

QString variableValue(const QString& upperName) {
    static const QHash<QString, QString> values{
        {QStringLiteral("SYSTEMROOT"), DriveMap::windowsDirectory()},
        {QStringLiteral("WINDIR"), DriveMap::windowsDirectory()},
        {QStringLiteral("PROGRAMFILES"), QStringLiteral("C:\\Program Files")},
        {QStringLiteral("PROGRAMW6432"), QStringLiteral("C:\\Program Files")},
        {QStringLiteral("PROGRAMFILES(X86)"), QStringLiteral("C:\\Program Files (x86)")},
        {QStringLiteral("COMMONPROGRAMFILES"), QStringLiteral("C:\\Program Files\\Common Files")},
        {QStringLiteral("COMMONPROGRAMFILES(X86)"),
         QStringLiteral("C:\\Program Files (x86)\\Common Files")},
        {QStringLiteral("SYSTEMDRIVE"), QStringLiteral("C:")},
    };
    return values.value(upperName);
}

bool hasProgramSuffix(const QString& name) {
    for (const char* suffix : {".exe", ".com", ".bat", ".cmd"})
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

QString unquoted(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(u'"')) {
        const qsizetype end = t.indexOf(u'"', 1);
        t = end < 0 ? t.mid(1) : t.mid(1, end - 1);
    }
    return t.trimmed();
}

QString fileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1);
}

} // namespace

QString expandWindowsVariables(const QString& text, bool* known) {
    *known = true;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] != u'%') {
            out += text[i++];
            continue;
        }
        const qsizetype end = text.indexOf(u'%', i + 1);
        const QString value =
            end < 0 ? QString() : variableValue(text.mid(i + 1, end - i - 1).toUpper());
        if (value.isEmpty()) { // "%1", "%L", an unset or unknown variable
            *known = false;
            out += text.mid(i);
            break;
        }
        out += value;
        i = end + 1;
    }
    return out;
}

ProgramLookup::ProgramLookup(const DriveMap& drives, QHash<QString, QString> appPaths)
    : m_drives(drives), m_appPaths(std::move(appPaths)) {}

QStringList ProgramLookup::searchFolders() {
    const QString windows = DriveMap::windowsDirectory();
    return {windows + QStringLiteral("\\SYSTEM32"), DriveMap::systemDirectory(), windows};
}

bool ProgramLookup::exists(const QString& windowsPath) const {
    const QString key = windowsPath.toUpper();
    const auto it = m_exists.constFind(key);
    if (it != m_exists.cend())
        return it.value();
    const bool found = m_drives.fileExists(windowsPath);
    m_exists.insert(key, found);
    return found;
}

QString ProgramLookup::locate(const QString& name, bool tryExe, bool useAppPaths,
                              bool* viaAppPaths) const {
    const QString n = name.trimmed();
    if (n.isEmpty())
        return QString();
    const bool withExe = tryExe && !n.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
    auto tryPath = [&](const QString& path) -> QString {
        if (exists(path))
            return path;
        if (withExe && exists(path + QStringLiteral(".exe")))
            return path + QStringLiteral(".exe");
        return QString();
    };
    if (n.size() > 1 && n[1] == u':')
        return tryPath(n);
    if (n.startsWith(u'\\')) // the root of the system drive
        return tryPath(QStringLiteral("C:") + n);
    for (const QString& folder : searchFolders())
        if (const QString found = tryPath(folder + u'\\' + n); !found.isEmpty())
            return found;
    if (!useAppPaths)
        return QString();
    QString key = fileNamePart(n).toUpper();
    auto registered = m_appPaths.constFind(key);
    if (registered == m_appPaths.cend() && withExe)
        registered = m_appPaths.constFind(key + QStringLiteral(".EXE"));
    if (registered == m_appPaths.cend())
        return QString();
    bool known = false;
    const QString target = expandWindowsVariables(unquoted(registered.value()), &known);
    if (!known)
        return QString();
    const QString found = locate(target, false, false, viaAppPaths);
    if (!found.isEmpty() && viaAppPaths)
        *viaAppPaths = true;
    return found;
}

FoundFile ProgramLookup::program(const QString& commandLine) const {
    FoundFile result;
    const QString text = commandLine.trimmed();
    if (text.isEmpty())
        return result;
    QStringList candidates;
    if (text.startsWith(u'"')) {
        candidates.append(unquoted(text));
    } else {
        // CreateProcess reads "C:\Program Files\App\app.exe /x" as C:\Program, then
        // "C:\Program Files\App\app.exe", and so on, until a file is found.
        for (qsizetype blank = text.indexOf(u' '); blank > 0; blank = text.indexOf(u' ', blank + 1))
            if (!text.left(blank).contains(u'"'))
                candidates.append(text.left(blank));
        if (!text.contains(u'"'))
            candidates.append(text);
    }
    if (candidates.isEmpty())
        return result;
    bool firstKnown = false;
    expandWindowsVariables(candidates.first(), &firstKnown);
    if (!firstKnown || candidates.first().isEmpty())
        return result; // "%1" %*: the document itself is the program
    result.checkable = true;
    for (const QString& c : std::as_const(candidates)) {
        bool known = false;
        const QString expanded = expandWindowsVariables(c, &known);
        if (!known)
            continue;
        bool viaAppPaths = false;
        const QString found = locate(expanded, true, true, &viaAppPaths);
        if (!found.isEmpty()) {
            result.named = c;
            result.found = found;
            result.viaAppPaths = viaAppPaths;
            return result;
        }
    }
    result.named = candidates.first();
    for (const QString& c : std::as_const(candidates))
        if (hasProgramSuffix(c)) {
            result.named = c;
            break;
        }
    return result;
}

FoundFile ProgramLookup::iconFile(const QString& file) const {
    FoundFile result;
    const QString name = unquoted(file);
    bool known = false;
    const QString expanded = expandWindowsVariables(name, &known);
    if (!known || expanded.isEmpty())
        return result;
    result.checkable = true;
    result.named = name;
    result.found = locate(expanded, false, false, nullptr);
    return result;
}

} // namespace orvanex::platform
