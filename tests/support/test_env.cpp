#include "support/test_env.h"

#include <QAtomicInt>
#include <QDir>

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

} // namespace orvanex::test
