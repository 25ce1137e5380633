#include "registry/nt_windows.h"

#include <QDir>
#include <QFileInfo>

namespace orvanex::reg {

namespace {

const QStringList MachineHiveParts = {QStringLiteral("Windows"), QStringLiteral("System32"),
                                      QStringLiteral("config"), QStringLiteral("SOFTWARE")};
const QStringList UserHiveParts = {QStringLiteral("AppData"), QStringLiteral("Local"),
                                   QStringLiteral("Microsoft"), QStringLiteral("Windows"),
                                   QStringLiteral("UsrClass.dat")};

QString entryWithoutCase(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return QString();
}

} // namespace

QString findPathWithoutCase(const QString& folder, const QStringList& parts) {
    QString current = folder;
    for (const QString& part : parts) {
        current = entryWithoutCase(current, part);
        if (current.isEmpty())
            return QString();
    }
    return current;
}

bool locateWindows(const QString& root, const QString& user, NtLocation* where, QString* why) {
    *where = NtLocation();
    where->windowsRoot = QDir::cleanPath(QDir::current().absoluteFilePath(root));
    if (!QFileInfo(where->windowsRoot).isDir()) {
        *why = QStringLiteral("%1 is not a folder").arg(where->windowsRoot);
        return false;
    }
    where->machineHive = findPathWithoutCase(where->windowsRoot, MachineHiveParts);
    if (where->machineHive.isEmpty()) {
        *why = QStringLiteral("%1 is not a Windows installation: it has no "
                              "Windows\\System32\\config\\SOFTWARE")
                   .arg(where->windowsRoot);
        return false;
    }
    where->hiberfil = findPathWithoutCase(where->windowsRoot, {QStringLiteral("hiberfil.sys")});
    const QString users = findPathWithoutCase(where->windowsRoot, {QStringLiteral("Users")});
    if (!user.isEmpty()) {
        const QString home = users.isEmpty() ? QString() : findPathWithoutCase(users, {user});
        where->userHive = home.isEmpty() ? QString() : findPathWithoutCase(home, UserHiveParts);
        if (where->userHive.isEmpty()) {
            *why = QStringLiteral("the Windows user %1 has no classes hive "
                                  "(Users\\%1\\AppData\\Local\\Microsoft\\Windows\\UsrClass.dat)")
                       .arg(user);
            return false;
        }
        where->user = QFileInfo(home).fileName();
        return true;
    }
    QStringList found;
    QString hive;
    if (!users.isEmpty())
        for (const QString& name : QDir(users).entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                         QDir::Name | QDir::IgnoreCase)) {
            const QString h = findPathWithoutCase(QDir(users).filePath(name), UserHiveParts);
            if (!h.isEmpty() && QFileInfo(h).isFile()) {
                found.append(name);
                hive = h;
            }
        }
    if (found.size() > 1) {
        *why = QStringLiteral("%1 has several users with a classes hive; choose one with "
                              "--windows-user: %2")
                   .arg(where->windowsRoot, found.join(QStringLiteral(", ")));
        return false;
    }
    if (found.size() == 1) {
        where->userHive = hive;
        where->user = found.first();
    }
    return true;
}

bool locateHiveFiles(const QString& machineHive, const QString& userHive, NtLocation* where,
                     QString* why) {
    *where = NtLocation();
    where->machineHive = QDir::cleanPath(QDir::current().absoluteFilePath(machineHive));
    if (!userHive.isEmpty())
        where->userHive = QDir::cleanPath(QDir::current().absoluteFilePath(userHive));
    for (const QString& path : {where->machineHive, where->userHive})
        if (!path.isEmpty() && !QFileInfo(path).isFile()) {
            *why = QStringLiteral("%1 is not a file").arg(path);
            return false;
        }
    return true;
}

QString describeLocation(const NtLocation& where) {
    if (!where.windowsRoot.isEmpty())
        return where.user.isEmpty()
                   ? QStringLiteral("Windows registry of %1").arg(where.windowsRoot)
                   : QStringLiteral("Windows registry of %1 (user %2)")
                         .arg(where.windowsRoot, where.user);
    return where.userHive.isEmpty()
               ? QStringLiteral("Windows hive %1").arg(where.machineHive)
               : QStringLiteral("Windows hives %1 and %2").arg(where.machineHive, where.userHive);
}

} // namespace orvanex::reg
