// The readers of Wine's desktop files: any bytes read without a crash, and taking Wine's entries
// out of a mimeapps.list leaves none of them named there, while putting the lines back names them
// all again.

#include "desktop/desktop_entry_text.h"
#include "desktop/mimeapps_lines.h"

#include <QSet>
#include <cstdlib>

using namespace orvanex::desktop;

namespace {

QSet<QString> entriesNamed(const QByteArray& file) {
    QSet<QString> out;
    for (const MimeAppsLine& line : wineLines(file))
        out.insert(line.entry);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const QHash<QString, QString> keys = desktopEntryKeys(bytes);
    const QString exec = keys.value(QStringLiteral("Exec"));
    (void)prefixOfExec(exec, QStringLiteral("/home/u/.wine"));
    (void)progIdOfExec(exec);
    (void)iconFileNames(keys.value(QStringLiteral("Icon")));
    (void)packageMimeType(bytes);
    (void)packageIconName(bytes);
    (void)extensionOfEntryName(QString::fromUtf8(bytes));

    const QSet<QString> named = entriesNamed(bytes);
    if (named.isEmpty())
        return 0;
    const MimeAppsEdit edit = withoutEntries(bytes, named);
    if (!entriesNamed(edit.bytes).intersect(named).isEmpty())
        std::abort();
    const QByteArray back = withLinesBack(edit.bytes, edit.changes);
    if (entriesNamed(back) != named)
        std::abort();
    return 0;
}
