#pragma once
// The walk of one folder tree or of all drives: each real folder once (by device and inode), no
// links followed, pseudo file systems and unreadable folders left out silently. It runs on any
// thread; the caller stops it through a flag and receives what it finds through a sink.

#include "platform/drives.h"
#include "search/search_pattern.h"

#include <QByteArray>
#include <QList>
#include <atomic>
#include <cstdint>
#include <unordered_set>

namespace orvanex::search {

struct WalkCounts {
    qint64 folders = 0; // folders scanned
    qint64 files = 0;   // files that matched
    double bytes = 0;   // their sizes added up (as the window's counter keeps them)
};

// "The folder C:\\x\\ does not exist." (the folder as the user sees it, with its trailing
// separator): what a search says instead of starting in a folder that is not there.
QString FolderMissingText(const QString& shownFolder);

class WalkSink {
public:
    virtual ~WalkSink() = default;
    // A folder is about to be listed (native path).
    virtual void folder(const QByteArray& path) { (void)path; }
    // A regular file that matched the filter; size is -1 when sizes were not asked for.
    virtual void file(int rootIndex, const QByteArray& path, qint64 size) = 0;
};

struct WalkOptions {
    // Files and sub-folders of each folder in byte order of their names (the folder search lists
    // them like a sorted folder list); else in the order the file system returns them.
    bool sorted = false;
    // Read each matching file's size (one stat per match).
    bool sizes = true;
};

class FileWalk {
public:
    // roots are walked in order; a folder met again (through another root, a bind mount or a
    // second drive letter) is skipped. pseudoDevices are never entered.
    FileWalk(QList<platform::DriveRoot> roots, NameFilter filter, WalkOptions options = {},
             std::unordered_set<dev_t> pseudoDevices = {});

    // Walks until done or until stop turns true; returns false when stopped.
    bool run(WalkSink& sink, const std::atomic_bool& stop);
    const WalkCounts& counts() const { return m_counts; }
    const QList<platform::DriveRoot>& roots() const { return m_roots; }

    // The roots of "all drives": every drive of the map, with the pseudo file systems of this
    // machine's mount table to leave out.
    static FileWalk allDrives(const platform::DriveMap& drives, NameFilter filter,
                              WalkOptions options = {});
    // One folder tree; folder is a native path. The root's Windows name is the folder's Windows
    // path in the drive map (or the native path when no drive holds it).
    static FileWalk folderTree(const platform::DriveMap& drives, const QString& folder,
                               NameFilter filter, WalkOptions options = {});

private:
    struct DevIno {
        dev_t dev;
        ino_t ino;
        bool operator==(const DevIno&) const = default;
    };
    struct DevInoHash {
        size_t operator()(const DevIno& d) const noexcept {
            return std::hash<std::uint64_t>()(std::uint64_t(d.dev) * 0x9E3779B97F4A7C15ull ^
                                              std::uint64_t(d.ino));
        }
    };
    bool scanFolder(int rootIndex, const QByteArray& path, QList<QByteArray>& subfolders,
                    WalkSink& sink, const std::atomic_bool& stop);

    QList<platform::DriveRoot> m_roots;
    NameFilter m_filter;
    WalkOptions m_options;
    std::unordered_set<dev_t> m_pseudo;
    std::unordered_set<DevIno, DevInoHash> m_visited;
    WalkCounts m_counts;
};

} // namespace orvanex::search
