#include "reports/list_export.h"

#include "model/grid_model.h"
#include "model/grid_rows.h"

#include <QSaveFile>

namespace orvanex::reports {

namespace {

QStringList headersOf(const QString& format) {
    QStringList headers;
    for (const model::GridHeader& h : model::parseGridFormat(format).mid(0, 4))
        headers.append(h.text.trimmed());
    return headers;
}

QString cellOf(const QString& text) {
    return text.trimmed().isEmpty() ? QString() : text;
}

QString csvField(const QString& text) {
    const QString cell = cellOf(text);
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\r') &&
        !cell.contains(u'\n'))
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvLine(const QStringList& cells, qsizetype columns) {
    QStringList fields;
    for (qsizetype c = 0; c < columns; ++c)
        fields.append(csvField(c < cells.size() ? cells[c] : QString()));
    return fields.join(u',') + QStringLiteral("\r\n");
}

QString html(const QString& text) {
    return cellOf(text).toHtmlEscaped().replace(u'\'', QStringLiteral("&#39;"));
}

} // namespace

QStringList extensionListHeaders() {
    return headersOf(model::extensionGridFormat());
}

QStringList fileTypeListHeaders() {
    return headersOf(model::fileTypeGridFormat());
}

QByteArray listCsv(const QStringList& headers, const QList<QStringList>& rows) {
    QString text = csvLine(headers, headers.size());
    for (const QStringList& row : rows)
        text += csvLine(row, headers.size());
    return text.toUtf8();
}

QByteArray listHtml(const QString& title, const QStringList& headers,
                    const QList<QStringList>& rows, const QDateTime& made) {
    QString page =
        QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
            "<style>\nbody { font-family: sans-serif; font-size: 10pt; }\n"
            "table { border-collapse: collapse; }\n"
            "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; "
            "vertical-align: top; }\nth { background: #ddd; }\n</style>\n</head>\n"
            "<body>\n<h1>%1</h1>\n<p>%2, %3 rows</p>\n<table>\n<thead><tr>")
            .arg(html(title), html(made.toString(Qt::ISODate)))
            .arg(rows.size());
    for (const QString& h : headers)
        page += QStringLiteral("<th>") + html(h) + QStringLiteral("</th>");
    page += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (const QStringList& row : rows) {
        page += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < headers.size(); ++c)
            page += QStringLiteral("<td>") + html(c < row.size() ? row[c] : QString()) +
                    QStringLiteral("</td>");
        page += QStringLiteral("</tr>\n");
    }
    page += QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n");
    return page.toUtf8();
}

ListFormat listFormatFor(const QString& path) {
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return ListFormat::Csv;
    if (path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
        path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return ListFormat::Html;
    return ListFormat::Unknown;
}

ExportOutcome exportList(const QString& path, const QString& title, const QStringList& headers,
                         const QList<QStringList>& rows, const QDateTime& made) {
    ExportOutcome out;
    const ListFormat format = listFormatFor(path);
    if (format == ListFormat::Unknown) {
        out.error = QStringLiteral("%1: the name must end in .csv, .html or .htm").arg(path);
        return out;
    }
    const QByteArray bytes =
        format == ListFormat::Csv ? listCsv(headers, rows) : listHtml(title, headers, rows, made);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        out.error = QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace orvanex::reports
