// Test helper: writes keys to a hive through the shared routines and reports each routine that
// completed on standard output ("<n>\n"), so a test can kill it at any moment and check.
// Usage: registry_test_writer HIVE PREFIX COUNT [compact-every]

#include "registry/reg_state.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

using namespace orvanex::reg;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    auto registry = Registry::openHiveFile(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    const int compactEvery = argc > 4 ? std::atoi(argv[4]) : 0;
    RegState state;
    state.registry = registry.get();
    for (int i = 0; i < count; ++i) {
        const QString key = prefix + QStringLiteral("\\k%1").arg(i);
        if (WriteText(state, key, QStringLiteral("v"), QString::number(i)) != 0) {
            std::fprintf(stderr, "write %d failed: %d\n", i, state.LastStatus);
            return 1;
        }
        // Every third step also removes an earlier key, so deletions are crash-tested too.
        if (i % 3 == 2 && DeleteKeyTree(state, prefix + QStringLiteral("\\k%1").arg(i - 2)) != 0)
            return 1;
        if (compactEvery > 0 && i % compactEvery == compactEvery - 1 && registry->compact() != 0)
            return 1;
        char line[32];
        const int n = std::snprintf(line, sizeof line, "%d\n", i);
        if (::write(1, line, size_t(n)) != n)
            return 1;
    }
    return 0;
}
