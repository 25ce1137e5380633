// orvx grep and orvx count, run as a script runs them, against grep(1) and find(1).

#include "search_trees.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

using test::sortedLines;

QString orvx() {
    return test::orvxProgram();
}

// Files of random words in mixed case, a few large enough to span many blocks, and the texts
// that sit across 30000-byte edges.
QStringList makeCorpus(const QString& dir) {
    QRandomGenerator rng(1234);
    const QList<QByteArray> words = {"alpha", "Beta",  "GAMMA",     "delta", "Needle",
                                     "hay",   "stack", "\xC9t\xE9", "x\x00y"};
    QStringList files;
    for (int i = 0; i < 40; ++i) {
        QByteArray bytes;
        const int count = i % 10 == 0 ? 20000 : int(rng.bounded(60));
        for (int w = 0; w < count; ++w) {
            QByteArray word = words[rng.bounded(qsizetype(words.size()) - 1)];
            if (rng.bounded(4) == 0)
                word = word.toUpper();
            bytes += word + (rng.bounded(3) == 0 ? "\n" : " ");
        }
        if (i % 7 == 3) {
            bytes.resize(std::max<qsizetype>(bytes.size(), 30010), '.');
            bytes.replace(29997, 7, "PoInTeR");
        }
        const QString path = dir + QStringLiteral("/file %1.txt").arg(i);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        files << path;
    }
    QFile empty(dir + "/empty.txt");
    EXPECT_TRUE(empty.open(QIODevice::WriteOnly));
    files << empty.fileName();
    return files;
}

} // namespace

TEST(OrvxGrep, MarksWhatCLocaleGrepMarksWithoutRegardToCase) {
    const QStringList files = makeCorpus(test::freshDir("grep_corpus"));
    for (const QString text :
         {"needle", "NEEDLE", "pointer", "a d", "hay stack", "e", "alphaalpha", "zzz"}) {
        QByteArray mine, theirs, err;
        ASSERT_EQ(test::runProgram(orvx(), QStringList{"grep", text} + files, &mine, &err), 0)
            << err.constData();
        test::runProgram("env", QStringList{"LC_ALL=C", "grep", "-Fil", "-a", "--", text} + files,
                         &theirs);
        EXPECT_EQ(sortedLines(mine), sortedLines(theirs)) << text.toStdString();
        if (text == QLatin1String("pointer")) {
            EXPECT_GE(sortedLines(mine).size(), 5);
        }
        if (text == QLatin1String("zzz")) {
            EXPECT_TRUE(mine.isEmpty());
        }
    }
}

TEST(OrvxGrep, FilesAreNamedAsGivenAndFailuresReported) {
    const QString dir = test::freshDir("grep_given");
    QFile f(dir + "/a.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x\xC9T\xC9y");
    f.close();
    QByteArray out, err;
    QDir::setCurrent(dir);
    // A text typed in lower case with an accented letter marks the file that holds its capitals.
    EXPECT_EQ(test::runProgram(orvx(),
                               {"grep", QStringLiteral("\u00e9t\u00e9"), "a.txt", "./a.txt"}, &out),
              0);
    EXPECT_EQ(out, "a.txt\n./a.txt\n");
    EXPECT_NE(test::runProgram(orvx(), {"grep", "x", "missing.txt", "a.txt"}, &out, &err), 0);
    EXPECT_EQ(out, "a.txt\n");
    EXPECT_TRUE(err.contains("missing.txt"));
    EXPECT_NE(test::runProgram(orvx(), {"grep", " ", "a.txt"}, &out, &err), 0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("A text to find is needed: nothing was searched.")) << err.constData();
    EXPECT_NE(test::runProgram(orvx(), {"grep", "", "a.txt"}, &out, &err), 0);
    EXPECT_TRUE(err.contains("A text to find is needed")) << err.constData();
}

TEST(OrvxCount, AgreesWithACountMadeByFind) {
    const QByteArray root = QFile::encodeName(test::freshDir("count_tree"));
    test::makeStrangeTree(root);
    test::makeFile(root + "/dotted.folder/README", 7);
    test::makeFile(root + "/dotted.folder/Notes.TXT", 9);
    test::makeFile(root + "/x/f." + QByteArray(31, 'k'), 4);
    test::makeFile(root + "/x/g." + QByteArray(30, 'K') + "z", 5);
    test::makeFile(root + "/x/trail.", 2);
    test::makeFile(root + "/x/zero.bin", 0);

    QByteArray out, err;
    ASSERT_EQ(test::runProgram(orvx(), {"count", "--in", QFile::decodeName(root)}, &out, &err), 0)
        << err.constData();

    // The oracle: find's names and sizes, the extension as Qt's file info sees it.
    QByteArray found;
    test::runProgram("find", {QFile::decodeName(root), "-type", "f", "-printf", "%f\t%s\n"},
                     &found);
    QMap<QByteArray, QPair<qint64, qint64>> want;
    qint64 files = 0, bytes = 0;
    for (const QByteArray& line : sortedLines(found)) {
        const qsizetype tab = line.lastIndexOf('\t');
        const QString name = QString::fromUtf8(line.left(tab));
        const qint64 size = line.mid(tab + 1).toLongLong();
        const QString suffix = name.contains(u'.') ? QFileInfo(name).suffix() : QString();
        const QByteArray ext = suffix.toUpper().trimmed().left(30).toUtf8();
        want[ext].first += 1;
        want[ext].second += size;
        ++files;
        bytes += size;
    }
    QList<QByteArray> expected;
    for (auto it = want.cbegin(); it != want.cend(); ++it)
        expected << it.key() + '\t' + QByteArray::number(it->first) + '\t' +
                        QByteArray::number(it->second);
    expected << "total\t" + QByteArray::number(files) + '\t' + QByteArray::number(bytes);
    std::sort(expected.begin(), expected.end());

    EXPECT_EQ(sortedLines(out), expected);
    EXPECT_GE(want.value(QByteArray(30, 'K')).first, 2);
    EXPECT_GE(want.value("").first, 2); // README and trail. among them
    EXPECT_TRUE(out.endsWith("total\t" + QByteArray::number(files) + '\t' +
                             QByteArray::number(bytes) + "\n"));
    test::removeStrangeTree(root);
}

TEST(OrvxDrives, ListsTheStatisticsOfEachDrive) {
    QByteArray out, err;
    ASSERT_EQ(test::runProgram(orvx(), {"drives"}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.contains("  Drive Statistics  :  ")) << out.constData();
    EXPECT_TRUE(out.contains("  Total Drive Size  :  ")) << out.constData();
    EXPECT_TRUE(out.contains(" bytes\n"));
}
