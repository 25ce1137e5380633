#include "search_trees.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::test {

bool makeFolder(const QByteArray& path) {
    QByteArray partial;
    for (const QByteArray& part : path.split('/')) {
        partial += part;
        if (!partial.isEmpty())
            ::mkdir(partial.constData(), 0755);
        partial += '/';
    }
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFile(const QByteArray& path, qsizetype size) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makeFolder(path.left(slash)))
        return false;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray bytes(size, 'x');
    const bool ok = ::write(fd, bytes.constData(), size_t(size)) == ssize_t(size);
    return ::close(fd) == 0 && ok;
}

QList<QByteArray> makeStrangeTree(const QByteArray& root) {
    const QList<QByteArray> found = {
        root + "/plain.txt",
        root + "/Mixed.TxT",
        root + "/with blank  two.txt",
        root + "/quote\"s and 'single'.txt",
        root + "/$(touch pwned);rm -rf x.txt",
        root + "/semi;colon.txt",
        root + "/na\xc3\xafve caf\xc3\xa9.txt",
        root + "/latin1 \xe9\xff.txt",
        root + "/.txt",
        root + "/MY.DIR/inner.txt",
        root + "/deep/a/b/c/d/e/bottom.TXT",
        root + "/not utf8 \xfe folder/x.txt",
    };
    qsizetype size = 1;
    for (const QByteArray& path : found)
        makeFile(path, size++ * 7);
    // What must not be found: other extensions, names with no dot, a name ending in the
    // extension without its dot, and a folder named like a match.
    makeFile(root + "/MY.DIR/README", 3);
    makeFile(root + "/notatxt", 3);
    makeFile(root + "/plain.txt.bak", 3);
    makeFolder(root + "/folder.txt");
    // Links: to a file (not a regular file itself), to a folder, and back up (a loop).
    ::symlink("plain.txt", (root + "/link to file.txt").constData());
    ::symlink("deep", (root + "/link to deep").constData());
    ::symlink("..", (root + "/deep/a/loop").constData());
    ::symlink("/nonexistent/target.txt", (root + "/dangling.txt").constData());
    // A folder nobody may read (as root this still reads; callers check).
    makeFile(root + "/locked/hidden.txt", 5);
    ::chmod((root + "/locked").constData(), 0);
    return found;
}

void removeStrangeTree(const QByteArray& root) {
    ::chmod((root + "/locked").constData(), 0755);
    runProgram(QStringLiteral("rm"), {QStringLiteral("-rf"), QFile::decodeName(root)}, nullptr);
}

QString orvxProgram() {
    return qEnvironmentVariable("ORVANEX_BINARY_DIR") + "/bin/orvx";
}

QList<QByteArray> sortedLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    lines.removeAll(QByteArray());
    std::sort(lines.begin(), lines.end());
    return lines;
}

int runProgram(const QString& program, const QStringList& args, QByteArray* out, QByteArray* err) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(30000))
        return -1;
    process.closeWriteChannel();
    if (!process.waitForFinished(300000))
        return -1;
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace orvanex::test
