#pragma once
// The desktop's trash: files sent there can be restored from the file manager.

#include <QByteArray>
#include <QString>

namespace orvanex::platform {

// Moves the file into the user's freedesktop trash (its data folder's Trash, or the trash of the
// file's own mount), with a record whose Path is percent-encoded as file managers read it. False,
// with the file where it was, when it cannot be trashed.
bool moveToTrash(const QString& path);

// A .trashinfo record.
struct TrashInfo {
    bool valid = false;   // a [Trash Info] group with a Path
    QByteArray path;      // the original path's bytes, decoded
    QString deletionDate; // as written ("2024-05-06T07:08:09")
};
// Reads a record in either form: Path percent-encoded (RFC 3986, as the trash wants it), or as it
// stands when it holds bytes that an encoded path cannot (records written unescaped).
TrashInfo parseTrashInfo(const QByteArray& contents);
// The record of a file trashed from nativePath (absolute), its Path percent-encoded.
QByteArray trashInfoText(const QByteArray& nativePath, const QString& deletionDate);

} // namespace orvanex::platform
