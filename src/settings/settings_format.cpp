#include "settings/settings_format.h"

#include <QStringDecoder>
#include <QStringList>

namespace orvanex::settings {
namespace {

QString escape(const QString& text, bool isSection, bool isKey) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
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
        default:
            out += c;
        }
    }
    return out;
}

// Reads escapes from text[pos..end); stops at `stop` (unescaped). Returns false on a bad escape.
bool unescape(const QString& text, qsizetype& pos, QChar stop, QString* out) {
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == stop)
            return true;
        if (c != u'\\') {
            *out += c;
            ++pos;
            continue;
        }
        if (pos + 1 >= text.size())
            return false;
        const QChar e = text[pos + 1];
        switch (e.unicode()) {
        case '\\':
            *out += u'\\';
            break;
        case 'n':
            *out += u'\n';
            break;
        case 'r':
            *out += u'\r';
            break;
        case 't':
            *out += u'\t';
            break;
        case '0':
            *out += QChar(0);
            break;
        case '=':
        case '[':
        case ']':
        case ';':
            *out += e;
            break;
        default:
            return false;
        }
        pos += 2;
    }
    return stop.isNull();
}

} // namespace

bool parse(const QByteArray& bytes, QVector<Section>* sections, int* badLine) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        *badLine = 0;
        return false;
    }
    const QStringList lines = text.split(u'\n');
    Section* current = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        *badLine = int(i + 1);
        if (line.startsWith(u'[')) {
            qsizetype pos = 1;
            QString name;
            if (!unescape(line, pos, u']', &name) || pos != line.size() - 1)
                return false;
            sections->append(Section{name, {}});
            current = &sections->last();
            continue;
        }
        if (!current)
            return false;
        qsizetype pos = 0;
        QString key;
        if (!unescape(line, pos, u'=', &key) || pos >= line.size())
            return false;
        ++pos;
        QString value;
        if (!unescape(line, pos, QChar(), &value))
            return false;
        current->entries.append(Entry{key, value});
    }
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
