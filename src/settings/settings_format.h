#pragma once
// The text format of a settings file: "[section]" lines and "key=value" lines, UTF-8. Section
// names, keys and values are written with backslash escapes (\\ \n \r \t \0 and \= \] \[ \;)
// so that every text survives exactly, blanks included; nothing is trimmed when reading.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace orvanex::settings {

struct Entry {
    QString key;
    QString value;
};
struct Section {
    QString name;
    QVector<Entry> entries;
};

// Parses a whole file. On failure returns false with the 1-based number of the bad line in
// badLine (0 when the bytes are not UTF-8); sections then holds what came before it.
bool parse(const QByteArray& bytes, QVector<Section>* sections, int* badLine);
// Sections without entries are left out.
QByteArray serialise(const QVector<Section>& sections);

} // namespace orvanex::settings
