#pragma once
// The text format of a Wine prefix's registry files (system.reg, user.reg, userdef.reg): read into
// key blocks that keep their exact bytes, and written key by key the way Wine writes them, so a
// file whose keys did not change comes back byte for byte.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace orvanex::reg::wine {

inline constexpr char FirstLine[] = "WINE REGISTRY Version 2";

struct ValueText {
    QString name;           // empty for the default value
    std::uint32_t type = 0; // Windows' type number
    // As the store keeps it: strings in UTF-8 without the terminator Wine stores, other types as
    // their bytes.
    QByteArray data;
    QByteArray raw; // the value's lines as read, continuation lines included
};

struct KeyText {
    QString path;           // relative to the file's root, unescaped, names joined by '\'
    QByteArray pathText;    // the path as written between the brackets
    QByteArray raw;         // the blank lines before the key line, the key line and its lines
    QList<QByteArray> meta; // "#class=...", "#link" and comments, kept when the key is rewritten
    std::vector<ValueText> values;
};

struct FileText {
    QByteArray header; // up to the blank lines before the first key
    std::vector<KeyText> keys;
};

// Reads a whole file. False, with why ("line N: ..."), when it is not a sound registry file: a
// wrong first line, a line that is neither a key, a value nor a comment, or a file cut off in the
// middle of a line.
bool parseFile(const QByteArray& bytes, FileText* out, QString* why);

// Wine's escaping of a name or text: '\\', the two escape characters and control characters
// escaped, characters past ASCII as \x with four digits when a hex digit follows.
QByteArray escapeText(QStringView text, char escapeA, char escapeB);
// The bracketed form of a key path ("Software\\Classes\\.txt").
QByteArray pathText(QStringView path);

// One value's lines as Wine writes them.
QByteArray formatValue(const QString& name, std::uint32_t type, const QByteArray& data);
// The key's block for a key changed at fileTime (100 ns units since 1601): a blank line, the key
// line with the time in seconds since 1970, "#time=", the kept lines, then the values.
QByteArray formatKeyHead(const QByteArray& pathText, const QList<QByteArray>& meta,
                         std::uint64_t fileTime);

// The current time as a FILETIME.
std::uint64_t currentFileTime();

} // namespace orvanex::reg::wine
