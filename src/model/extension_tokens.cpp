#include "model/extension_tokens.h"

#include <algorithm>

namespace orvanex::model {

SplitWord SplitLastWord(const QString& text) {
    const qsizetype blank = text.lastIndexOf(u' ');
    if (blank < 0)
        return SplitWord{QString(), text, false};
    return SplitWord{text.left(blank), text.mid(blank + 1), true};
}

QStringList ExtensionTokens(const QString& text) {
    // Cutting the last word off again and again, as SplitLastWord does, in one linear pass.
    QStringList tokens = text.split(u' ', Qt::SkipEmptyParts);
    std::reverse(tokens.begin(), tokens.end());
    return tokens;
}

QString SortJoinWords(QStringList words) {
    std::sort(words.begin(), words.end());
    return words.join(u' ');
}

QString SortJoinExtensions(const QString& text) {
    return SortJoinWords(ExtensionTokens(text.toUpper()));
}

QString ExtensionWord(const QString& typed) {
    return typed.startsWith(u'.') ? typed.mid(1) : typed;
}

} // namespace orvanex::model
