#pragma once
// The resources of PE (32- and 64-bit) and NE files: for each resource of the kinds the program
// reads (icons, icon groups, version information), its identity and where its bytes lie.

#include "platform/byte_view.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace orvanex::platform {

inline constexpr std::uint32_t kResourceIcon = 3;
inline constexpr std::uint32_t kResourceGroupIcon = 14;
inline constexpr std::uint32_t kResourceVersion = 16;

struct ResourceEntry {
    std::uint32_t type = 0;
    std::uint32_t id = 0; // meaningful when name is empty
    QString name;         // a named resource
    qint64 offset = 0;    // of its bytes in the file
    qint64 size = 0;
};

struct ResourceIndex {
    bool sixteenBit = false; // from an NE file
    // One entry per resource (the first language of each), in the file's order.
    QList<ResourceEntry> entries;

    QList<ResourceEntry> ofType(std::uint32_t type) const;
    // The first resource of `type` with the numeric `id`, or null.
    const ResourceEntry* find(std::uint32_t type, std::uint32_t id) const;
};

// The resources of a PE or NE file told by its content; nullopt for any other file. Damaged
// directories yield the entries that could be read whole.
std::optional<ResourceIndex> readResources(ByteView file);

std::optional<ResourceIndex> readPeResources(ByteView file);
std::optional<ResourceIndex> readNeResources(ByteView file);

} // namespace orvanex::platform
