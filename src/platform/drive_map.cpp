#include "platform/drive_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <sys/stat.h>

namespace orvanex::platform {

namespace {

// Splits the part after "X:" into components; "." is dropped and ".." steps back without leaving
// the drive, as Windows resolves them by text.
QStringList windowsComponents(const QString& rest) {
    QStringList parts;
    for (const QString& piece :
         rest.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("."))
            continue;
        if (piece == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(piece);
    }
    return parts;
}

QString joinNative(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The folder's change time in nanoseconds, or -1 when it cannot be read.
qint64 changeTime(const QString& folder) {
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The partition root of a Windows installation whose SOFTWARE hive this is
// (<root>/Windows/System32/config/SOFTWARE, in any case); empty for any other file.
QString windowsRootOf(const QString& hivePath) {
    static const char* const above[] = {"config", "System32", "Windows"};
    QFileInfo at(hivePath);
    if (at.fileName().compare(QLatin1String("SOFTWARE"), Qt::CaseInsensitive) != 0)
        return QString();
    QDir dir = at.absoluteDir();
    for (const char* name : above) {
        if (dir.dirName().compare(QLatin1String(name), Qt::CaseInsensitive) != 0 || !dir.cdUp())
            return QString();
    }
    return dir.absolutePath();
}

// The variables Windows' own paths are written with, as they stand on a standard installation.
QString expandWindowsVariables(const QString& path) {
    static const std::pair<QLatin1String, QLatin1String> variables[] = {
        {QLatin1String("%SystemRoot%"), QLatin1String("C:\\Windows")},
        {QLatin1String("%windir%"), QLatin1String("C:\\Windows")},
        {QLatin1String("%SystemDrive%"), QLatin1String("C:")},
        {QLatin1String("%ProgramFiles%"), QLatin1String("C:\\Program Files")},
        {QLatin1String("%ProgramFiles(x86)%"), QLatin1String("C:\\Program Files (x86)")},
        {QLatin1String("%CommonProgramFiles%"), QLatin1String("C:\\Program Files\\Common Files")},
    };
    if (!path.startsWith(u'%'))
        return path;
    for (const auto& [name, value] : variables)
        if (path.startsWith(name, Qt::CaseInsensitive))
            return value + path.mid(name.size());
    return path;
}

} // namespace

struct DriveMap::ListingCache {
    struct Listing {
        qint64 changed = -1;
        QHash<QString, QString> byLowerName;
    };
    QHash<QString, Listing> folders;
};

// The entry of folder whose name equals name without regard to case; exact matches first.
QString DriveMap::matchEntry(const QString& folder, const QString& name) const {
    const QString exact = joinNative(folder, name);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return name;
    const qint64 changed = changeTime(folder);
    if (changed < 0)
        return QString();
    if (!m_cache)
        m_cache = std::make_shared<ListingCache>();
    ListingCache::Listing& listing = m_cache->folders[folder];
    if (listing.changed != changed) {
        listing.changed = changed;
        listing.byLowerName.clear();
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            listing.byLowerName.insert(entry.toLower(), entry);
    }
    return listing.byLowerName.value(name.toLower());
}

// A Windows installation's own SOFTWARE hive makes its partition drive C:.
DriveMap DriveMap::forHive(const QString& hivePath) {
    DriveMap map;
    if (const QString root = windowsRootOf(hivePath); !root.isEmpty()) {
        map.setDrive(u'C', root);
        map.setDrive(u'Z', QStringLiteral("/"));
        return map;
    }
    const QString folder = QFileInfo(hivePath).absolutePath();
    const QDir devices(folder + QStringLiteral("/dosdevices"));
    if (devices.exists()) {
        const QStringList names =
            devices.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            if (name.size() != 2 || name[1] != u':' || !name[0].isLetter())
                continue;
            const QFileInfo target(devices.filePath(name));
            if (target.isDir())
                map.setDrive(name[0], target.canonicalFilePath());
        }
    }
    if (map.driveFolder(u'C').isEmpty())
        map.setDrive(u'C', driveCFolderForHive(hivePath));
    if (map.driveFolder(u'Z').isEmpty())
        map.setDrive(u'Z', QStringLiteral("/"));
    return map;
}

QString DriveMap::driveCFolderForHive(const QString& hivePath) {
    return QFileInfo(hivePath).absolutePath() + QStringLiteral("/drive_c");
}

void DriveMap::setDrive(QChar letter, const QString& nativeFolder) {
    QString folder = QDir::cleanPath(nativeFolder);
    m_drives.insert(letter.toUpper(), folder);
}

QString DriveMap::driveFolder(QChar letter) const {
    return m_drives.value(letter.toUpper());
}

// %SystemRoot%, %windir%, %ProgramFiles% (and their kin) at the start stand for their folders on
// C:.
QString DriveMap::toNative(const QString& windowsPath) const {
    const QString path = expandWindowsVariables(windowsPath.trimmed());
    if (path.size() < 2 || path[1] != u':' || !path[0].isLetter())
        return QString();
    QString current = driveFolder(path[0]);
    if (current.isEmpty())
        return QString();
    const QStringList parts = windowsComponents(path.mid(2));
    // The spelling as given is the common case and costs one lookup.
    QString direct = current;
    for (const QString& part : parts)
        direct = joinNative(direct, part);
    if (QFileInfo::exists(direct))
        return direct;
    qsizetype i = 0;
    for (; i < parts.size(); ++i) {
        const QString entry = matchEntry(current, parts[i]);
        if (entry.isEmpty())
            break;
        current = joinNative(current, entry);
    }
    for (; i < parts.size(); ++i)
        current = joinNative(current, parts[i]);
    return current;
}

bool DriveMap::fileExists(const QString& windowsPath) const {
    const QString native = toNative(windowsPath);
    return !native.isEmpty() && QFileInfo(native).isFile();
}

QString DriveMap::toWindows(const QString& nativePath) const {
    const QString path = QDir::cleanPath(QFileInfo(nativePath).absoluteFilePath());
    QChar best;
    qsizetype bestLength = -1;
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it) {
        const QString& folder = it.value();
        const bool inside =
            path == folder || folder == QLatin1String("/") || path.startsWith(folder + u'/');
        if (inside && folder.size() > bestLength) {
            best = it.key();
            bestLength = folder.size();
        }
    }
    if (bestLength < 0)
        return QString();
    QString rest = path.mid(bestLength == 1 ? 1 : bestLength);
    if (rest.startsWith(u'/'))
        rest.remove(0, 1);
    rest.replace(u'/', u'\\');
    return QString(best) + QStringLiteral(":\\") + rest;
}

QString DriveMap::windowsDirectory() {
    return QStringLiteral("C:\\WINDOWS");
}

QString DriveMap::systemDirectory() {
    return QStringLiteral("C:\\WINDOWS\\SYSTEM");
}

} // namespace orvanex::platform
