#include "search/file_operations.h"

#include "platform/trash.h"

#include <QFile>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::search {

namespace {

FileResult fromErrno(int code) {
    FileResult r;
    switch (code) {
    case ENOENT:
        r.error = kFileNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        r.error = kFileAccess;
        break;
    case ENOTDIR:
    case EISDIR:
        r.error = kPathNotFound;
        break;
    default:
        r.error = kFileIo;
        break;
    }
    r.reason = QString::fromLocal8Bit(std::strerror(code));
    return r;
}

bool writeAll(int fd, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        length -= size_t(n);
    }
    return true;
}

} // namespace

QString FormatSize(qint64 size) {
    const bool negative = size < 0;
    QString digits = QString::number(negative ? -size : size);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return negative ? u'-' + digits : digits;
}

FileFacts fileFacts(const QByteArray& nativePath) {
    FileFacts facts;
    struct stat st;
    if (nativePath.isEmpty() || ::stat(nativePath.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return facts;
    facts.exists = true;
    facts.size = qint64(st.st_size);
    facts.modified = QDateTime::fromSecsSinceEpoch(qint64(st.st_mtim.tv_sec));
    return facts;
}

FileResult copyFile(const QByteArray& source, const QByteArray& target) {
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (in < 0)
        return fromErrno(errno);
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
        ::close(in);
        return fromErrno(code);
    }
    struct stat targetStat;
    if (::stat(target.constData(), &targetStat) == 0 && S_ISDIR(targetStat.st_mode)) {
        ::close(in);
        return fromErrno(EISDIR);
    }
    // Written beside the target under a unique name, then renamed over it.
    QByteArray temporary = target + ".orvx-XXXXXX";
    const int out = ::mkstemp(temporary.data());
    if (out < 0) {
        const int code = errno;
        ::close(in);
        return fromErrno(code);
    }
    bool ok = true;
    int code = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            code = errno;
            break;
        }
        if (n == 0)
            break;
        if (!writeAll(out, buffer, size_t(n))) {
            ok = false;
            code = errno ? errno : EIO;
            break;
        }
    }
    ::close(in);
    if (ok && (::fchmod(out, st.st_mode & 07777) != 0 || ::fsync(out) != 0)) {
        ok = false;
        code = errno;
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return fromErrno(code);
    }
    return {};
}

FileResult moveFile(const QByteArray& source, const QByteArray& target) {
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return fromErrno(errno);
    struct stat targetStat;
    if (::stat(target.constData(), &targetStat) == 0 && S_ISDIR(targetStat.st_mode))
        return fromErrno(EISDIR);
    if (::rename(source.constData(), target.constData()) == 0)
        return {};
    if (errno != EXDEV)
        return fromErrno(errno);
    // Another file system: the source goes only once its copy is complete.
    const FileResult copied = copyFile(source, target);
    if (!copied.ok())
        return copied;
    if (::unlink(source.constData()) != 0)
        return fromErrno(errno);
    return {};
}

FileResult trashFile(const QByteArray& nativePath) {
    const QString path = QFile::decodeName(nativePath);
    if (!QFile::exists(path))
        return fromErrno(ENOENT);
    if (!platform::moveToTrash(path)) {
        FileResult r;
        r.error = kFileAccess;
        r.reason = QStringLiteral("the file could not be moved to the trash");
        return r;
    }
    return {};
}

QString FolderOfShownPath(const QString& path) {
    const bool drivePath = path.size() >= 2 && path[1] == u':';
    return path.left(path.lastIndexOf(drivePath ? u'\\' : u'/') + 1);
}

QString CopyProposal(const QString& name, const std::function<bool(const QString&)>& taken) {
    if (!taken(name))
        return name;
    const QString folder = FolderOfShownPath(name);
    const QString file = name.mid(folder.size());
    // The extension stays last, so the copy opens as the file does; a leading dot is no extension.
    const qsizetype dot = file.lastIndexOf(u'.');
    const QString stem = dot > 0 ? file.left(dot) : file;
    const QString extension = dot > 0 ? file.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString mark =
            n == 1 ? QStringLiteral(" (copy)") : QStringLiteral(" (copy %1)").arg(n);
        const QString candidate = folder + stem + mark + extension;
        if (!taken(candidate) || n == 10000)
            return candidate;
    }
}

QString ReplaceQuestionText(const QString& newName, const FileFacts& existing,
                            const QString& selectedName, const FileFacts& selected) {
    const QString spaces23(23, u' ');
    const QString spaces10(10, u' ');
    const QLocale locale;
    auto when = [&](const QDateTime& t) { return locale.toString(t, QLocale::ShortFormat); };
    return QStringLiteral("File already exists  /  Do you want to replace the file?") +
           QStringLiteral("\n\n\n") + QStringLiteral("Old File:        ") + newName +
           QStringLiteral("\n\n") + spaces23 + FormatSize(existing.size) + spaces10 +
           when(existing.modified) + QStringLiteral("\n\n") + QStringLiteral("New File:        ") +
           selectedName + QStringLiteral("\n\n") + spaces23 + FormatSize(selected.size) + spaces10 +
           when(selected.modified);
}

QString NewNameProblem(const QString& newName, const QByteArray& target) {
    const bool drivePath = newName.size() >= 2 && newName[1] == u':';
    const QString folder = FolderOfShownPath(newName);
    const QString name = newName.mid(folder.size());
    if (name.isEmpty())
        return QStringLiteral("The new name has no file name after its folder.");
    // Below a drive "\\" parts the folders; a "/" would name a folder of its own on this system.
    if (drivePath && name.contains(u'/'))
        return QStringLiteral("A file name cannot hold \"/\": ") + name;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray nativeFolder = slash > 0 ? target.left(slash) : QByteArray("/");
    struct stat st;
    if (!folder.isEmpty() && (::stat(nativeFolder.constData(), &st) != 0 || !S_ISDIR(st.st_mode)))
        return QStringLiteral("The folder ") + folder + QStringLiteral(" does not exist.");
    return {};
}

TransferOutcome TransferFile(const TransferRequest& request,
                             const std::function<bool(const QString& question)>& replace) {
    if (request.newName == request.selected)
        return {TransferOutcome::Unchanged, QStringLiteral("File Name Not Changed!")};
    const QString problem = NewNameProblem(request.newName, request.target);
    if (!problem.isEmpty())
        return {TransferOutcome::Failed, FileErrorText(kFileNotFound) + u'\n' + problem};
    const FileFacts existing = fileFacts(request.target);
    if (existing.exists && request.warnBeforeReplacing &&
        !replace(ReplaceQuestionText(request.newName, existing, request.selected,
                                     fileFacts(request.source))))
        return {TransferOutcome::Declined, QString()};
    const FileResult result = request.moving ? moveFile(request.source, request.target)
                                             : copyFile(request.source, request.target);
    if (!result.ok())
        return {TransferOutcome::Failed, FileErrorText(result.error) + u'\n' + result.reason};
    if (!fileFacts(request.target).exists)
        return {TransferOutcome::Failed, QStringLiteral("File Copy Error!")};
    return {TransferOutcome::Done, QString()};
}

QString FileErrorText(int error) {
    const QString number = QString::number(error);
    if (error == kFileAccess)
        return QStringLiteral("File Error, File Opened By Another User! (") + number + u')';
    if (error == kFileNotFound)
        return QStringLiteral("Invalid File Name! (") + number + u')';
    return QStringLiteral("File Error! (") + number + u')';
}

} // namespace orvanex::search
