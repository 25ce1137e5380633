#pragma once
// A file's bytes for the readers: mapped into memory when possible (icons of large libraries are
// read many times over), read into memory otherwise. The mapping is guarded: should the file
// shrink meanwhile, the lost bytes read as zeros and changed() says so, instead of a crash.

#include "platform/byte_view.h"
#include "platform/guarded_mapping.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace orvanex::platform {

class MappedFile {
public:
    // Opens a regular file; anything else (missing, folder, pipe, device) stays closed.
    explicit MappedFile(const QString& path);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool isOpen() const { return open_; }
    ByteView bytes() const { return bytes_; }
    // True when part of the mapped file vanished while it was read: what was read is not the file.
    bool changed() const { return mapping_.cut(); }

    // Regular files that cannot be mapped are read up to this size only.
    static constexpr qint64 kMaxReadSize = 64 * 1024 * 1024;

private:
    QFile file_;
    GuardedMapping mapping_;
    QByteArray owned_;
    ByteView bytes_;
    bool open_ = false;
};

} // namespace orvanex::platform
