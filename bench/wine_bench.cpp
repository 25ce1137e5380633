// A Wine prefix as the registry: opening it and filling both lists, and saving after one change,
// on a generated system.reg of 8,700 keys (the size of a fresh prefix), or on a copy of a real
// prefix's files. Prints medians.
// Usage: wine_bench [PREFIX]   (PREFIX is copied first; its own files are never written)

#include "bench_timing.h"
#include "model/loading.h"
#include "platform/drive_map.h"
#include "registry/wine_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace orvanex;

namespace {

// Classes as a fresh prefix has them (extensions, types with icon and commands, CLSIDs) and
// other machine keys, 8,700 keys in all.
QByteArray generateSystemReg() {
    QByteArray out = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
                     "#arch=win64\n";
    int keys = 0;
    auto key = [&](const QByteArray& path) {
        out += "\n[" + path + "] 1700000000\n#time=1da1a2b3c4d5e6f\n";
        ++keys;
    };
    for (int i = 0; i < 700; ++i) {
        const QByteArray n = QByteArray::number(i);
        key("Software\\\\Classes\\\\.ext" + n);
        out += "@=\"type" + n + "file\"\n\"Content Type\"=\"application/x-type" + n + "\"\n";
    }
    for (int i = 0; i < 700; ++i) {
        const QByteArray n = QByteArray::number(i);
        key("Software\\\\Classes\\\\type" + n + "file");
        out += "@=\"Type " + n + " Document\"\n\"EditFlags\"=dword:00010000\n";
        key("Software\\\\Classes\\\\type" + n + "file\\\\DefaultIcon");
        out +=
            "@=\"C:\\\\windows\\\\system32\\\\shell32.dll,-" + QByteArray::number(i % 40) + "\"\n";
        key("Software\\\\Classes\\\\type" + n + "file\\\\shell\\\\open\\\\command");
        out += "@=\"\\\"C:\\\\windows\\\\notepad.exe\\\" \\\"%1\\\"\"\n";
    }
    for (int i = 0; keys < 7200; ++i) {
        const QByteArray guid =
            QByteArray::number(0x10000000 + i, 16) + "-5081-101B-9F08-00AA002F954E";
        key("Software\\\\Classes\\\\CLSID\\\\{" + guid + "}");
        out += "@=\"Object " + QByteArray::number(i) + "\"\n";
        key("Software\\\\Classes\\\\CLSID\\\\{" + guid + "}\\\\InprocServer32");
        out += "@=\"C:\\\\windows\\\\system32\\\\obj" + QByteArray::number(i % 300) +
               ".dll\"\n\"ThreadingModel\"=\"Both\"\n";
    }
    for (int i = 0; keys < 8700; ++i) {
        key("Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Setting" +
            QByteArray::number(i));
        out += "\"Data\"=hex:" + QByteArray("00,01,02,03,04,05,06,07,").repeated(4) + "08\n";
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    qputenv("XDG_CONFIG_HOME", work.path().toUtf8()); // the slot reset writes settings
    const QString prefix = work.path() + QStringLiteral("/prefix");
    QDir().mkpath(prefix);
    if (argc > 1) {
        for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
            QFile::copy(QDir(QString::fromLocal8Bit(argv[1])).filePath(QLatin1String(name)),
                        prefix + u'/' + QLatin1String(name));
    } else {
        QFile f(prefix + QStringLiteral("/system.reg"));
        if (!f.open(QIODevice::WriteOnly) || f.write(generateSystemReg()) < 0)
            return 1;
    }

    const int runs = 9;
    std::vector<double> opens, openCpu;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const double c0 = bench::cpuMs();
        t.start();
        reg::WineRegistry registry(prefix);
        reg::RegState state;
        state.registry = &registry;
        const platform::DriveMap drives = platform::DriveMap::forHive(registry.hivePath());
        const model::StartupModel m = model::LoadStartupModel(state, drives, true);
        opens.push_back(double(t.nsecsElapsed()) / 1e6);
        openCpu.push_back(bench::cpuMs() - c0);
        rows = int(m.extensions.rows.size() + m.fileTypes.rows.size());
    }
    std::printf("open the prefix and fill the lists (%d rows): median %.1f ms wall, %.1f ms "
                "processor (bar 150 ms)\n",
                rows, bench::medianMs(opens), bench::medianMs(openCpu));

    reg::WineRegistry registry(prefix);
    std::vector<double> saves, saveCpu;
    for (int i = 0; i < runs; ++i) {
        reg::HKey key = 0; // made before the first measured change when the prefix lacks it
        if (registry.createKey(reg::HKEY_CLASSES_ROOT, QStringLiteral(".txt"), &key) != 0)
            return 1;
        const QByteArray text = "application/x-changed-" + QByteArray::number(i);
        QElapsedTimer t;
        const double c0 = bench::cpuMs();
        t.start();
        const reg::Status s = registry.setValueEx(key, QStringLiteral("Content Type"), 1,
                                                  text.constData(), std::uint32_t(text.size()));
        saves.push_back(double(t.nsecsElapsed()) / 1e6);
        saveCpu.push_back(bench::cpuMs() - c0);
        registry.closeKey(key);
        if (s != 0)
            return 1;
    }
    std::printf("save after one change: median %.1f ms wall, %.1f ms processor (bar 100 ms)\n",
                bench::medianMs(saves), bench::medianMs(saveCpu));
    return 0;
}
