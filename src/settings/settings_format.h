#pragma once
// The text format of a settings file: "[section]" lines and "key=value" lines, UTF-8. Section
// names, keys and values are written with backslash escapes (\\ \n \r \t \0 \s and \= \] \[ \;)
// so that every text survives exactly: a blank at either end of a value is written as \s, since
// readers trim the blanks around names and values.
//
// Reading is as tolerant as the INI readers of every platform, for files written by other
// editors: CR LF or CR line ends, a UTF-8 byte-order mark, blanks around names, "=" and after
// "]", ";" and "#" comments, lines without "=" and keys before any section (skipped), unknown
// escapes (kept as written, so a hand-written C:\path survives), and Windows-1252 text.

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

// Parses a whole file; a section named twice is read as one, and the first of two equal keys
// wins. Returns false only when the bytes are not a settings file at all (binary, or text with
// no section in it): sections is then empty. skippedLines counts the lines that were not read.
bool parse(const QByteArray& bytes, QVector<Section>* sections, int* skippedLines = nullptr);
// Sections without entries are left out.
QByteArray serialise(const QVector<Section>& sections);

} // namespace orvanex::settings
