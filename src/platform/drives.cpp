#include "platform/drives.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace orvanex::platform {

namespace {

// The mount table writes blanks, tabs, newlines and backslashes as \ooo.
QByteArray unescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '7' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            out.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return out;
}

} // namespace

QList<MountEntry> readMountTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report size 0, so read until the end rather than by size.
    return parseMountTable(file.readAll());
}

QList<MountEntry> parseMountTable(const QByteArray& all) {
    QList<MountEntry> mounts;
    for (const QByteArray& line : all.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || dash < 6 || dash + 1 >= fields.size())
            continue;
        const QList<QByteArray> majorMinor = fields[2].split(':');
        if (majorMinor.size() != 2)
            continue;
        bool okMajor = false;
        bool okMinor = false;
        const unsigned major = majorMinor[0].toUInt(&okMajor);
        const unsigned minor = majorMinor[1].toUInt(&okMinor);
        if (!okMajor || !okMinor)
            continue;
        mounts.append({unescapeMountField(fields[4]), fields[dash + 1], makedev(major, minor)});
    }
    return mounts;
}

bool isPseudoFileSystem(const QByteArray& fsType) {
    static const char* const kPseudo[] = {
        "proc",        "sysfs",   "cgroup",      "cgroup2",     "devtmpfs",
        "devpts",      "tmpfs",   "ramfs",       "securityfs",  "debugfs",
        "tracefs",     "pstore",  "bpf",         "mqueue",      "hugetlbfs",
        "configfs",    "fusectl", "binfmt_misc", "autofs",      "efivarfs",
        "rpc_pipefs",  "nsfs",    "selinuxfs",   "nfsd",        "fuse.gvfsd-fuse",
        "fuse.portal", "sockfs",  "pipefs",      "anon_inodefs"};
    for (const char* name : kPseudo)
        if (fsType == name)
            return true;
    return false;
}

std::unordered_set<dev_t> pseudoDevices(const QList<MountEntry>& mounts) {
    std::unordered_set<dev_t> devices;
    for (const MountEntry& m : mounts)
        if (isPseudoFileSystem(m.fsType))
            devices.insert(m.device);
    // A real file system mounted on the same device number elsewhere keeps its files.
    for (const MountEntry& m : mounts)
        if (!isPseudoFileSystem(m.fsType))
            devices.erase(m.device);
    return devices;
}

QList<DriveRoot> driveRoots(const DriveMap& drives) {
    QList<DriveRoot> roots;
    for (auto it = drives.drives().cbegin(); it != drives.drives().cend(); ++it) {
        QByteArray native = QFile::encodeName(it.value());
        while (native.size() > 1 && native.endsWith('/'))
            native.chop(1);
        if (native.isEmpty() || !QFileInfo(it.value()).isDir())
            continue;
        roots.append({it.key(), native, QString(it.key()) + QStringLiteral(":\\")});
    }
    return roots;
}

QByteArray windowsPathBytesBelow(const DriveRoot& root, const QByteArray& nativePath) {
    QByteArray rest = nativePath.mid(root.native == "/" ? 1 : root.native.size());
    while (rest.startsWith('/'))
        rest.remove(0, 1);
    // A root outside every drive keeps its native spelling.
    if (!root.windowsRoot.startsWith(u'/'))
        rest.replace('/', '\\');
    return root.windowsRoot.toUtf8() + rest;
}

QString windowsPathBelow(const DriveRoot& root, const QByteArray& nativePath) {
    return QString::fromUtf8(windowsPathBytesBelow(root, nativePath));
}

} // namespace orvanex::platform
