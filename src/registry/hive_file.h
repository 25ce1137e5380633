#pragma once
// The hive on disk. Durability: each change is one block appended to the file and flushed with
// fdatasync before the write returns (cheap and never torn: an unfinished block has no commit
// line and is ignored; the next writer copies it to "<hive>.torn-<time>" before cutting it off,
// since a damaged finished block can look the same). When the appended journal outgrows the
// snapshot it is folded into a fresh snapshot written beside the file, flushed and renamed over
// it. Processes sharing a hive take an exclusive lock on "<hive>.lock" around every write and
// first apply what others appended (or, after a rename, reload), so no committed change is lost.
// A path that is a symbolic link is followed once at open: every path to one hive locks and
// replaces the same file. Reads never touch the disk.

#include "registry/hive_format.h"
#include "registry/registry.h"

#include <QString>
#include <sys/types.h>

namespace orvanex::reg {

// The journal is folded into a fresh snapshot once it is longer than this and than the snapshot.
inline constexpr qint64 JournalFoldThreshold = 4 * 1024 * 1024;

// The file a path names, symbolic links followed (a dangling link names its target) and the
// folder made canonical when it exists; relative paths are taken from the current folder.
QByteArray realHivePath(const QByteArray& nativePath);

class HiveFile {
public:
    // nativePath: the path's own bytes (file names need not be UTF-8).
    explicit HiveFile(const QByteArray& nativePath);
    ~HiveFile();
    HiveFile(const HiveFile&) = delete;
    HiveFile& operator=(const HiveFile&) = delete;

    // Reads the file into top. False when it exists but cannot be read (problem says why).
    bool load(KeyNode& top, QString* problem);
    // The file exists but this process may not write it.
    bool notWritable() const;

    // Takes the lock and brings top up to date with the file. On failure the lock is released;
    // 1015 means the file became unreadable (problem says why).
    Status lockAndSync(KeyNode& top, QString* problem);
    // Writes ops (already applied to top) as one durable block and releases the lock.
    Status commitAndUnlock(const std::vector<HiveOp>& ops, const KeyNode& top);
    void unlock();
    // Re-reads the whole file into top (after a failed commit, to drop the unwritten changes).
    void reload(KeyNode& top);
    // Folds the journal into a fresh snapshot now (needs the lock: call between lockAndSync and
    // commitAndUnlock with no ops, or alone).
    Status compact(const KeyNode& top);

    // The path as given, made absolute (for messages), and the file it reaches.
    QString path() const { return m_path; }
    QByteArray realPath() const { return m_nativePath; }

private:
    Status statusFromErrno(int err) const;
    bool readAll(int fd, qint64 from, QByteArray* out);
    Status fullReload(KeyNode& top, QString* problem);
    Status writeSnapshot(const KeyNode& top);
    Status ensureAppendFd();
    Status setAsideTornTail();
    // Keeps the loaded file open: while it is, its inode number cannot be reused by a new
    // snapshot, so comparing (device, inode) tells reliably whether the file was replaced.
    void pin(int fd);

    QString m_path;
    QByteArray m_nativePath;
    int m_lockFd = -1;
    int m_fd = -1;              // for reading the tail and appending; belongs to m_dev/m_ino
    int m_pinFd = -1;           // the loaded file, m_dev/m_ino
    bool m_known = false;       // the file existed at the last load or sync
    bool m_needsHeader = false; // it exists but is empty or holds part of the header only
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    qint64 m_committedEnd = 0;
    qint64 m_snapshotSize = 0;
    bool m_tornTail = false;
    std::uint64_t m_sequence = 0;
};

} // namespace orvanex::reg
