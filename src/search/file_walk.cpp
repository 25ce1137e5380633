#include "search/file_walk.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvanex::search {

namespace {

// Names as a folder list shows them: without regard to ASCII case, ties by bytes.
bool nameLess(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

struct FoundName {
    QByteArray name;
    qint64 size;
};

} // namespace

FileWalk::FileWalk(QList<platform::DriveRoot> roots, NameFilter filter, WalkOptions options,
                   std::unordered_set<dev_t> pseudoDevices)
    : m_roots(std::move(roots)), m_filter(std::move(filter)), m_options(options),
      m_pseudo(std::move(pseudoDevices)) {}

FileWalk FileWalk::allDrives(const platform::DriveMap& drives, NameFilter filter,
                             WalkOptions options) {
    return FileWalk(platform::driveRoots(drives), std::move(filter), options,
                    platform::pseudoDevices(platform::readMountTable()));
}

FileWalk FileWalk::folderTree(const platform::DriveMap& drives, const QString& folder,
                              NameFilter filter, WalkOptions options) {
    platform::DriveRoot root;
    root.native = QFile::encodeName(folder);
    while (root.native.size() > 1 && root.native.endsWith('/'))
        root.native.chop(1);
    QString windows = drives.toWindows(folder);
    if (windows.isEmpty()) {
        windows = QFileInfo(folder).absoluteFilePath();
        if (!windows.endsWith(u'/'))
            windows += u'/';
    } else {
        root.letter = windows[0];
        if (!windows.endsWith(u'\\'))
            windows += u'\\';
    }
    root.windowsRoot = windows;
    return FileWalk({root}, std::move(filter), options,
                    platform::pseudoDevices(platform::readMountTable()));
}

bool FileWalk::run(WalkSink& sink, const std::atomic_bool& stop) {
    QList<QByteArray> stack;
    QList<QByteArray> subfolders;
    for (int r = 0; r < m_roots.size(); ++r) {
        stack.clear();
        stack.append(m_roots[r].native);
        while (!stack.isEmpty()) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            const QByteArray path = stack.takeLast();
            subfolders.clear();
            if (!scanFolder(r, path, subfolders, sink, stop))
                return false;
            // Pushed in reverse, so the first sub-folder is walked next: parents before children.
            for (qsizetype i = subfolders.size() - 1; i >= 0; --i)
                stack.append(std::move(subfolders[i]));
        }
    }
    return true;
}

bool FileWalk::scanFolder(int rootIndex, const QByteArray& path, QList<QByteArray>& subfolders,
                          WalkSink& sink, const std::atomic_bool& stop) {
    // The root may be a link the user chose; below it, links are never followed.
    const bool isRoot = path == m_roots[rootIndex].native;
    const int fd =
        ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return true; // unreadable or vanished: skipped without a word
    struct stat st;
    if (::fstat(fd, &st) != 0 || m_pseudo.count(st.st_dev) != 0 ||
        !m_visited.insert(DevIno{st.st_dev, st.st_ino}).second) {
        ::close(fd);
        return true;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return true;
    }
    ++m_counts.folders;
    sink.folder(path);

    QByteArray prefix = path;
    if (!prefix.endsWith('/'))
        prefix.append('/');
    QList<FoundName> found;
    QList<QByteArray> subNames;
    bool stopped = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (stop.load(std::memory_order_relaxed)) {
            stopped = true;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        const size_t length = std::strlen(name);
        unsigned char type = entry->d_type;
        struct stat entryStat;
        bool haveStat = false;
        if (type == DT_UNKNOWN) {
            if (::fstatat(::dirfd(dir), name, &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            haveStat = true;
            type = S_ISDIR(entryStat.st_mode) ? DT_DIR : S_ISREG(entryStat.st_mode) ? DT_REG : 0;
        }
        if (type == DT_DIR) {
            subNames.append(QByteArray(name, qsizetype(length)));
            continue;
        }
        if (type != DT_REG || !m_filter.matches(name, length))
            continue;
        qint64 size = -1;
        if (m_options.sizes) {
            if (!haveStat && ::fstatat(::dirfd(dir), name, &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished between listing and reading
            if (!S_ISREG(entryStat.st_mode))
                continue;
            size = qint64(entryStat.st_size);
        }
        if (m_options.sorted) {
            found.append({QByteArray(name, qsizetype(length)), size});
            continue;
        }
        ++m_counts.files;
        if (size > 0)
            m_counts.bytes += double(size);
        sink.file(rootIndex, prefix + QByteArray::fromRawData(name, qsizetype(length)), size);
    }
    ::closedir(dir);
    if (stopped)
        return false;

    if (m_options.sorted) {
        std::sort(found.begin(), found.end(),
                  [](const FoundName& a, const FoundName& b) { return nameLess(a.name, b.name); });
        std::sort(subNames.begin(), subNames.end(), nameLess);
        for (const FoundName& f : found) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            ++m_counts.files;
            if (f.size > 0)
                m_counts.bytes += double(f.size);
            sink.file(rootIndex, prefix + f.name, f.size);
        }
    }
    subfolders.reserve(subNames.size());
    for (const QByteArray& name : subNames)
        subfolders.append(prefix + name);
    return true;
}

QString FolderMissingText(const QString& shownFolder) {
    QString folder = shownFolder;
    const QChar separator = folder.startsWith(u'/') ? u'/' : u'\\';
    if (!folder.endsWith(separator))
        folder += separator;
    return QStringLiteral("The folder ") + folder + QStringLiteral(" does not exist.");
}

} // namespace orvanex::search
