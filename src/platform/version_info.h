#pragma once
// Version information of PE and NE files: the raw block as GetFileVersionInfo gives it, the
// single-byte key search over it, and the eight strings the file summary shows.

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QList>
#include <QString>

namespace orvanex::platform {

struct VersionKey {
    QLatin1StringView key;
    int valueOffset; // from the key's first byte to its value in a 16-bit block
};

// CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, OriginalFilename,
// ProductName, ProductVersion, in this order.
const QList<VersionKey>& versionKeys();

struct VersionString {
    QString key;
    QString value;
};

// The raw version block of a PE or NE file (its VS_VERSIONINFO resource); empty when there is none.
QByteArray fileVersionInfo(const QString& path);
QByteArray versionInfoFromData(QByteArrayView file);
// The block's size in bytes, 0 when there is none.
qint64 fileVersionInfoSize(const QString& path);

// The block read as one byte per character: the value of the first occurrence of `key`, starting
// `valueOffset` bytes after the key, up to the next NUL. Empty when the key is absent. Keys of
// 32-bit blocks are UTF-16 and are therefore never found this way.
QString findVersionStringSingleByte(QByteArrayView block, QLatin1StringView key, int valueOffset);

// True for a 32-bit block (UTF-16 keys).
bool isUnicodeVersionBlock(QByteArrayView block);

// The value of every key of versionKeys(): from the first language table of a 32-bit block, by
// the single-byte search in a 16-bit one. Always eight entries; missing values are empty.
QList<VersionString> versionStrings(QByteArrayView block);

} // namespace orvanex::platform
