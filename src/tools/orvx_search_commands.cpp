// orvx find: the search window's walk, one line per file found.

#include "platform/drive_map.h"
#include "registry/hive_location.h"
#include "search/file_walk.h"
#include "search/search_pattern.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_paths.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace orvanex::tools {

namespace {

// Lines go out as bytes, so a name that is not UTF-8 is printed as it is on disk.
class PrintingSink : public search::WalkSink {
public:
    explicit PrintingSink(const QList<platform::DriveRoot>& roots) : m_roots(roots) {
        m_buffer.reserve(kFlushAt + 4096);
    }
    ~PrintingSink() override { flush(); }
    void file(int rootIndex, const QByteArray& path, qint64 size) override {
        m_buffer += platform::windowsPathBytesBelow(m_roots[rootIndex], path);
        m_buffer += '\t';
        m_buffer += QByteArray::number(size);
        m_buffer += '\n';
        if (m_buffer.size() >= kFlushAt)
            flush();
    }
    void flush() {
        if (!m_buffer.isEmpty() && std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()),
                                               stdout) != size_t(m_buffer.size()))
            m_failed = true;
        m_buffer.clear();
    }
    bool failed() const { return m_failed; }

private:
    static constexpr qsizetype kFlushAt = 1 << 16;
    const QList<platform::DriveRoot>& m_roots;
    QByteArray m_buffer;
    bool m_failed = false;
};

// "txt", ".txt" and "*.txt" all name the extension TXT.
QString extensionWord(QString word) {
    if (word.startsWith(QLatin1String("*.")))
        word.remove(0, 2);
    else if (word.startsWith(u'.'))
        word.remove(0, 1);
    return word.toUpper();
}

int find(OrvxContext& context, const QStringList& args) {
    QStringList words;
    const QString folder = context.value(QStringLiteral("in"));
    const bool allDrives = context.isSet(QStringLiteral("all-drives"));
    for (const QString& arg : args) {
        const QString word = extensionWord(arg);
        if (!word.isEmpty())
            words.append(word);
    }
    if (words.isEmpty() || (allDrives && context.isSet(QStringLiteral("in"))))
        return context.fail(QStringLiteral("usage: orvx find EXT... [--in FOLDER | --all-drives]"));

    // The drives are those of the registry in use: a Wine prefix brings its own dosdevices.
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const search::SearchPattern pattern = search::BuildSearchPattern(words.join(u' '));
    search::FileWalk walk = [&] {
        if (allDrives)
            return search::FileWalk::allDrives(
                drives, search::NameFilter(pattern, search::NameFilter::Mode::Extension));
        const QString native = folder.isEmpty() ? QDir::currentPath() : nativeOf(drives, folder);
        return search::FileWalk::folderTree(
            drives, QFileInfo(native).absoluteFilePath(),
            search::NameFilter(pattern, search::NameFilter::Mode::Pattern), {true, true});
    }();
    if (!allDrives && !QFileInfo(QString::fromUtf8(walk.roots().first().native)).isDir())
        return context.fail(
            search::FolderMissingText(folder.isEmpty() ? QDir::currentPath() : folder));

    context.out.flush();
    std::atomic_bool stop{false};
    PrintingSink sink(walk.roots());
    walk.run(sink, stop);
    sink.flush();
    if (std::fflush(stdout) != 0 || sink.failed())
        return context.fail(QStringLiteral("could not write the list"));
    const search::WalkCounts& counts = walk.counts();
    context.err << counts.files << " files, " << QString::number(counts.bytes, 'f', 0) << " bytes, "
                << counts.folders << " folders scanned" << Qt::endl;
    return 0;
}

} // namespace

QList<OrvxCommand> searchCommands() {
    return {{QStringLiteral("find"),
             QStringLiteral("find EXT... [--in FOLDER | --all-drives]"),
             QStringLiteral("list the files of the extensions, with their sizes"),
             find,
             {QCommandLineOption(QStringLiteral("in"),
                                 QStringLiteral("find, count: walk <folder> (native or C:\\...)."),
                                 QStringLiteral("folder")),
              QCommandLineOption(QStringLiteral("all-drives"),
                                 QStringLiteral("find, count: walk every drive."))}}};
}

} // namespace orvanex::tools
