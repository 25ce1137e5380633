#pragma once
// A PDF's text as poppler's pdftotext reads it: the layout text of pages, and word boxes in
// points from the page's top left.

#include <QList>
#include <QRectF>
#include <QString>

namespace orvanex::test {

QString pdfText(const QString& pdf, int firstPage = 0, int lastPage = 0);

struct PdfWord {
    int page = 0; // from 1
    QRectF box;   // points
    QString text;
};
QList<PdfWord> pdfWords(const QString& pdf);
// The first word with this text (an empty box when there is none).
PdfWord findWord(const QList<PdfWord>& words, const QString& text, int page = 1);

} // namespace orvanex::test
