#include "search/search_pattern.h"

namespace orvanex::search {

namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// A Windows wildcard match ("*" any run, "?" one character) without regard to ASCII case.
bool wildcardMatch(const char* pattern, size_t patternLength, const char* name, size_t nameLength) {
    size_t p = 0;
    size_t n = 0;
    size_t starP = size_t(-1);
    size_t starN = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (pattern[p] == '?' || pattern[p] == upperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != size_t(-1)) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == '*')
        ++p;
    return p == patternLength;
}

} // namespace

bool SplitLastWord(const QString& text, QString& word, QString& rest) {
    const qsizetype space = text.lastIndexOf(u' ');
    if (space < 0) {
        word = text;
        rest.clear();
        return false;
    }
    word = text.mid(space + 1);
    rest = text.left(space);
    return true;
}

SearchPattern BuildSearchPattern(const QString& ExtensionList) {
    SearchPattern result;
    int slot = kTokenSlots + 1;
    QString remaining = ExtensionList;
    for (;;) {
        QString word;
        QString rest;
        const bool hadSpace = SplitLastWord(remaining, word, rest);
        slot = std::max(1, slot - 1);
        result.ExtensionTokens[size_t(slot)] = word;
        if (!hadSpace)
            break;
        remaining = rest;
    }
    for (int i = 1; i <= kTokenSlots; ++i) {
        const QString& token = result.ExtensionTokens[size_t(i)];
        if (token.isEmpty())
            continue;
        if (result.FirstToken == 0) {
            result.FirstToken = i;
            result.SearchPattern = QStringLiteral("*.") + token;
        } else {
            result.SearchPattern += QStringLiteral(";*.") + token;
        }
    }
    return result;
}

NameFilter::NameFilter(const SearchPattern& pattern, Mode mode) : m_mode(mode) {
    if (pattern.FirstToken == 0)
        return;
    for (int i = pattern.FirstToken; i <= kTokenSlots; ++i) {
        const QString& token = pattern.ExtensionTokens[size_t(i)];
        if (token.isEmpty())
            continue;
        QByteArray bytes = token.toUtf8();
        for (char& c : bytes)
            c = upperAscii(c);
        if (mode == Mode::Pattern) {
            bytes.prepend("*.");
            if (bytes == "*.*")
                m_matchesAll = true;
        }
        m_tokens.append(bytes);
    }
}

bool NameFilter::matches(const char* name, size_t length) const {
    switch (m_mode) {
    case Mode::Everything:
        return true;
    case Mode::Pattern:
        if (m_matchesAll)
            return true;
        for (const QByteArray& p : m_tokens)
            if (wildcardMatch(p.constData(), size_t(p.size()), name, length))
                return true;
        return false;
    case Mode::Extension: {
        size_t dot = length;
        while (dot > 0 && name[dot - 1] != '.')
            --dot;
        if (dot == 0)
            return false; // no dot: the empty extension matches no token
        const size_t extLength = length - dot;
        for (const QByteArray& token : m_tokens) {
            if (size_t(token.size()) != extLength)
                continue;
            size_t i = 0;
            while (i < extLength && upperAscii(name[dot + i]) == token[qsizetype(i)])
                ++i;
            if (i == extLength)
                return true;
        }
        return false;
    }
    }
    return false;
}

QString FileNameExtension(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toUpper();
}

} // namespace orvanex::search
