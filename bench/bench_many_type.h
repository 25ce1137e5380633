#pragma once
// The large registry of the editing benchmarks: a hive file of 50,000 extensions, 60 of them of
// the one type "manyfile", below the benchmark's temporary folder.

#include "bench_process.h"
#include "model/loading.h"
#include "model_hive_generator.h"
#include "registry/reg_state.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace orvanex::bench {

// The App folder below dir, with its Backup folder.
inline QString makeAppFolder(const QString& dir) {
    const QString appFolder = dir + QStringLiteral("/app");
    QDir().mkpath(appFolder + QStringLiteral("/Backup"));
    return appFolder;
}

// Writes the type "manyfile" with its 60 extensions (again, after a benchmark deleted them).
inline void writeManyType(reg::Registry& registry, reg::RegState& state) {
    reg::WriteBatch batch(registry);
    reg::WriteText(state, QStringLiteral("manyfile"), QString(), QStringLiteral("Many"));
    reg::WriteText(state, QStringLiteral("manyfile\\DefaultIcon"), QString(),
                   QStringLiteral("many.exe"));
    reg::WriteText(state, QStringLiteral("manyfile\\Shell\\open\\command"), QString(),
                   QStringLiteral("many.exe %1"));
    for (int i = 0; i < 60; ++i)
        reg::WriteText(state, QStringLiteral(".mny%1").arg(i, 2, 10, QLatin1Char('0')), QString(),
                       QStringLiteral("manyfile"));
}

// The hive below dir, generated, with "manyfile" written; state reads it. Null on failure.
inline std::unique_ptr<reg::Registry> openManyTypeHive(const QString& dir, reg::RegState& state) {
    auto registry = reg::Registry::openHive(dir + QStringLiteral("/bench.hive"));
    HiveSize size;
    size.extensions = 50000 - 60;
    size.fileTypes = 20000;
    size.actions = 40000;
    if (generateClasses(*registry, size) != reg::status::Success)
        return nullptr;
    state.registry = registry.get();
    writeManyType(*registry, state);
    return registry;
}

// The extensions of "manyfile" as the type list holds them; the registry's size is printed.
inline QString manyTypeExtensions(const QList<model::ExtensionEntry>& extensions,
                                  const QList<model::FileTypeEntry>& types) {
    QString many;
    for (const model::FileTypeEntry& t : types)
        if (t.TypeName == QLatin1String("manyfile"))
            many = t.Extensions;
    std::printf("registry: %lld extensions, %lld file types; the type has %lld extensions\n",
                qlonglong(extensions.size()), qlonglong(types.size()),
                qlonglong(many.split(u' ').size()));
    return many;
}

// The editing benchmarks' world in its temporary folder: settings, App folder, the hive and both
// tables read from it.
struct ManyTypeWorld {
    QTemporaryDir dir;
    QString appFolder;
    reg::RegState state;
    std::unique_ptr<reg::Registry> registry;
    QList<model::ExtensionEntry> extensions;
    QList<model::FileTypeEntry> types;
    QString many; // the extensions of "manyfile"

    // Made before the application object, which must already see the benchmark's own settings.
    ManyTypeWorld() {
        if (dir.isValid())
            useOwnSettings(dir.path());
    }
    // After the application object exists; false when the hive cannot be made.
    bool open() {
        if (!dir.isValid())
            return false;
        appFolder = makeAppFolder(dir.path());
        registry = openManyTypeHive(dir.path(), state);
        if (!registry)
            return false;
        extensions = model::LoadExtensions(state).entries;
        types = model::BuildFileTypes(extensions).types;
        many = manyTypeExtensions(extensions, types);
        return true;
    }
};

// Runs body over the world, the application object made once the world's settings are in place;
// 2 when the hive cannot be made.
inline int runOverManyType(int argc, char** argv, int (*body)(ManyTypeWorld&)) {
    ManyTypeWorld world;
    QCoreApplication app(argc, argv);
    if (!world.open())
        return 2;
    return body(world);
}

} // namespace orvanex::bench
