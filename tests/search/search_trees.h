#pragma once
// Folder trees with the names that break careless code, built by the tests themselves.

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvanex::test {

// Creates the file (and its folders) with size bytes; path is native bytes.
bool makeFile(const QByteArray& path, qsizetype size = 0);
bool makeFolder(const QByteArray& path);

// Under root: files with blanks, quotes, "$(...)", ";", non-ASCII and non-UTF-8 bytes, mixed-case
// extensions, dots in folder names, a link to a file, links to folders and a link loop, and an
// unreadable folder holding a .txt file. Returns the native paths of the regular .txt files a
// walk must find (the unreadable folder's file not among them).
QList<QByteArray> makeStrangeTree(const QByteArray& root);

// Removes the tree: its unreadable folder and names that are not UTF-8 stop Qt's own removal.
void removeStrangeTree(const QByteArray& root);

// The orvx of the build under test.
QString orvxProgram();
// The lines of a program's output, sorted, without empty ones (outputs whose order is free).
QList<QByteArray> sortedLines(const QByteArray& text);

// Runs a program with an argument list; returns its exit status (-1 when it did not run).
int runProgram(const QString& program, const QStringList& args, QByteArray* out,
               QByteArray* err = nullptr);

} // namespace orvanex::test
