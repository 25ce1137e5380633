// Text the search reads from outside: the mount table, desktop entries' Exec lines, extension
// lists from the registry and the names on disk they are matched against.

#include "platform/desktop_apps.h"
#include "platform/drives.h"
#include "search/search_pattern.h"

#include <cstddef>
#include <cstdint>

using namespace orvanex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<platform::MountEntry> mounts = platform::parseMountTable(bytes);
    platform::pseudoDevices(mounts);

    const QString text = QString::fromUtf8(bytes);
    platform::DesktopApp app;
    app.executable = QStringLiteral("/bin/true");
    app.exec = platform::splitExec(text);
    if (app.valid())
        platform::commandForFile(app, QStringLiteral("/a b/c.txt"));

    // The first line is the extension list, the rest names to match.
    const qsizetype newline = bytes.indexOf('\n');
    const search::SearchPattern pattern =
        search::BuildSearchPattern(QString::fromUtf8(bytes.left(newline < 0 ? 0 : newline)));
    const QByteArray names = newline < 0 ? bytes : bytes.mid(newline + 1);
    for (const auto mode :
         {search::NameFilter::Mode::Pattern, search::NameFilter::Mode::Extension}) {
        const search::NameFilter filter(pattern, mode);
        for (const QByteArray& name : names.split('/'))
            filter.matches(name);
    }
    search::FileNameExtension(text);
    return 0;
}
