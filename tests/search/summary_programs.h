#pragma once
// Windows programs for the summary: a 32-bit one with a UTF-16 version block and a console one
// without a version (both linked by the mingw-w64 tools), and a 16-bit one with a single-byte
// version block.

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPair>
#include <QString>

namespace orvanex::test {

// The strings of every fixture's version block, in the summary's order.
const QList<QPair<QByteArray, QByteArray>>& summaryVersionStrings();

// The colour of the 32-bit program's only icon.
QColor summaryIconColour();

struct SummaryPrograms {
    QString gui32;   // marked for Windows 4.0, with the version strings and one icon
    QString console; // a console program without a version block
    QString win16;   // marked for Windows 3.10, with the version strings
    QString error;   // why a program could not be built
};
SummaryPrograms buildSummaryPrograms(const QString& dir);

} // namespace orvanex::test
