#include "registry/hive_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::reg {

namespace {

// Journals longer than this and than the snapshot get folded into a new snapshot.
constexpr qint64 CompactThreshold = 4 * 1024 * 1024;

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

void syncDirectory(const QByteArray& filePath) {
    const QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(filePath)).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

HiveFile::HiveFile(QString path)
    : m_path(std::move(path)), m_nativePath(QFile::encodeName(m_path)) {}

HiveFile::~HiveFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

Status HiveFile::statusFromErrno(int err) const {
    return err == EACCES || err == EPERM || err == EROFS ? status::AccessDenied : status::CantWrite;
}

bool HiveFile::readAll(int fd, qint64 from, QByteArray* out) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    out->clear();
    if (st.st_size > from)
        out->reserve(qsizetype(st.st_size - from));
    char buffer[1 << 16];
    qint64 at = from;
    while (true) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        out->append(buffer, n);
        at += n;
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
    const int fd = ::open(m_nativePath.constData(), O_RDONLY | O_CLOEXEC);
    KeyNode fresh;
    ensureBaseKeys(fresh);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            *problem = QStringLiteral("cannot read the registry hive %1: %2")
                           .arg(m_path, errnoText(errno));
            return status::RegistryCorrupt;
        }
        top.adopt(fresh);
        m_known = false;
        m_committedEnd = m_snapshotSize = 0;
        m_tornTail = false;
        return status::Success;
    }
    QByteArray text;
    struct stat st {};
    const bool read = ::fstat(fd, &st) == 0 && readAll(fd, 0, &text);
    const int readErr = errno;
    ::close(fd);
    if (!read) {
        *problem =
            QStringLiteral("cannot read the registry hive %1: %2").arg(m_path, errnoText(readErr));
        return status::RegistryCorrupt;
    }
    const HiveParse parse = applyHiveText(text, true, fresh);
    if (!parse.ok) {
        *problem = QStringLiteral("the registry hive %1 is damaged (%2); it is left untouched")
                       .arg(m_path, parse.error);
        return status::RegistryCorrupt;
    }
    ensureBaseKeys(fresh);
    top.adopt(fresh);
    if (m_fd >= 0 && (st.st_dev != m_dev || st.st_ino != m_ino)) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_known = true;
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    m_committedEnd = parse.committedEnd;
    m_tornTail = parse.tornTail;
    m_sequence = parse.lastSequence;
    // The first block is the snapshot when the file was written whole; treat it so.
    m_snapshotSize = std::min<qint64>(parse.committedEnd, text.indexOf("\ncommit ") + 1);
    return status::Success;
}

Status HiveFile::lockAndSync(KeyNode& top, QString* problem) {
    if (m_lockFd < 0) {
        const QString dir = QFileInfo(m_path).absolutePath();
        if (!QDir().mkpath(dir))
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
    } else if (!m_known || st.st_dev != m_dev || st.st_ino != m_ino ||
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
    return status::Success;
}

Status HiveFile::writeSnapshot(const KeyNode& top) {
    const QByteArray bytes = encodeSnapshot(top, ++m_sequence);
    const QByteArray temp = m_nativePath + ".new";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return statusFromErrno(errno);
    const bool ok = writeAll(fd, bytes, 0) && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok || ::rename(temp.constData(), m_nativePath.constData()) != 0) {
        ::unlink(temp.constData());
        return statusFromErrno(ok ? errno : err);
    }
    syncDirectory(m_nativePath);
    struct stat st {};
    if (::stat(m_nativePath.constData(), &st) != 0)
        return status::CantWrite;
    if (m_fd >= 0)
        ::close(m_fd), m_fd = -1;
    m_known = true;
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    m_committedEnd = m_snapshotSize = bytes.size();
    m_tornTail = false;
    return status::Success;
}

Status HiveFile::commitAndUnlock(const std::vector<HiveOp>& ops, const KeyNode& top) {
    Status s = status::Success;
    if (ops.empty()) {
    } else if (!m_known) {
        s = writeSnapshot(top);
    } else if ((s = ensureAppendFd()) == status::Success) {
        if (m_tornTail && ::ftruncate(m_fd, off_t(m_committedEnd)) != 0)
            s = statusFromErrno(errno);
        const QByteArray block = encodeBlock(ops, m_sequence + 1);
        if (s == status::Success && writeAll(m_fd, block, m_committedEnd) &&
            ::fdatasync(m_fd) == 0) {
            m_committedEnd += block.size();
            m_tornTail = false;
            ++m_sequence;
            if (m_committedEnd - m_snapshotSize > std::max(CompactThreshold, m_snapshotSize))
                writeSnapshot(top); // the journal above stays valid if this fails
        } else if (s == status::Success) {
            s = statusFromErrno(errno);
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
