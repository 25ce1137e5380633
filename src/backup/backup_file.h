#pragma once
// Files of the backup folder: the lock that hands out backup numbers to one process at a time, and
// backup files that are written whole or not at all and never replace a file.

#include <QByteArray>
#include <QString>

namespace orvanex::backup {

// Holds an exclusive lock on folder/.lock for its lifetime; the system releases it if the process
// dies.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool isLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Writes bytes to a file of its own beside path, flushes it to disk and then gives it the name
// path, which must not exist: an existing file is never replaced. False on any failure, with
// nothing left behind.
bool writeNewFile(const QString& path, const QByteArray& bytes);

} // namespace orvanex::backup
