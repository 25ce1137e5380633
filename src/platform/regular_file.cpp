#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::platform {

namespace {

QString reasonOf(int code) {
    if (code == ENOENT || code == ENOTDIR)
        return QStringLiteral("The file does not exist.");
    return QString::fromLocal8Bit(std::strerror(code)) + u'.';
}

QString kindReason(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("It is a folder, not a file.");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("It is not a regular file.");
    return {};
}

} // namespace

QString notRegularFileReason(const QByteArray& nativePath) {
    struct stat st;
    if (nativePath.isEmpty())
        return reasonOf(ENOENT);
    if (::stat(nativePath.constData(), &st) != 0)
        return reasonOf(errno);
    return kindReason(st);
}

int openRegularFile(const QByteArray& nativePath, QString* reason) {
    QString why = notRegularFileReason(nativePath);
    if (why.isEmpty()) {
        const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            why = reasonOf(errno);
        } else {
            // Swapped for something else since the check: refused, not read.
            struct stat st;
            why = ::fstat(fd, &st) != 0 ? reasonOf(errno) : kindReason(st);
            if (why.isEmpty())
                return fd;
            ::close(fd);
        }
    }
    if (reason)
        *reason = why;
    return -1;
}

} // namespace orvanex::platform
