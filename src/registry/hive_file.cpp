#include "registry/hive_file.h"
#include "registry/registry_log.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::reg {

namespace {

bool writeAll(int fd, const QByteArray& bytes, qint64 at) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(at + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : QByteArray("/");
}

void syncDirectory(const QByteArray& filePath) {
    const int fd = ::open(folderOf(filePath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

QByteArray absolutePath(const QByteArray& path) {
    if (path.startsWith('/'))
        return path;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd))
        return path;
    QByteArray out(cwd);
    if (!out.endsWith('/'))
        out += '/';
    return out + path;
}

// mkdir -p by the path's own bytes.
bool makeFolders(const QByteArray& folder) {
    struct stat st {};
    if (::stat(folder.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolders(folder.left(slash)))
        return false;
    return ::mkdir(folder.constData(), 0777) == 0 || errno == EEXIST;
}

// Writes bytes to a new file that no other name holds yet ("<base>", then "<base>-2", ...),
// flushed to the disk. The name used lands in *used.
bool writeNewFile(const QByteArray& base, const QByteArray& bytes, QByteArray* used) {
    for (int n = 1; n < 1000; ++n) {
        *used = n == 1 ? base : base + '-' + QByteArray::number(n);
        const int fd = ::open(used->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        const bool ok = writeAll(fd, bytes, 0) && ::fsync(fd) == 0;
        ::close(fd);
        if (!ok)
            ::unlink(used->constData());
        return ok;
    }
    return false;
}

} // namespace

QByteArray realHivePath(const QByteArray& nativePath) {
    QByteArray path = absolutePath(nativePath);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n <= 0 || size_t(n) >= sizeof target)
            break;
        const QByteArray link(target, n);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    const qsizetype slash = path.lastIndexOf('/');
    char* folder = ::realpath(folderOf(path).constData(), nullptr);
    if (!folder)
        return path;
    QByteArray real(folder);
    std::free(folder);
    if (!real.endsWith('/'))
        real += '/';
    return real + path.mid(slash + 1);
}

HiveFile::HiveFile(const QByteArray& nativePath)
    : m_path(QFile::decodeName(absolutePath(nativePath))), m_nativePath(realHivePath(nativePath)) {}

HiveFile::~HiveFile() {
    pin(-1);
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

void HiveFile::pin(int fd) {
    if (m_pinFd >= 0)
        ::close(m_pinFd);
    m_pinFd = fd;
}

Status HiveFile::statusFromErrno(int err) const {
    return err == EACCES || err == EPERM || err == EROFS ? status::AccessDenied : status::CantWrite;
}

bool HiveFile::readAll(int fd, qint64 from, QByteArray* out) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    // Read in place, with a byte of room to see the end (or that the file grew meanwhile).
    out->resize(qsizetype(std::max<qint64>(st.st_size - from, 0)) + 1);
    qsizetype have = 0;
    while (true) {
        if (have == out->size())
            out->resize(have + (1 << 16));
        const ssize_t n =
            ::pread(fd, out->data() + have, size_t(out->size() - have), off_t(from + have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            out->resize(have);
            return true;
        }
        have += n;
    }
}

bool HiveFile::load(KeyNode& top, QString* problem) {
    QString reason;
    const Status s = fullReload(top, &reason);
    if (s == status::Success)
        return true;
    *problem = reason;
    return false;
}

bool HiveFile::notWritable() const {
    return m_known && ::access(m_nativePath.constData(), W_OK) != 0;
}

Status HiveFile::fullReload(KeyNode& top, QString* problem) {
    // Non-blocking so that a named pipe in its place cannot hang the program.
    const int fd = ::open(m_nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    KeyNode fresh;
    ensureBaseKeys(fresh);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            *problem = QStringLiteral("cannot read the registry hive %1: %2")
                           .arg(m_path, errnoText(errno));
            return status::RegistryCorrupt;
        }
        top.adopt(fresh);
        pin(-1);
        m_known = m_needsHeader = false;
        m_committedEnd = m_snapshotSize = 0;
        m_tornTail = false;
        return status::Success;
    }
    QByteArray text;
    struct stat st {};
    bool read = ::fstat(fd, &st) == 0;
    if (read && !S_ISREG(st.st_mode)) // a device would be read without end
        read = false, errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    read = read && readAll(fd, 0, &text);
    const int readErr = errno;
    if (!read) {
        ::close(fd);
        *problem =
            QStringLiteral("cannot read the registry hive %1: %2").arg(m_path, errnoText(readErr));
        return status::RegistryCorrupt;
    }
    const HiveParse parse = applyHiveText(text, true, fresh);
    if (!parse.ok) {
        ::close(fd);
        *problem = QStringLiteral("the registry hive %1 is damaged (%2); it is left untouched")
                       .arg(m_path, parse.error);
        return status::RegistryCorrupt;
    }
    ensureBaseKeys(fresh);
    top.adopt(fresh);
    pin(fd);
    if (m_fd >= 0 && (st.st_dev != m_dev || st.st_ino != m_ino)) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_known = true;
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    m_committedEnd = parse.committedEnd;
    // Empty, or a header cut short: the first write makes it a whole snapshot, which starts with
    // the same bytes.
    m_needsHeader = parse.committedEnd == 0;
    m_tornTail = parse.tornTail && !m_needsHeader;
    m_sequence = parse.lastSequence;
    // The first block is the snapshot when the file was written whole; treat it so.
    m_snapshotSize = std::min<qint64>(parse.committedEnd, text.indexOf("\ncommit ") + 1);
    return status::Success;
}

Status HiveFile::lockAndSync(KeyNode& top, QString* problem) {
    if (m_lockFd < 0) {
        if (!makeFolders(folderOf(m_nativePath)))
            return status::CantWrite;
        m_lockFd = ::open((m_nativePath + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_lockFd < 0)
            return statusFromErrno(errno);
    }
    while (::flock(m_lockFd, LOCK_EX) != 0)
        if (errno != EINTR)
            return status::CantWrite;

    struct stat st {};
    Status s = status::Success;
    if (::stat(m_nativePath.constData(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            s = status::RegistryCorrupt, *problem = errnoText(errno);
        else if (m_known)
            s = fullReload(top, problem); // removed behind our back: follow the disk
    } else if (!m_known || m_needsHeader || st.st_dev != m_dev || st.st_ino != m_ino ||
               st.st_size < m_committedEnd) {
        s = fullReload(top, problem);
    } else if (st.st_size > m_committedEnd) {
        s = ensureAppendFd();
        QByteArray tail;
        if (s == status::Success && !readAll(m_fd, m_committedEnd, &tail))
            s = status::CantRead;
        if (s == status::Success) {
            const HiveParse parse = applyHiveText(tail, false, top);
            ensureBaseKeys(top);
            m_committedEnd += parse.committedEnd;
            m_tornTail = parse.tornTail;
            if (parse.committedEnd > 0)
                m_sequence = parse.lastSequence;
            if (!parse.ok) {
                *problem = QStringLiteral("the registry hive %1 is damaged (%2); it is left "
                                          "untouched")
                               .arg(m_path, parse.error);
                s = status::RegistryCorrupt;
            }
        }
    }
    if (s != status::Success)
        unlock();
    return s;
}

void HiveFile::unlock() {
    if (m_lockFd >= 0)
        ::flock(m_lockFd, LOCK_UN);
}

Status HiveFile::ensureAppendFd() {
    if (m_fd >= 0)
        return status::Success;
    m_fd = ::open(m_nativePath.constData(), O_RDWR | O_CLOEXEC);
    if (m_fd < 0)
        return statusFromErrno(errno);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || st.st_dev != m_dev || st.st_ino != m_ino) {
        ::close(m_fd), m_fd = -1; // replaced by something that does not take the lock
        return status::CantWrite;
    }
    return status::Success;
}

Status HiveFile::setAsideTornTail() {
    if (!m_tornTail)
        return status::Success;
    QByteArray tail;
    if (Status s = ensureAppendFd())
        return s;
    if (!readAll(m_fd, m_committedEnd, &tail))
        return status::CantRead;
    if (!tail.isEmpty()) {
        const QByteArray stamp = QDateTime::currentDateTimeUtc()
                                     .toString(QStringLiteral("yyyyMMddThhmmsszzzZ"))
                                     .toLatin1();
        QByteArray copy;
        if (!writeNewFile(m_nativePath + ".torn-" + stamp, tail, &copy)) {
            const int err = errno;
            qCWarning(lcHive).noquote()
                << QStringLiteral("the unfinished change at the end of the registry hive %1 "
                                  "could not be kept aside (%2); the hive is left as it is")
                       .arg(m_path, errnoText(err));
            return statusFromErrno(err);
        }
        syncDirectory(m_nativePath);
        qCWarning(lcHive).noquote()
            << QStringLiteral("%1 bytes at the end of the registry hive %2 hold no complete "
                              "change; they were moved to %3")
                   .arg(tail.size())
                   .arg(m_path, QFile::decodeName(copy));
    }
    m_tornTail = false;
    return status::Success;
}

Status HiveFile::writeSnapshot(const KeyNode& top) {
    if (Status s = setAsideTornTail())
        return s;
    const QByteArray bytes = encodeSnapshot(top, ++m_sequence);
    const QByteArray temp = m_nativePath + ".new";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return statusFromErrno(errno);
    struct stat st {};
    const bool ok = writeAll(fd, bytes, 0) && ::fsync(fd) == 0 && ::fstat(fd, &st) == 0;
    const int err = errno;
    if (!ok || ::rename(temp.constData(), m_nativePath.constData()) != 0) {
        ::close(fd);
        ::unlink(temp.constData());
        return statusFromErrno(ok ? errno : err);
    }
    syncDirectory(m_nativePath);
    pin(fd);
    if (m_fd >= 0)
        ::close(m_fd), m_fd = -1;
    m_known = true;
    m_needsHeader = false;
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    m_committedEnd = m_snapshotSize = bytes.size();
    m_tornTail = false;
    return status::Success;
}

Status HiveFile::commitAndUnlock(const std::vector<HiveOp>& ops, const KeyNode& top) {
    Status s = status::Success;
    if (ops.empty()) {
    } else if (!m_known || m_needsHeader) {
        s = writeSnapshot(top);
    } else if ((s = ensureAppendFd()) == status::Success) {
        if (m_tornTail && (s = setAsideTornTail()) == status::Success &&
            ::ftruncate(m_fd, off_t(m_committedEnd)) != 0)
            s = statusFromErrno(errno);
        const QByteArray block = encodeBlock(ops, m_sequence + 1);
        if (s == status::Success && writeAll(m_fd, block, m_committedEnd) &&
            ::fdatasync(m_fd) == 0) {
            m_committedEnd += block.size();
            m_tornTail = false;
            ++m_sequence;
            if (m_committedEnd - m_snapshotSize > std::max(JournalFoldThreshold, m_snapshotSize))
                writeSnapshot(top); // the journal above stays valid if this fails
        } else if (s == status::Success) {
            s = statusFromErrno(errno);
            // Only this process's own unfinished block is cut here.
            if (::ftruncate(m_fd, off_t(m_committedEnd)) != 0)
                m_tornTail = true;
        }
    }
    unlock();
    return s;
}

Status HiveFile::compact(const KeyNode& top) {
    return writeSnapshot(top);
}

void HiveFile::reload(KeyNode& top) {
    QString ignored;
    fullReload(top, &ignored);
}

} // namespace orvanex::reg
