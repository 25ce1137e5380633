#pragma once
// A read-only mapping of a file that survives the file shrinking under it. Reading a mapped page
// that no longer has a file behind it raises SIGBUS, which would end the program; while a
// GuardedMapping lives, a process-wide handler answers such a fault by putting zero-filled pages
// in place of the vanished ones, and marks the mapping as cut so the reader can report it.

#include <QString>

#include <atomic>

namespace orvanex::platform {

class GuardedMapping {
public:
    GuardedMapping() = default;
    ~GuardedMapping();
    GuardedMapping(const GuardedMapping&) = delete;
    GuardedMapping& operator=(const GuardedMapping&) = delete;

    // Maps the first `size` bytes of an open file. False (with nothing mapped) when the mapping
    // cannot be made or every guard slot is in use; the caller then reads the file instead.
    bool map(int fd, qint64 size);
    void unmap();

    const char* data() const { return data_; }
    qint64 size() const { return size_; }
    // True once a read found part of the file gone: the bytes from there on read as zeros.
    bool cut() const;

    // How many mappings can be guarded at once.
    static constexpr int kSlots = 64;

private:
    const char* data_ = nullptr;
    qint64 size_ = 0;
    int slot_ = -1;
};

} // namespace orvanex::platform
