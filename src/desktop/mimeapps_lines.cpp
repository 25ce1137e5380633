#include "desktop/mimeapps_lines.h"

namespace orvanex::desktop {

namespace {

struct Line {
    QByteArray text; // without its line end
    QByteArray end;  // "\n", "\r\n" or "" for a last line without one
};

QList<Line> splitKeepingEnds(const QByteArray& file) {
    QList<Line> lines;
    qsizetype start = 0;
    while (start < file.size()) {
        const qsizetype nl = file.indexOf('\n', start);
        Line l;
        if (nl < 0) {
            l.text = file.mid(start);
            start = file.size();
        } else {
            l.text = file.mid(start, nl - start);
            l.end = "\n";
            start = nl + 1;
        }
        if (l.text.endsWith('\r')) {
            l.text.chop(1);
            l.end.prepend('\r');
        }
        lines.append(l);
    }
    return lines;
}

QByteArray joined(const QList<Line>& lines) {
    QByteArray out;
    for (const Line& l : lines)
        out += l.text + l.end;
    return out;
}

bool isSection(const QByteArray& text) {
    return text.trimmed().startsWith('[');
}

bool isWineEntry(const QByteArray& name) {
    return name.startsWith("wine-extension-") && name.endsWith(".desktop");
}

// The entries of "type=a.desktop;b.desktop;", blanks trimmed; empty for other lines.
QList<QByteArray> namesOf(const QByteArray& text, QByteArray* key) {
    const qsizetype eq = text.indexOf('=');
    if (eq <= 0 || text.trimmed().startsWith('#') || isSection(text))
        return {};
    *key = text.left(eq);
    QList<QByteArray> names;
    for (const QByteArray& n : text.mid(eq + 1).split(';'))
        names.append(n.trimmed());
    return names;
}

} // namespace

QList<MimeAppsLine> wineLines(const QByteArray& file) {
    QList<MimeAppsLine> found;
    QString section;
    const QList<Line> lines = splitKeepingEnds(file);
    for (int i = 0; i < lines.size(); ++i) {
        if (isSection(lines[i].text)) {
            section = QString::fromUtf8(lines[i].text.trimmed());
            continue;
        }
        QByteArray key;
        for (const QByteArray& n : namesOf(lines[i].text, &key))
            if (isWineEntry(n))
                found.append({i, section, lines[i].text, QString::fromUtf8(n)});
    }
    return found;
}

MimeAppsEdit withoutEntries(const QByteArray& file, const QSet<QString>& entries) {
    MimeAppsEdit edit;
    QList<Line> lines = splitKeepingEnds(file);
    QList<Line> kept;
    QString section;
    for (const Line& l : lines) {
        if (isSection(l.text))
            section = QString::fromUtf8(l.text.trimmed());
        QByteArray key;
        const QList<QByteArray> names = namesOf(l.text, &key);
        QList<QByteArray> left;
        bool touched = false;
        for (const QByteArray& n : names) {
            if (entries.contains(QString::fromUtf8(n)))
                touched = true;
            else if (!n.isEmpty())
                left.append(n);
        }
        if (!touched) {
            kept.append(l);
            continue;
        }
        LineChange change{section, l.text, {}};
        if (!left.isEmpty()) {
            change.after = key + '=' + left.join(';') + ';';
            kept.append({change.after, l.end});
        }
        edit.changes.append(change);
    }
    edit.bytes = joined(kept);
    return edit;
}

QByteArray withLinesBack(const QByteArray& file, const QList<LineChange>& changes) {
    QList<Line> lines = splitKeepingEnds(file);
    // A lone "\r" is no line end here, so lines come back ending as the file's first one, or "\n".
    const QByteArray end =
        !lines.isEmpty() && lines.first().end == "\r\n" ? QByteArray("\r\n") : QByteArray("\n");
    for (const LineChange& c : changes) {
        bool present = false;
        for (const Line& l : lines)
            present = present || l.text == c.before;
        if (present)
            continue;
        if (!c.after.isEmpty()) {
            bool replaced = false;
            for (Line& l : lines)
                if (!replaced && l.text == c.after) {
                    l.text = c.before;
                    replaced = true;
                }
            if (replaced)
                continue;
        }
        // At the end of its section: before the next section's header.
        qsizetype at = -1;
        if (c.section.isEmpty()) {
            // A line from before any header goes back before the first one.
            at = 0;
            while (at < lines.size() && !isSection(lines[at].text))
                ++at;
        } else {
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (isSection(lines[i].text)) {
                    if (at >= 0)
                        break;
                    if (QString::fromUtf8(lines[i].text.trimmed()) == c.section)
                        at = i + 1;
                } else if (at >= 0 && !lines[i].text.trimmed().isEmpty()) {
                    at = i + 1;
                }
            }
        }
        if (at < 0) {
            if (!lines.isEmpty() && !lines.last().end.endsWith('\n'))
                lines.last().end = end;
            lines.append({c.section.toUtf8(), end});
            at = lines.size();
        }
        if (at > 0 && !lines[at - 1].end.endsWith('\n'))
            lines[at - 1].end = end;
        lines.insert(at, {c.before, end});
    }
    return joined(lines);
}

} // namespace orvanex::desktop
