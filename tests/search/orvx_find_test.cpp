// orvx find, run as a script runs it, against find(1) on the same trees.

#include "search_trees.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvanex;

namespace {

using test::sortedLines;

QString orvx() {
    return test::orvxProgram();
}

// orvx's "X:\a\b\tsize" lines as find's "/native/a/b\tsize" lines, for the drives given.
QList<QByteArray> nativeLines(const QByteArray& text, const QMap<char, QByteArray>& drives) {
    QList<QByteArray> out;
    for (QByteArray line : sortedLines(text)) {
        const QByteArray folder = drives.value(line[0]);
        line = line.mid(3);
        const qsizetype tab = line.lastIndexOf('\t');
        QByteArray path = line.left(tab);
        path.replace('\\', '/');
        out.append(folder + (folder.endsWith('/') ? "" : "/") + path + line.mid(tab));
    }
    std::sort(out.begin(), out.end());
    return out;
}

QList<QByteArray> findLines(const QStringList& roots, const QStringList& patterns) {
    QStringList args = roots;
    args << "-type"
         << "f"
         << "(";
    for (qsizetype i = 0; i < patterns.size(); ++i) {
        if (i > 0)
            args << "-o";
        args << "-iname" << patterns[i];
    }
    args << ")"
         << "-printf"
         << "%p\t%s\n";
    QByteArray out;
    test::runProgram("find", args, &out);
    return sortedLines(out);
}

} // namespace

TEST(OrvxFind, AFolderTreeListsWhatFindListsInWindowsPaths) {
    const QByteArray root = QFile::encodeName(test::freshDir("find_tree"));
    test::makeStrangeTree(root);
    test::makeFile(root + "/doc/report.DOC", 11);
    test::makeFile(root + "/doc/report.doc.txt", 12);
    const QString nativeRoot = QFile::decodeName(root);

    QByteArray out, err;
    ASSERT_EQ(test::runProgram(orvx(), {"find", "txt", "--in", nativeRoot}, &out, &err), 0)
        << err.constData();
    const QList<QByteArray> want = findLines({nativeRoot}, {"*.txt"});
    EXPECT_GE(want.size(), 13);
    EXPECT_EQ(nativeLines(out, {{'Z', "/"}}), want);
    EXPECT_TRUE(err.contains(QByteArray::number(want.size()) + " files")) << err.constData();

    // Several extensions, written as a user might, and the folder as a Windows path.
    QString windowsRoot = "Z:" + nativeRoot;
    windowsRoot.replace('/', '\\');
    ASSERT_EQ(test::runProgram(orvx(), {"find", ".TXT", "*.doc", "--in", windowsRoot}, &out), 0);
    EXPECT_EQ(nativeLines(out, {{'Z', "/"}}), findLines({nativeRoot}, {"*.txt", "*.doc"}));
    test::removeStrangeTree(root);
}

TEST(OrvxFind, AllDrivesOfAPrefixListWhatFindListsOverTheirRoots) {
    const QString base = test::freshDir("find_drives");
    const QByteArray c = QFile::encodeName(base + "/c_drive");
    const QByteArray z = QFile::encodeName(base + "/z_drive");
    test::makeStrangeTree(c);
    test::makeFile(z + "/MY.DIR/README", 4); // the extension is the file's own, so none
    test::makeFile(z + "/other/Z.Txt", 9);
    QDir().mkpath(base + "/prefix/dosdevices");
    ASSERT_EQ(::symlink(c.constData(), QFile::encodeName(base + "/prefix/dosdevices/c:")), 0);
    ASSERT_EQ(::symlink(z.constData(), QFile::encodeName(base + "/prefix/dosdevices/z:")), 0);
    // A second letter for the same folder adds nothing.
    ASSERT_EQ(::symlink(c.constData(), QFile::encodeName(base + "/prefix/dosdevices/e:")), 0);

    QByteArray out, err;
    ASSERT_EQ(test::runProgram(
                  orvx(),
                  {"--hive", base + "/prefix/system.reg", "find", "txt", "dir", "--all-drives"},
                  &out, &err),
              0)
        << err.constData();
    EXPECT_EQ(nativeLines(out, {{'C', c}, {'Z', z}}),
              findLines({QFile::decodeName(c), QFile::decodeName(z)}, {"*.txt", "*.dir"}));
    EXPECT_FALSE(out.contains("E:\\"));
    EXPECT_FALSE(out.contains("README"));
    test::removeStrangeTree(c);
}

TEST(OrvxFind, RefusesWhatItCannotDo) {
    QByteArray out, err;
    EXPECT_EQ(test::runProgram(orvx(), {"find"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("usage: orvx find")) << err.constData();
    EXPECT_EQ(test::runProgram(orvx(), {"find", "txt", "--in", "/nonexistent/folder"}, &out, &err),
              1);
    EXPECT_TRUE(err.contains("The folder /nonexistent/folder/ does not exist.")) << err.constData();
    EXPECT_EQ(test::runProgram(orvx(), {"find", "txt", "--in", "/", "--all-drives"}, &out, &err),
              1);
    EXPECT_EQ(test::runProgram(orvx(), {"find", "txt", "--bogus"}, &out, &err), 1);
}
