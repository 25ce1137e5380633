// Test entry: a QApplication on the offscreen platform inside a private temporary home.

#include "support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/orvanex-test-XXXXXX"));
    if (!root.isValid())
        return 2;
    const QString r = root.path();
    for (const char* sub : {"home", "config", "data", "cache", "app"})
        QDir().mkpath(r + u'/' + QLatin1String(sub));
    qputenv("ORVANEX_TEST_ROOT", r.toUtf8());
    qputenv("HOME", (r + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (r + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (r + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (r + QStringLiteral("/cache")).toUtf8());
    qputenv("ORVANEX_HIVE", (r + QStringLiteral("/data/test.hive")).toUtf8());
    if (qEnvironmentVariableIsEmpty("ORVANEX_SOURCE_DIR"))
        qputenv("ORVANEX_SOURCE_DIR", ORVANEX_TEST_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("ORVANEX_BINARY_DIR"))
        qputenv("ORVANEX_BINARY_DIR", ORVANEX_TEST_BINARY_DIR);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir::setCurrent(r + QStringLiteral("/app"));
    // No QStandardPaths test mode: the programs a test starts (orvx, orvanex) cannot be put in it,
    // and they must read and write the same folders as the test. The private home above already
    // keeps the user's own files out of reach.
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
