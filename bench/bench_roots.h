#pragma once
// The folders the all-drives benchmarks hand to find(1), so that it walks what orvx walks.

#include "platform/drives.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QStringList>
#include <sys/stat.h>

namespace orvanex::bench {

// The drive folders and the real file systems mounted below them (the walk crosses into those,
// find -xdev does not), without a root inside another one on the same device (find -xdev would
// walk it twice). A mount outside every drive is no part of the walk.
inline QStringList findRoots(const platform::DriveMap& drives) {
    QList<QByteArray> candidates;
    const QList<platform::DriveRoot> driveRoots = platform::driveRoots(drives);
    for (const platform::DriveRoot& r : driveRoots)
        candidates << r.native;
    const auto onADrive = [&](const QByteArray& path) {
        for (const platform::DriveRoot& r : driveRoots)
            if (r.native == "/" || path == r.native || path.startsWith(r.native + '/'))
                return true;
        return false;
    };
    for (const platform::MountEntry& m : platform::readMountTable())
        if (!platform::isPseudoFileSystem(m.fsType) && onADrive(m.mountPoint))
            candidates << m.mountPoint;
    QStringList roots;
    QList<QPair<QByteArray, dev_t>> kept;
    for (const QByteArray& c : candidates) {
        struct stat st;
        if (::stat(c.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        bool inside = false;
        for (const auto& [k, dev] : kept)
            if (dev == st.st_dev && (k == "/" || c == k || c.startsWith(k + '/')))
                inside = true;
        if (inside)
            continue;
        // An earlier root inside this one goes.
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            if (kept[i].second == st.st_dev && (c == "/" || kept[i].first.startsWith(c + '/'))) {
                roots.removeAt(i);
                kept.removeAt(i);
            }
        kept.append({c, st.st_dev});
        roots << QFile::decodeName(c);
    }
    return roots;
}

} // namespace orvanex::bench
