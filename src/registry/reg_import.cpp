// Merging a parsed .reg file into the registry, and reading one from disk.

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
    struct stat sa {
    }, sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

QString readRegFile(const QString& path, QByteArray* bytes) {
    bytes->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    struct stat st {};
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

RegImport importRegFile(Registry& registry, const QByteArray& bytes) {
    RegImport result;
    RegFileParse parse = parseRegFile(bytes);
    result.warnings = parse.warnings;
    if (parse.refused) {
        result.refused = true;
        result.error = parse.error;
        return result;
    }
    WriteBatch batch(registry);
    if (!batch.isOpen()) {
        result.error =
            QStringLiteral("the registry cannot be written (status %1)").arg(batch.finish());
        return result;
    }
    HKey current = 0;
    QString currentName;
    auto warn = [&](const RegFileOp& op, const QString& what, Status s) {
        result.warnings
            << QStringLiteral("line %1: cannot %2 (status %3)").arg(op.line).arg(what).arg(s);
    };
    for (const RegFileOp& op : parse.ops) {
        HKey root = 0;
        QString rootName, subPath;
        splitRegKeyName(op.key, &root, &rootName, &subPath);
        if (op.kind == RegFileOp::DeleteKey) {
            const Status s = registry.deleteKey(root, subPath);
            if (s == status::Success)
                ++result.keysDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the key %1").arg(op.key), s);
            continue;
        }
        if (op.kind == RegFileOp::CreateKey || op.key != currentName) {
            if (current)
                registry.closeKey(current);
            current = 0;
            currentName = op.key;
            const Status s = registry.createKey(root, subPath, &current);
            if (s != status::Success) {
                current = 0;
                warn(op, QStringLiteral("create the key %1").arg(op.key), s);
            } else if (op.kind == RegFileOp::CreateKey) {
                ++result.keysCreated;
            }
        }
        if (!current || op.kind == RegFileOp::CreateKey)
            continue;
        if (op.kind == RegFileOp::DeleteValue) {
            const Status s = registry.deleteValue(current, op.valueName);
            if (s == status::Success)
                ++result.valuesDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the value \"%1\"").arg(op.valueName), s);
            continue;
        }
        const Status s = registry.setValueEx(current, op.valueName, op.type, op.data.constData(),
                                             std::uint32_t(op.data.size()));
        if (s == status::Success)
            ++result.valuesSet;
        else
            warn(op, QStringLiteral("set the value \"%1\"").arg(op.valueName), s);
    }
    if (current)
        registry.closeKey(current);
    const Status committed = batch.finish();
    if (committed != status::Success) {
        result.error = QStringLiteral("the changes could not be written (status %1); nothing was "
                                      "imported")
                           .arg(committed);
        result.keysCreated = result.keysDeleted = result.valuesSet = result.valuesDeleted = 0;
    }
    return result;
}

} // namespace orvanex::reg
