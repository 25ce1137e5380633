// A Windows installation's SOFTWARE hive as the registry: opening it and filling both lists,
// beside hivexml writing the same hive out (hivex's own full walk), on a generated hive of about
// 8,000 classes keys (the size of a fresh Wine prefix's HKEY_CLASSES_ROOT) and one of 100,000
// keys. Prints medians and their ratio.
// Usage: nt_bench

#include "bench_timing.h"
#include "model/loading.h"
#include "nt_fixture.h"
#include "platform/drive_map.h"
#include "registry/nt_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

using namespace orvanex;

namespace {

struct Maker {
    reg::Registry& r;
    int keys = 0;
    bool ok = true;
    void key(const QString& path, const QString& name = {}, std::uint32_t type = 0,
             const QByteArray& data = {}) {
        reg::HKey k = 0;
        if (!ok)
            return;
        const reg::Status made = r.createKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\" + path, &k);
        const reg::Status set = made || !type ? made
                                              : r.setValueEx(k, name, type, data.constData(),
                                                             std::uint32_t(data.size()));
        if (made || set) {
            std::fprintf(stderr, "nt_bench: cannot write %s (status %d): %s\n",
                         qUtf8Printable(path), int(made ? made : set), qUtf8Printable(r.problem()));
            ok = false;
        }
        r.closeKey(k);
        ++keys;
    }
};

// Classes as Windows has them (extensions, types with icon and commands, CLSIDs), then other
// machine keys, up to total keys; no parent gets more than a few thousand subkeys.
bool generate(const QString& hive, int types, int total) {
    if (!test::writeBytes(hive, test::blankHive()))
        return false;
    reg::NtLocation where;
    where.machineHive = hive;
    reg::NtRegistry r(where);
    Maker m{r};
    reg::WriteBatch batch(r);
    for (int i = 0; i < types; ++i) {
        const QString n = QString::number(i);
        m.key("Classes\\.ext" + n, "", reg::type::Sz, "type" + n.toUtf8() + "file");
        const QString t = "Classes\\type" + n + "file";
        m.key(t, "", reg::type::Sz, "Type " + n.toUtf8() + " Document");
        m.key(t, "EditFlags", reg::type::Dword, QByteArray("\0\0\1\0", 4));
        m.key(t + "\\DefaultIcon", "", reg::type::ExpandSz,
              "%SystemRoot%\\System32\\shell32.dll,-" + QByteArray::number(i % 40) + '\0');
        m.key(t + "\\shell\\open\\command", "", reg::type::Sz,
              "\"C:\\Windows\\notepad.exe\" \"%1\"");
        m.keys += 1; // six keys in five calls: shell and open come with command, t twice
    }
    const int classes = total < 20000 ? 8000 : 3 * total / 4;
    for (int i = 0; m.keys < classes && m.ok; ++i) {
        const QString guid = QString::number(0x10000000 + i, 16) + "-5081-101B-9F08-00AA002F954E";
        const QString group = QStringLiteral("Classes\\CLSID%1\\{").arg(i / 2000);
        m.key(group + guid + "}", "", reg::type::Sz, "Object " + QByteArray::number(i));
        m.key(group + guid + "}\\InprocServer32", "ThreadingModel", reg::type::Sz, "Both");
    }
    for (int i = 0; m.keys < total && m.ok; ++i)
        m.key(QStringLiteral("Vendor%1\\Setting%2").arg(i / 2000).arg(i), "Data", reg::type::Binary,
              QByteArray(33, char(i)));
    return m.ok && batch.finish() == 0;
}

void compare(const QString& hive, const QString& hivexml, const char* what) {
    const int runs = 7;
    int rows = 0;
    const bench::Timing ours = bench::measure(runs, [&] {
        reg::NtLocation where;
        where.machineHive = hive;
        reg::NtRegistry registry(where);
        reg::RegState state;
        state.registry = &registry;
        const platform::DriveMap drives = platform::DriveMap::forHive(registry.hivePath());
        const model::StartupModel m = model::LoadStartupModel(state, drives, true);
        rows = int(m.extensions.rows.size() + m.fileTypes.rows.size());
    });
    const bench::Timing peer = bench::measure(runs, [&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(hivexml, {hive});
        p.waitForFinished(-1);
    });
    std::printf("%s: open and fill both lists (%d rows) median %.1f ms; hivexml writing it out "
                "median %.1f ms; ratio %.2f (bar: at most 1.00)\n",
                what, rows, ours.wall, peer.wall, ours.wall / peer.wall);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    qputenv("XDG_CONFIG_HOME", work.path().toUtf8());
    const QString hivexml = QStandardPaths::findExecutable(QStringLiteral("hivexml"));
    if (hivexml.isEmpty()) {
        std::fprintf(stderr, "nt_bench: hivexml is not installed (libhivex-bin)\n");
        return 1;
    }
    const QString small = work.path() + "/small/Windows/System32/config/SOFTWARE";
    const QString large = work.path() + "/large/Windows/System32/config/SOFTWARE";
    if (!generate(small, 700, 8000) || !generate(large, 3000, 100000)) {
        std::fprintf(stderr, "nt_bench: cannot generate the hives\n");
        return 1;
    }
    compare(small, hivexml, "SOFTWARE hive of 8,000 classes keys");
    compare(large, hivexml, "SOFTWARE hive of 100,000 keys");
    return 0;
}
