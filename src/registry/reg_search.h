#pragma once
// Listing and searching a key's subtree: keys by name, values by name, data or type, the way a
// registry editor's command line finds them.

#include "registry/registry.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace orvanex::reg {

// "REG_SZ" and the other names of the value types; "0x20000" for a type without one.
QString regTypeName(std::uint32_t type);
// The type a name stands for (a name regTypeName gives, in any case); false for none.
bool regTypeFromName(const QString& name, std::uint32_t* type);
// Value data as text, as listed and searched: strings up to their first NUL, the strings of a
// multi-string joined by "\0", numbers as 0x and hex digits, other data as upper-case hex.
QString regDataText(std::uint32_t type, const QByteArray& data);

struct RegSearchOptions {
    QString find; // empty: every key and value is listed
    // Where find is looked for; when none is chosen, in all three.
    bool keyNames = false;
    bool valueNames = false;
    bool data = false;
    bool exact = false;     // the whole text, not a part of it (case never matters)
    bool recursive = false; // the whole subtree, not only the key and its subkeys' names
    std::optional<std::uint32_t> valueType; // only values of this type
};

struct RegSearchValue {
    QString name;
    std::uint32_t type = 0;
    QByteArray data;
};

// One key with what was found in it, in the order of a depth-first walk.
struct RegSearchKey {
    QString path;         // the key as given, then the stored names below it
    bool matched = false; // its own name (or, with no text to find, the key itself) was found
    std::vector<RegSearchValue> values;
};

struct RegSearchResult {
    Status status = status::Success;
    QString error;
    int found = 0; // keys and values found
};

// Walks keyName's subtree and hands each key with something found to take.
RegSearchResult searchRegistry(Registry& registry, const QString& keyName,
                               const RegSearchOptions& options,
                               const std::function<void(const RegSearchKey&)>& take);

} // namespace orvanex::reg
