#pragma once
// The extension list of the selected entry as search tokens, and the file names they match.

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace orvanex::search {

inline constexpr int kTokenSlots = 50;

struct SearchPattern {
    // Slots 1 to 50 (index 0 unused): the last word of the list in slot 50, the one before it in
    // 49, ...; with more than 50 words the leftmost ones all land in slot 1.
    std::array<QString, kTokenSlots + 1> ExtensionTokens;
    int FirstToken = 0;    // the first non-empty slot, 0 when all are empty
    QString SearchPattern; // "*.BMP;*.DIB"
};

// The word after the last space of text (the whole text without one); rest gets what is before
// that space. Returns false when text held no space.
bool SplitLastWord(const QString& text, QString& word, QString& rest);
SearchPattern BuildSearchPattern(const QString& ExtensionList);

// Which file names a search lists.
class NameFilter {
public:
    enum class Mode {
        Pattern,   // the folder search: the name matches one of *.TOKEN, without regard to case
        Extension, // the all-drives search: the upper-cased extension of the name equals a token
        Everything // every file (a file count)
    };
    NameFilter() = default;
    NameFilter(const SearchPattern& pattern, Mode mode);

    bool matches(const char* name, size_t length) const;
    bool matches(const QByteArray& name) const { return matches(name.constData(), name.size()); }
    Mode mode() const { return m_mode; }

private:
    Mode m_mode = Mode::Everything;
    QList<QByteArray> m_tokens; // upper-case UTF-8, in slot order
    bool m_matchesAll = false;  // a "*.*" pattern
};

// The text after the last "." of a file's own name, upper-cased (empty without a dot).
QString FileNameExtension(const QString& path);

} // namespace orvanex::search
