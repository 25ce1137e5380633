#include "backup/backup_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace orvanex::backup {

namespace {

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FolderLock::FolderLock(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/.lock"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0)
        if (errno != EINTR) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

bool writeNewFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                              info.fileName() + QStringLiteral(".") +
                                              QString::number(::getpid()) + QStringLiteral(".tmp"));
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    // link() refuses an existing name, so the backup appears whole and replaces nothing.
    ok = ok && ::link(temp.constData(), target.constData()) == 0;
    ::unlink(temp.constData());
    if (ok)
        syncFolder(QFile::encodeName(info.absolutePath()));
    return ok;
}

} // namespace orvanex::backup
