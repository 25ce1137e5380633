#pragma once
// The disk side of a Wine prefix's registry: reading its files with their identity, writing them
// atomically with their permissions kept, and telling whether a wineserver holds the prefix.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace orvanex::reg::wine {

// What a file was when it was read; a save refuses to replace a file that changed since.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path);

// Reads a regular file whole. Not a regular file, or unreadable: false with why.
bool readRegistryFile(const QString& path, QByteArray* bytes, FileStamp* stamp, QString* why);

// Replaces path with bytes: a temporary file beside it, written, given the old file's mode (and
// owner where allowed), flushed to disk, renamed over it, and the folder flushed. The old file
// stays whole on any failure. *stamp is the new file's. A symbolic link is followed: the file it
// names is replaced and the link kept.
bool writeRegistryFileAtomically(const QString& path, const QByteArray& bytes, FileStamp* stamp,
                                 QString* why);

// The folders a wineserver for the prefix keeps its lock in ("server-<dev>-<inode>" under the
// user's wine temporary folders). Empty when the prefix cannot be looked at.
QStringList serverFolders(const QString& prefix);

// True while a process holds the write lock on a server folder's "lock" file, as a running
// wineserver does.
bool wineServerRunning(const QString& prefix);

// The message for a prefix a wineserver holds.
QString prefixInUseMessage(const QString& prefix);

} // namespace orvanex::reg::wine
