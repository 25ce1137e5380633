#include "registry/wine_prefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::reg::wine {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStamp stampFromStat(const struct stat& st) {
    FileStamp s;
    s.exists = true;
    s.device = std::uint64_t(st.st_dev);
    s.inode = std::uint64_t(st.st_ino);
    s.size = std::int64_t(st.st_size);
    s.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

// Closes a descriptor when the scope ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

FileStamp stampOf(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampFromStat(st);
}

bool readRegistryFile(const QString& path, QByteArray* bytes, FileStamp* stamp, QString* why) {
    Descriptor d;
    d.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (d.fd < 0) {
        *why = QStringLiteral("cannot open %1: %2").arg(path, systemError(errno));
        return false;
    }
    struct stat st;
    if (::fstat(d.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    }
    bytes->clear();
    bytes->reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(d.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *why = QStringLiteral("cannot read %1: %2").arg(path, systemError(errno));
            return false;
        }
        if (n == 0)
            break;
        bytes->append(buffer, qsizetype(n));
    }
    *stamp = stampFromStat(st);
    // A file that grew or shrank while it was read is read again by the caller's next refresh.
    stamp->size = bytes->size();
    return true;
}

bool writeRegistryFileAtomically(const QString& linkOrPath, const QByteArray& bytes,
                                 FileStamp* stamp, QString* why) {
    // A file kept elsewhere through a symbolic link is replaced where it lives; the link stays.
    const QString resolved = QFileInfo(linkOrPath).canonicalFilePath();
    const QString path = resolved.isEmpty() ? linkOrPath : resolved;
    const QByteArray target = QFile::encodeName(path);
    const QFileInfo info(path);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                           info.fileName() + QStringLiteral(".orvx-XXXXXX"));
    Descriptor d;
    d.fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (d.fd < 0) {
        *why = QStringLiteral("cannot write beside %1: %2").arg(path, systemError(errno));
        return false;
    }
    bool ok = writeAll(d.fd, bytes);
    int error = ok ? 0 : errno;
    struct stat old;
    if (ok && ::stat(target.constData(), &old) == 0) {
        if (::fchown(d.fd, old.st_uid, old.st_gid) != 0) {
            // Another owner cannot be given by an ordinary user; the mode is still kept.
        }
        if (::fchmod(d.fd, old.st_mode & 07777) != 0) {
            ok = false;
            error = errno;
        }
    } else if (ok) {
        // A new file gets the mode any program of the user would give it.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(d.fd, 0666 & ~mask) != 0) {
            ok = false;
            error = errno;
        }
    }
    if (ok && ::fsync(d.fd) != 0) {
        ok = false;
        error = errno;
    }
    struct stat written;
    if (ok && ::fstat(d.fd, &written) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(pattern.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(pattern.constData());
        *why = QStringLiteral("cannot write %1: %2").arg(path, systemError(error));
        return false;
    }
    Descriptor folder;
    folder.fd = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder.fd >= 0)
        ::fsync(folder.fd);
    *stamp = stampFromStat(written);
    return true;
}

QStringList serverFolders(const QString& prefix) {
    struct stat st;
    if (::stat(QFile::encodeName(prefix).constData(), &st) != 0)
        return {};
    const QString name = QStringLiteral("server-%1-%2")
                             .arg(qulonglong(st.st_dev), 0, 16)
                             .arg(qulonglong(st.st_ino), 0, 16);
    const QString uid = QString::number(::getuid());
    QStringList bases{QStringLiteral("/tmp")};
    const QString tmpdir = qEnvironmentVariable("TMPDIR");
    if (!tmpdir.isEmpty() && QDir::cleanPath(tmpdir) != QLatin1String("/tmp"))
        bases.append(QDir::cleanPath(tmpdir));
    QStringList folders;
    // Debian's build names its folder in a file of the prefix.
    QFile named(prefix + QStringLiteral("/wineserver"));
    if (named.open(QIODevice::ReadOnly)) {
        const QString folder = QString::fromLocal8Bit(named.read(256)).trimmed();
        if (!folder.isEmpty() && !folder.contains(u'/') && folder != QLatin1String(".."))
            for (const QString& base : bases)
                folders.append(base + u'/' + folder + u'/' + name);
    }
    for (const QString& base : bases) {
        // Upstream's folder, then the randomly named ones Debian's build makes.
        folders.append(base + QStringLiteral("/.wine-") + uid + u'/' + name);
        const QStringList randomNamed = QDir(base).entryList(
            {QStringLiteral("wine-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& folder : randomNamed)
            folders.append(base + u'/' + folder + u'/' + name);
    }
    return folders;
}

bool wineServerRunning(const QString& prefix) {
    for (const QString& folder : serverFolders(prefix)) {
        Descriptor d;
        d.fd = ::open(QFile::encodeName(folder + QStringLiteral("/lock")).constData(),
                      O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (d.fd < 0)
            continue;
        struct flock lock;
        std::memset(&lock, 0, sizeof lock);
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(d.fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK)
            return true;
    }
    return false;
}

QString prefixInUseMessage(const QString& prefix) {
    return QStringLiteral("the Wine prefix %1 is in use by Wine; close its programs, or run "
                          "wineserver -k with WINEPREFIX set to it, and start ORVANEX again")
        .arg(prefix);
}

} // namespace orvanex::reg::wine
