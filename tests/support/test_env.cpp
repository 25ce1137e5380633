#include "support/test_env.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace orvanex::test {

QString tempRoot() {
    return qEnvironmentVariable("ORVANEX_TEST_ROOT");
}

QString freshDir(const QString& name) {
    static QAtomicInt counter;
    const QString path =
        QStringLiteral("%1/t%2-%3").arg(tempRoot()).arg(counter.fetchAndAddOrdered(1)).arg(name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString sourceDir() {
    return qEnvironmentVariable("ORVANEX_SOURCE_DIR");
}

void screenshot(const QString& name) {
    const QString dir = qEnvironmentVariable("ORVANEX_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), dir + u'/' + name});
}

} // namespace orvanex::test
