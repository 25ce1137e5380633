#pragma once
// Extension lists as the user types them: words separated by blanks, taken apart from the right
// end, and sorted and joined again with single blanks.

#include <QString>
#include <QStringList>

namespace orvanex::model {

struct SplitWord {
    QString before; // the text before the last blank (empty when there is none)
    QString word;   // the text after the last blank, or the whole text
    bool found = false;
};
// Splits at the last blank (a space character only).
SplitWord SplitLastWord(const QString& text);

// The words of text in token order: the last word first. Every word is kept, however many there
// are; runs of blanks give no empty words.
QStringList ExtensionTokens(const QString& text);

// The words sorted by character code and joined with single blanks.
QString SortJoinWords(QStringList words);
// ExtensionTokens of the upper-cased text, sorted and joined.
QString SortJoinExtensions(const QString& text);

// A typed word as an extension name: one leading dot is the user's habit, not part of the name.
QString ExtensionWord(const QString& typed);

} // namespace orvanex::model
