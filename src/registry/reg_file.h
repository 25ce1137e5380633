#pragma once
// .reg files as the Windows registry editor writes and merges them: "REGEDIT4" (Windows-1252,
// CR LF) and "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark); it also
// reads the Windows 3.1 "REGEDIT" files, whose lines set default values of HKEY_CLASSES_ROOT.
//
// Store text is UTF-8. In a REGEDIT4 file, quoted strings are Windows-1252; REG_SZ data that the
// code page cannot hold (or that holds NUL, CR or LF) is written as hex(1) of the stored bytes,
// and hex(N) data are always the stored bytes. A line whose names the code page cannot hold is
// written in UTF-8 (see win1252.h). In a version 5 file, string-typed hex data are UTF-16LE and
// are converted to and from the store's UTF-8 as Windows converts between its two APIs.

#include "registry/registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvanex::reg {

enum class RegFormat { Regedit4, Regedit5 };

// "HKEY_CLASSES_ROOT\.txt" (or HKCR\.txt) into its root handle, the root's full name and the
// path below it. False for an unknown root or a malformed path.
bool splitRegKeyName(const QString& keyName, HKey* root, QString* rootName, QString* subPath);
// The same with the path below the root as a part of keyName.
bool splitRegKeyName(QStringView keyName, HKey* root, QString* rootName, QStringView* subPath);

struct RegExport {
    Status status = status::Success;
    QString error; // when status is not 0
    QByteArray bytes;
};

// The key with all its values and subkeys, in enumeration order.
RegExport exportRegFile(Registry& registry, const QString& keyName, RegFormat format);
// Appends the blocks of one key (no file header) as lines without line ends.
Status exportRegLines(Registry& registry, const QString& keyName, RegFormat format,
                      QStringList* lines, QString* error);

struct RegFileOp {
    enum Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = CreateKey;
    int line = 0;      // where it was written, for messages
    QString key;       // CreateKey/DeleteKey: full key name; values: their key's
    QString valueName; // "" for the default value
    std::uint32_t type = 0;
    QByteArray data;
};

struct RegFileParse {
    bool refused = false; // not a registry file at all
    QString error;
    RegFormat format = RegFormat::Regedit4;
    bool windows31 = false; // a "REGEDIT" file of "HKEY_CLASSES_ROOT\key = value" lines
    std::vector<RegFileOp> ops;
    QStringList warnings; // "line N: ..."
};

// Reads a whole .reg file; malformed lines become warnings and are left out.
RegFileParse parseRegFile(const QByteArray& bytes);
// The same, handing each operation to take as it is read instead of keeping it in ops.
RegFileParse parseRegFile(const QByteArray& bytes, const std::function<void(RegFileOp&&)>& take);

struct RegImport {
    bool refused = false;
    QString error; // refused, or the commit failed (then nothing changed)
    QStringList warnings;
    int keysCreated = 0;
    int keysDeleted = 0;
    int valuesSet = 0;
    int valuesDeleted = 0;

    int changes() const { return keysCreated + keysDeleted + valuesSet + valuesDeleted; }
};

// Merges a .reg file into the registry as one batch: one durable commit.
RegImport importRegFile(Registry& registry, const QByteArray& bytes);

// Reads a .reg file whole. Only regular files: a device or a pipe could feed it without end.
// Returns the reason on failure, empty on success.
QString readRegFile(const QString& path, QByteArray* bytes);

// Whether writing to path would overwrite the hive at hivePath or one of its working files (its
// lock, its replacement being written, the torn tails set aside beside it).
bool isHiveOrItsFile(const QString& hivePath, const QString& path);

} // namespace orvanex::reg
