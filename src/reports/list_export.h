#pragma once
// The lists taken away: the rows of the extension or file-type list as a CSV file (RFC 4180,
// a header row, UTF-8) or as one self-contained HTML page with a table.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::reports {

// The four visible columns' headers, blanks trimmed: "File extensions", "# files", ...
QStringList extensionListHeaders();
QStringList fileTypeListHeaders();

// CRLF line ends; a field is quoted when it holds a comma, a double quote, CR or LF, its quotes
// doubled. Cells of blanks only (counts not taken yet) are empty.
QByteArray listCsv(const QStringList& headers, const QList<QStringList>& rows);
// Every text escaped; the style is inside the page, nothing is fetched.
QByteArray listHtml(const QString& title, const QStringList& headers,
                    const QList<QStringList>& rows, const QDateTime& made);

enum class ListFormat { Unknown, Csv, Html };
// By the file's suffix: .csv, .html or .htm (any case).
ListFormat listFormatFor(const QString& path);

struct ExportOutcome {
    bool ok = false;
    QString error;
};
// Writes the list beside path and renames it in, so a failure leaves what was there.
ExportOutcome exportList(const QString& path, const QString& title, const QStringList& headers,
                         const QList<QStringList>& rows, const QDateTime& made);

} // namespace orvanex::reports
