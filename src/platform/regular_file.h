#pragma once
// A file opened for reading only when it is a regular file: opening a FIFO waits for a writer,
// and opening a device may act on it, so the kind is asked first and checked again once open.

#include <QByteArray>
#include <QString>

namespace orvanex::platform {

// Why the path cannot be read as a file ("" when it can): "The file does not exist.", "It is a
// folder, not a file.", "It is not a regular file." or the system's reason.
QString notRegularFileReason(const QByteArray& nativePath);
// The file opened read-only and without blocking; -1, with the reason, when it is not a regular
// file or cannot be opened.
int openRegularFile(const QByteArray& nativePath, QString* reason);

} // namespace orvanex::platform
