#pragma once
// The hive on disk. Durability: each change is one block appended to the file and flushed with
// fdatasync before the write returns (cheap and never torn: an unfinished block has no commit
// line and is ignored, then cut off by the next writer). When the appended journal outgrows the
// snapshot it is folded into a fresh snapshot written beside the file, flushed and renamed over
// it. Processes sharing a hive take an exclusive lock on "<hive>.lock" around every write and
// first apply what others appended (or, after a rename, reload), so no committed change is lost.
// Reads never touch the disk.

#include "registry/hive_format.h"
#include "registry/registry.h"

#include <QString>
#include <sys/types.h>

namespace orvanex::reg {

class HiveFile {
public:
    explicit HiveFile(QString path);
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

private:
    Status statusFromErrno(int err) const;
    bool readAll(int fd, qint64 from, QByteArray* out);
    Status fullReload(KeyNode& top, QString* problem);
    Status writeSnapshot(const KeyNode& top);
    Status ensureAppendFd();

    QString m_path;
    QByteArray m_nativePath;
    int m_lockFd = -1;
    int m_fd = -1;        // for reading the tail and appending; belongs to m_dev/m_ino
    bool m_known = false; // the file existed at the last load or sync
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    qint64 m_committedEnd = 0;
    qint64 m_snapshotSize = 0;
    bool m_tornTail = false;
    std::uint64_t m_sequence = 0;
};

} // namespace orvanex::reg
