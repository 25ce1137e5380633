#pragma once
// Names from the command line and the environment, as bytes.

#include <QByteArray>
#include <QString>

namespace orvanex::platform {
class DriveMap;
}

namespace orvanex::tools {

// A "C:\..." argument names a file of the drive map; anything else is a native path.
QString nativeOf(const platform::DriveMap& drives, const QString& path);

// Whether the bytes survive Qt's file-name decoding and encoding unchanged. Qt 6 has no lossless
// decoding of bytes that are not UTF-8, so such a name would silently name another file.
bool keepsItsBytes(const QByteArray& bytes);
// The bytes as text, with every byte that is not printable ASCII written as \xNN.
QString escapedBytes(const QByteArray& bytes);

} // namespace orvanex::tools
