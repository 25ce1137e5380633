#pragma once
// The lines of mimeapps.list that name Wine's desktop entries, and the file with those names
// taken out: a line that names other programs too keeps them, a line left naming none goes.

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

namespace orvanex::desktop {

struct MimeAppsLine {
    int index = 0;   // the line's number from 0, as the file holds it
    QString section; // "[Default Applications]"
    QByteArray text; // the whole line as it stands, without its line end
    QString entry;   // the Wine entry it names: "wine-extension-pdf.desktop"
};

// One row per (line, Wine entry named): entries "wine-extension-*.desktop".
QList<MimeAppsLine> wineLines(const QByteArray& file);

struct LineChange {
    QString section;
    QByteArray before;
    QByteArray after; // empty: the line was taken out
};
struct MimeAppsEdit {
    QByteArray bytes; // the file after the change
    QList<LineChange> changes;
};
// Takes the entries out of every line that names them.
MimeAppsEdit withoutEntries(const QByteArray& file, const QSet<QString>& entries);
// Puts changed lines back: a line as the change left it becomes what it was, a line taken out
// comes back at the end of its section (the section is added when it is gone). Lines already
// back are left alone.
QByteArray withLinesBack(const QByteArray& file, const QList<LineChange>& changes);

} // namespace orvanex::desktop
