#include "platform/mapped_file.h"

#include <QFileInfo>

namespace orvanex::platform {

MappedFile::MappedFile(const QString& path) : file_(path) {
    // Only regular files: opening a pipe or a device could block or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly))
        return;
    open_ = true;
    const qint64 size = file_.size();
    if (size > 0) {
        if (uchar* p = file_.map(0, size)) {
            bytes_ = ByteView(QByteArrayView(reinterpret_cast<const char*>(p), size));
            return;
        }
    }
    owned_ = file_.read(kMaxReadSize);
    bytes_ = ByteView(QByteArrayView(owned_));
}

} // namespace orvanex::platform
