// A Wine prefix's system.reg read as a store, links and all: any bytes open (or are refused), and
// a walk of every key through the links ends, however the links point.

#include "registry/wine_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvanex::reg;

namespace {

// Keys visited at the most: links that share targets may make a tree wider than any file.
constexpr int WalkBudget = 20000;

void walk(Registry& r, HKey key, int depth, int* visited) {
    QString name;
    QByteArray data;
    std::uint32_t type = 0;
    for (std::uint32_t i = 0; r.enumValue(key, i, &name, &type, &data) == 0; ++i) {
    }
    for (std::uint32_t i = 0; *visited < WalkBudget && r.enumKeyEx(key, i, &name) == 0; ++i) {
        HKey child = 0;
        // Every listed key opens: links that lead nowhere are not listed.
        if (r.openKeyEx(key, name, 0, KEY_ALL_USED, &child) != 0)
            std::abort();
        ++*visited;
        if (depth < MaxKeyDepth)
            walk(r, child, depth + 1, visited);
        r.closeKey(child);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("system.reg")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    WineRegistry r(dir.path());
    int visited = 0;
    walk(r, HKEY_LOCAL_MACHINE, 0, &visited);
    walk(r, HKEY_CLASSES_ROOT, 0, &visited);
    return 0;
}
