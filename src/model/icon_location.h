#pragma once
// Default icons: parsing a DefaultIcon value and finding the file it names.

#include "model/file_type_model.h"
#include "model/registry_access.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QHash>

namespace orvanex::model {

// Splits a DefaultIcon text (terminator already removed) into an IconLocation; Exists is left
// false (see ReadDefaultIcon).
IconLocation SplitIconLocation(const QString& value);

// Kinds that name a file holding icons. Containers may hold many and take an index.
bool isIconContainerKind(const QString& kind); // EXE DLL CPL PKG ICL
bool isIconKind(const QString& kind);          // the containers and ICO

// True when path (a Windows path such as "C:\WINDOWS\notepad.exe") names an existing file.
bool FileExists(const platform::DriveMap& drives, const QString& path);

// Remembers FileExists answers for one pass over many types (start-up), during which the files
// are taken not to change.
class FileExistsMemo {
public:
    bool exists(const platform::DriveMap& drives, const QString& path);

private:
    QHash<QString, bool> m_known;
};

// A DefaultIcon text (terminator removed) parsed, with Exists tested for icon kinds whose File
// has ":" second.
IconLocation IconFromValue(const QString& value, const platform::DriveMap& drives,
                           FileExistsMemo* memo = nullptr);

// {type}\DefaultIcon parsed; Exists is tested for icon kinds whose File has ":" second. The type
// key opened by the caller, or named.
IconLocation ReadDefaultIcon(detail::OpenedKey& typeKey, const platform::DriveMap& drives,
                             FileExistsMemo* memo = nullptr);
IconLocation ReadDefaultIcon(reg::RegState& state, const platform::DriveMap& drives,
                             const QString& typeName, FileExistsMemo* memo = nullptr);

} // namespace orvanex::model
