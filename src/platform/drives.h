#pragma once
// The logical drives of a drive map, and the mounted file systems a walk of them must leave out.

#include "platform/drive_map.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <sys/types.h>
#include <unordered_set>

namespace orvanex::platform {

struct MountEntry {
    QByteArray mountPoint; // native bytes, escapes of the mount table undone
    QByteArray fsType;
    dev_t device = 0;
};

// The mount table of /proc/self/mountinfo (or of a file in that format, for tests); empty when it
// cannot be read.
QList<MountEntry> readMountTable(const QString& path = QStringLiteral("/proc/self/mountinfo"));
QList<MountEntry> parseMountTable(const QByteArray& text);
// True for file systems that hold no user files: kernel views (proc, sysfs, cgroup, devtmpfs,
// ...) and memory file systems (tmpfs, ramfs), which are no drive's disk.
bool isPseudoFileSystem(const QByteArray& fsType);
// The devices of the pseudo file systems of a mount table.
std::unordered_set<dev_t> pseudoDevices(const QList<MountEntry>& mounts);

struct DriveRoot {
    QChar letter;
    QByteArray native;   // the drive's folder, native bytes, no trailing "/" except for "/"
    QString windowsRoot; // "C:\"
};

// Every mapped drive, in letter order, whose folder exists.
QList<DriveRoot> driveRoots(const DriveMap& drives);

// "C:\dir\name" for a native path below root; bytes that are not UTF-8 show as U+FFFD.
QString windowsPathBelow(const DriveRoot& root, const QByteArray& nativePath);
// The same as bytes, for output that must name the file exactly: invalid UTF-8 kept as it is.
QByteArray windowsPathBytesBelow(const DriveRoot& root, const QByteArray& nativePath);

} // namespace orvanex::platform
