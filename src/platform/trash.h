#pragma once
// The desktop's trash: files sent there can be restored from the file manager.

#include <QString>

namespace orvanex::platform {

// Moves the file into the user's freedesktop trash (its data folder's Trash, or the trash of the
// file's own mount). False, with the file where it was, when it cannot be trashed.
bool moveToTrash(const QString& path);

} // namespace orvanex::platform
