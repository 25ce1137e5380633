#include "settings/settings_format.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>

namespace orvanex::settings {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QString escape(const QString& text, bool isSection, bool isKey) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case ' ':
            // Readers trim blanks at the ends of names and values.
            out += (i == 0 || i == text.size() - 1) ? QLatin1String("\\s") : QLatin1String(" ");
            break;
        case 0:
            out += QLatin1String("\\0");
            break;
        case '=':
            out += isKey ? QLatin1String("\\=") : QLatin1String("=");
            break;
        case '[':
            out += (isKey || isSection) ? QLatin1String("\\[") : QLatin1String("[");
            break;
        case ']':
            out += isSection ? QLatin1String("\\]") : QLatin1String("]");
            break;
        case ';':
            out += isKey ? QLatin1String("\\;") : QLatin1String(";");
            break;
        case '#':
            // A line that starts with "#" is a comment.
            out += (isKey && i == 0) ? QLatin1String("\\#") : QLatin1String("#");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The index of the first unescaped `stop` in text, or -1.
qsizetype findUnescaped(QStringView text, QChar stop) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == stop)
            return i;
        if (text[i] == u'\\')
            ++i;
    }
    return -1;
}

// Undoes the escapes. An unknown escape, or a backslash at the end, is kept as written.
QString unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c != u'\\' || pos + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar e = text[++pos];
        switch (e.unicode()) {
        case '\\':
            out += u'\\';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 's':
            out += u' ';
            break;
        case '0':
            out += QChar(0);
            break;
        case '=':
        case '[':
        case ']':
        case ';':
        case '#':
            out += e;
            break;
        default:
            out += c;
            out += e;
        }
    }
    return out;
}

// The text between blanks; an escaped blank (\s, \t) is not a blank here.
QStringView trimBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString decodeText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    if (view.isValidUtf8())
        return QString::fromUtf8(view);
    // Text saved in the Windows code page by an older editor: every byte is a character.
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(view);
    return QString::fromLatin1(view);
}

Section* sectionNamed(QVector<Section>* sections, QHash<QString, qsizetype>* index,
                      const QString& name) {
    const auto it = index->constFind(name);
    if (it != index->constEnd())
        return &(*sections)[*it];
    index->insert(name, sections->size());
    sections->append(Section{name, {}});
    return &sections->last();
}

} // namespace

bool parse(const QByteArray& bytes, QVector<Section>* sections, int* skippedLines) {
    sections->clear();
    int skipped = 0;
    if (skippedLines)
        *skippedLines = 0;
    // A NUL never appears in a text file (this writer escapes it): the file is something else.
    if (bytes.contains('\0'))
        return false;
    const QString text = decodeText(bytes);
    QHash<QString, qsizetype> index;
    Section* current = nullptr;
    bool sawText = false;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < text.size() && text[lineEnd] != u'\n' && text[lineEnd] != u'\r')
            ++lineEnd;
        const QStringView line =
            trimBlanks(QStringView(text).sliced(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (lineEnd + 1 < text.size() && text[lineEnd] == u'\r' && text[lineEnd + 1] == u'\n')
            ++lineStart;
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        sawText = true;
        if (line.startsWith(u'[')) {
            // The name ends at the first unescaped "]"; what follows it is ignored.
            const qsizetype close = findUnescaped(line, u']');
            if (close < 0) {
                ++skipped;
                current = nullptr;
                continue;
            }
            current =
                sectionNamed(sections, &index, unescape(trimBlanks(line.sliced(1, close - 1))));
            continue;
        }
        const qsizetype equals = findUnescaped(line, u'=');
        if (!current || equals < 0) {
            ++skipped;
            continue;
        }
        const QString key = unescape(trimBlanks(line.first(equals)));
        bool known = false;
        for (const Entry& e : std::as_const(current->entries))
            known = known || e.key == key;
        if (!known)
            current->entries.append(Entry{key, unescape(trimBlanks(line.sliced(equals + 1)))});
    }
    if (skippedLines)
        *skippedLines = skipped;
    if (sawText && sections->isEmpty())
        return false;
    return true;
}

QByteArray serialise(const QVector<Section>& sections) {
    QString out;
    for (const Section& s : sections) {
        if (s.entries.isEmpty())
            continue;
        out += u'[' + escape(s.name, true, false) + QLatin1String("]\n");
        for (const Entry& e : s.entries)
            out += escape(e.key, false, true) + u'=' + escape(e.value, false, false) + u'\n';
        out += u'\n';
    }
    return out.toUtf8();
}

} // namespace orvanex::settings
