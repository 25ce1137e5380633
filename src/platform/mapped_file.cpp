#include "platform/mapped_file.h"

#include <QFileInfo>

namespace orvanex::platform {

MappedFile::MappedFile(const QString& path) : file_(path) {
    // Only regular files: opening a pipe or a device could block or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly))
        return;
    open_ = true;
    const qint64 size = file_.size();
    if (size > 0 && mapping_.map(file_.handle(), size)) {
        bytes_ = ByteView(QByteArrayView(mapping_.data(), size));
        return;
    }
    owned_ = file_.read(kMaxReadSize);
    bytes_ = ByteView(QByteArrayView(owned_));
}

} // namespace orvanex::platform
