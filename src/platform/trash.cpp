#include "platform/trash.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvanex::platform {

namespace {

// ".../Trash/files/NAME", ".../.Trash-1000/files/NAME" or ".../.Trash/1000/files/NAME".
bool isInATrash(const QString& trashedPath) {
    const QDir files = QFileInfo(trashedPath).dir();
    if (files.dirName() != QLatin1String("files"))
        return false;
    QDir trash = files;
    if (!trash.cdUp())
        return false;
    const QString name = trash.dirName();
    if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash-")))
        return true;
    return trash.cdUp() && trash.dirName() == QLatin1String(".Trash");
}

bool unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The encoded form holds only unreserved bytes, "/" and whole "%XX" escapes; anything else is a
// path written as it stands.
bool decodePath(const QByteArray& value, QByteArray* decoded) {
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '%') {
            const int high = i + 2 < value.size() ? hexValue(value[i + 1]) : -1;
            const int low = high >= 0 ? hexValue(value[i + 2]) : -1;
            if (low < 0)
                return false;
            out += char(high * 16 + low);
            i += 2;
        } else if (unreserved(c) || c == '/') {
            out += c;
        } else {
            return false;
        }
    }
    *decoded = out;
    return true;
}

} // namespace

TrashInfo parseTrashInfo(const QByteArray& contents) {
    TrashInfo info;
    bool inGroup = false;
    for (QByteArray line : contents.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            inGroup = line == "[Trash Info]";
            continue;
        }
        if (!inGroup)
            continue;
        if (line.startsWith("Path=") && !info.valid) {
            const QByteArray value = line.mid(5);
            if (value.isEmpty() || value.contains('\0'))
                continue; // no path a file could have had
            if (!decodePath(value, &info.path) || info.path.contains('\0'))
                info.path = value;
            info.valid = true;
        } else if (line.startsWith("DeletionDate=") && info.deletionDate.isEmpty()) {
            info.deletionDate = QString::fromUtf8(line.mid(13));
        }
    }
    return info;
}

QByteArray trashInfoText(const QByteArray& nativePath, const QString& deletionDate) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char c : nativePath) {
        if (unreserved(c) || c == '/') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[uchar(c) >> 4];
            encoded += hex[uchar(c) & 15];
        }
    }
    return "[Trash Info]\nPath=" + encoded + "\nDeletionDate=" + deletionDate.toUtf8() + '\n';
}

bool moveToTrash(const QString& path) {
    // Without the data folder (a new account) Qt finds no trash and would put the file into
    // "files" below the working folder, where no file manager looks.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return false;
    const QByteArray original = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    QString trashed;
    if (!QFile::moveToTrash(path, &trashed))
        return false;
    const QFileInfo moved(trashed);
    const QString infoPath = moved.dir().filePath(QStringLiteral("../info/") + moved.fileName() +
                                                  QStringLiteral(".trashinfo"));
    if (!isInATrash(trashed)) {
        // Somewhere else: put it back rather than leave it where nobody would find it.
        if (QFile::rename(trashed, path))
            QFile::remove(infoPath);
        return false;
    }
    // Qt's record may hold the path unescaped; it is written again in the encoded form, with
    // the deletion time Qt gave it.
    QFile written(infoPath);
    const TrashInfo info =
        written.open(QIODevice::ReadOnly) ? parseTrashInfo(written.readAll()) : TrashInfo();
    written.close();
    const QString when =
        info.deletionDate.isEmpty()
            ? QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"))
            : info.deletionDate;
    QSaveFile record(infoPath);
    if (record.open(QIODevice::WriteOnly) && record.write(trashInfoText(original, when)) >= 0 &&
        record.commit())
        return true;
    // No record a file manager can restore from: the file goes back where it was.
    if (QFile::rename(trashed, path)) {
        QFile::remove(infoPath);
        return false;
    }
    return true; // in the trash with Qt's record, which is better than nowhere
}

} // namespace orvanex::platform
