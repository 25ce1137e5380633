#include "tools/orvx_paths.h"

#include "platform/drive_map.h"

#include <QFile>

namespace orvanex::tools {

QString nativeOf(const platform::DriveMap& drives, const QString& path) {
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter())
        return drives.toNative(path);
    return path;
}

bool keepsItsBytes(const QByteArray& bytes) {
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

QString escapedBytes(const QByteArray& bytes) {
    QString text;
    for (char c : bytes) {
        const auto b = std::uint8_t(c);
        if (b >= 0x20 && b < 0x7f && b != '\\')
            text += QChar(b);
        else
            text += QStringLiteral("\\x%1").arg(b, 2, 16, QChar(u'0'));
    }
    return text;
}

} // namespace orvanex::tools
