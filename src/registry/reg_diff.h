#pragma once
// What merging a .reg file would change in a registry as it is now, without writing: keys
// created and deleted, values added, changed (old and new data) and removed. The file is read by
// the importer's own parser, and its operations are played in order over a view of the registry,
// so the list is what importRegFile would do.

#include "registry/reg_file.h"

#include <cstdint>
#include <vector>

namespace orvanex::reg {

struct RegChange {
    enum Kind { KeyCreated, KeyDeleted, ValueAdded, ValueChanged, ValueRemoved };
    Kind kind = KeyCreated;
    QString
        key; // full key name, as the file (or, for keys only the registry names, as it) spells it
    QString valueName; // "" for the default value
    std::uint32_t oldType = 0, newType = 0;
    QByteArray oldData, newData;
};

struct RegSkippedLine {
    int line = 0;
    QString text; // the line as the file holds it
    QString why;
};

struct RegDiff {
    bool refused = false; // not a registry file: nothing would be merged
    QString error;
    std::vector<RegChange> changes; // by key in the order the file first names it
    std::vector<RegSkippedLine> skipped;
};

RegDiff diffRegFile(Registry& registry, const QByteArray& bytes);
// The same for a parse already made (bytes: the file, for the texts of skipped lines).
RegDiff diffRegParse(Registry& registry, const RegFileParse& parse, const QByteArray& bytes);

// Value data as a .reg file would show it, shortened after maxBytes bytes of binary data.
QString describeRegData(std::uint32_t type, const QByteArray& data, int maxBytes = 64);
// One line for one change: "create key ...", "change value ...: OLD -> NEW" and so on.
QString describeRegChange(const RegChange& change);

} // namespace orvanex::reg
