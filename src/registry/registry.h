#pragma once
// The registry store: the Win32 registry operations the program uses, with Windows' status codes,
// over a hive file (or memory). Key and value names are case-insensitive and case-preserving.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace orvanex::reg {

using Status = std::int32_t;
using HKey = std::uint32_t;

// Win32 status codes produced for the same conditions as on Windows.
namespace status {
inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;
inline constexpr Status AccessDenied = 5;
inline constexpr Status InvalidHandle = 6;
inline constexpr Status NotEnoughMemory = 8;
inline constexpr Status InvalidParameter = 87;
inline constexpr Status MoreData = 234;
inline constexpr Status NoMoreItems = 259;
inline constexpr Status BadDb = 1009;
inline constexpr Status BadKey = 1010;
inline constexpr Status CantOpen = 1011;
inline constexpr Status CantRead = 1012;
inline constexpr Status CantWrite = 1013;
inline constexpr Status RegistryCorrupt = 1015;
inline constexpr Status BadPathname = 161; // an empty name between backslashes
inline constexpr Status KeyDeleted = 1018; // the handle's key was deleted meanwhile
} // namespace status

// Value types, numbered as on Windows. Unknown types are kept with their bytes untouched.
namespace type {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Sz = 1;
inline constexpr std::uint32_t ExpandSz = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t DwordBigEndian = 5;
inline constexpr std::uint32_t Link = 6;
inline constexpr std::uint32_t MultiSz = 7;
inline constexpr std::uint32_t Qword = 11;
} // namespace type

// Predefined root handles, with Windows' values. HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\Software\Classes.
inline constexpr HKey HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKey HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKey HKEY_USERS = 0x80000003u;
inline constexpr HKey HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr std::uint32_t KEY_ALL_USED = 0x3F; // the access mask of every open

// One registry, as the program's Windows registry API would see it.
//
// Text data: the store is an "ANSI" API whose code page is UTF-8. REG_SZ, REG_EXPAND_SZ and
// REG_MULTI_SZ data are bytes as given to setValueEx (UTF-8 text, no terminator unless the caller
// stored one). queryValueEx reports string data as Windows does for the ANSI API: with a
// terminating NUL counted in the size when the stored bytes do not already end in one.
class Registry {
public:
    // Opens the hive file at hivePath; a missing file starts an empty registry that is created on
    // the first write. A file that exists but cannot be read opens read-only (writes answer 5) and
    // problem() says why; the file is never replaced.
    // A path that is a symbolic link is followed once, here.
    static std::unique_ptr<Registry> openHive(const QString& hivePath);
    // The same for a path given as its own bytes (file names need not be UTF-8).
    static std::unique_ptr<Registry> openHiveFile(const QByteArray& nativePath);
    // A registry that lives only in memory (tests, benchmarks).
    static std::unique_ptr<Registry> inMemory();

    virtual ~Registry() = default;

    virtual bool isReadOnly() const = 0;
    virtual QString problem() const = 0;  // empty when all is well
    virtual QString hivePath() const = 0; // empty for a memory registry

    // RegOpenKeyEx: subKey may be empty (a new handle to the same key).
    virtual Status openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result) = 0;
    // RegCreateKey: opens or creates subKey with its missing parents.
    virtual Status createKey(HKey key, const QString& subKey, HKey* result) = 0;
    // RegQueryValueEx: data may be null to ask for type and size only. *dataSize is the buffer
    // size in, the needed or copied size out; a buffer too small gives 234 (MoreData).
    virtual Status queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType,
                                char* data, std::uint32_t* dataSize) = 0;
    // RegSetValueEx: stores exactly dataSize bytes with the type.
    virtual Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType,
                              const char* data, std::uint32_t dataSize) = 0;
    // RegDeleteKey: deletes key\subKey with its whole subtree; an empty subKey deletes key itself.
    virtual Status deleteKey(HKey key, const QString& subKey) = 0;
    // RegDeleteValue.
    virtual Status deleteValue(HKey key, const QString& valueName) = 0;
    // RegEnumKeyEx: subkeys in case-insensitive name order; 259 past the last.
    virtual Status enumKeyEx(HKey key, std::uint32_t index, QString* name) = 0;
    // RegEnumValue: values in the order they were first created; 259 past the last.
    virtual Status enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                             QByteArray* data) = 0;
    // RegCloseKey: once the keys a routine wrote through are closed, its changes are durable.
    virtual Status closeKey(HKey key) = 0;

    // Groups the writes up to the matching endBatch() into one durable commit (a hive stays locked
    // against other processes meanwhile); batches nest. endBatch() returns the commit's status;
    // when it fails none of the batch's changes stay.
    virtual Status beginBatch() { return status::Success; }
    virtual Status endBatch() { return status::Success; }
    // Picks up changes other processes made to the hive (reads never look at the disk).
    virtual Status refresh() { return status::Success; }
    // Folds the hive's journal of changes into a fresh snapshot.
    virtual Status compact() { return status::Success; }
};

// Holds a batch open for one scope; finish() ends it early and gives the commit's status.
class WriteBatch {
public:
    explicit WriteBatch(Registry& registry) : m_registry(registry) {
        m_status = registry.beginBatch();
        m_open = m_status == status::Success;
    }
    ~WriteBatch() { finish(); }
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;
    Status finish() {
        if (m_open) {
            m_open = false;
            m_status = m_registry.endBatch();
        }
        return m_status;
    }
    bool isOpen() const { return m_open; }

private:
    Registry& m_registry;
    Status m_status = status::Success;
    bool m_open = false;
};

} // namespace orvanex::reg
