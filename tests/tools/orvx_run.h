#pragma once
// Running orvx as a script would, with a chosen environment.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace orvanex::test {

struct OrvxRun {
    int code = -1;
    QString out;
    QString err;
};

struct OrvxSetup {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    std::function<void()> inChild; // runs in the child before orvx starts (dropping privileges)
};

OrvxRun runOrvx(const QStringList& args, const OrvxSetup& setup = {});
// Arguments as raw bytes, for names that are not UTF-8.
OrvxRun runOrvxBytes(const QList<QByteArray>& args, const QList<QByteArray>& env);
// This process's environment as "NAME=value" bytes, without the variables named.
QList<QByteArray> environmentWithout(const QList<QByteArray>& names);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// The start of the classes most list tests import: ".txt" of type txtfile, as text/plain.
inline const QByteArray TextExtensionClasses = "REGEDIT4\r\n\r\n"
                                               "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                                               "@=\"txtfile\"\r\n"
                                               "\"Content Type\"=\"text/plain\"\r\n\r\n";
// classes imported by orvx into the new hive dir/r.hive, whose path it returns.
QString importClasses(const QString& dir, const QByteArray& classes);

} // namespace orvanex::test
