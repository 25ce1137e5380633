#include "pdf_text.h"

#include <QProcess>
#include <QRegularExpression>

namespace orvanex::test {

namespace {

QString run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString& pdf, int firstPage, int lastPage) {
    QStringList args{QStringLiteral("-layout")};
    if (firstPage > 0)
        args << QStringLiteral("-f") << QString::number(firstPage);
    if (lastPage > 0)
        args << QStringLiteral("-l") << QString::number(lastPage);
    return run(args << pdf << QStringLiteral("-"));
}

QList<PdfWord> pdfWords(const QString& pdf) {
    const QString html = run({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        words.append(
            {page,
             QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
             m.captured(5)});
    }
    return words;
}

PdfWord findWord(const QList<PdfWord>& words, const QString& text, int page) {
    for (const PdfWord& w : words)
        if (w.page == page && w.text == text)
            return w;
    return {};
}

} // namespace orvanex::test
