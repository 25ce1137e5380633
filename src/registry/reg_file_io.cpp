// .reg files on disk: reading one safely, and keeping exports off the hive's own files.

#include "registry/reg_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace orvanex::reg {

namespace {

// The path with its folder resolved (links included), for a file that may not exist yet.
QString resolvedPath(const QString& path) {
    const QFileInfo info(QDir::current().absoluteFilePath(path));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : folder + u'/' + info.fileName();
}

QString realPath(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? resolvedPath(path) : canonical;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa = {};
    struct stat sb = {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

QString readRegFile(const QString& path, QByteArray* bytes) {
    bytes->clear();
    // Checked before opening too: opening a pipe for reading waits for a writer.
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return QStringLiteral("cannot read %1: it is not a regular file").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    if (::fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("cannot read %1: it is not a regular file").arg(path);
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return QString();
}

bool isHiveOrItsFile(const QString& hivePath, const QString& path) {
    if (hivePath.isEmpty())
        return false;
    const QString hive = realPath(hivePath);
    const QString target = realPath(path);
    for (const char* suffix : {"", ".lock", ".new"})
        if (target == hive + QLatin1String(suffix) ||
            sameFile(path, hivePath + QLatin1String(suffix)))
            return true;
    return target.startsWith(hive + QLatin1String(".torn-"));
}

} // namespace orvanex::reg
