// The walk over trees built by the test: what it finds, in which order, what it leaves out, and
// how it stops.

#include "platform/drives.h"
#include "search/file_walk.h"
#include "search_trees.h"
#include "support/test_env.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

struct Found {
    int root;
    QByteArray path;
    qint64 size;
};

class CollectingSink : public WalkSink {
public:
    void folder(const QByteArray& path) override { folders.append(path); }
    void file(int rootIndex, const QByteArray& path, qint64 size) override {
        files.append({rootIndex, path, size});
        if (stopAfter > 0 && files.size() >= stopAfter)
            stop->store(true);
    }
    QList<QByteArray> paths() const {
        QList<QByteArray> out;
        for (const Found& f : files)
            out.append(f.path);
        return out;
    }
    QList<QByteArray> folders;
    QList<Found> files;
    qsizetype stopAfter = 0;
    std::atomic_bool* stop = nullptr;
};

QByteArray freshRoot(const char* name) {
    return QFile::encodeName(test::freshDir(QString::fromLatin1(name)));
}

NameFilter txtFilter(NameFilter::Mode mode = NameFilter::Mode::Pattern) {
    return NameFilter(BuildSearchPattern("TXT"), mode);
}

QList<QByteArray> sorted(QList<QByteArray> list) {
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

TEST(FileWalk, FindsEveryStrangeNameOnceAndNothingBehindLinks) {
    const QByteArray root = freshRoot("walk_strange");
    QList<QByteArray> expected = test::makeStrangeTree(root);
    if (::geteuid() == 0)
        expected.append(root + "/locked/hidden.txt"); // root reads every folder
    for (const auto mode : {NameFilter::Mode::Pattern, NameFilter::Mode::Extension}) {
        for (const bool sortedNames : {true, false}) {
            platform::DriveMap drives;
            drives.setDrive(u'C', QFile::decodeName(root));
            FileWalk walk = FileWalk::folderTree(drives, QFile::decodeName(root), txtFilter(mode),
                                                 {sortedNames, true});
            CollectingSink sink;
            std::atomic_bool stop{false};
            EXPECT_TRUE(walk.run(sink, stop));
            EXPECT_EQ(sorted(sink.paths()), sorted(expected));
            EXPECT_EQ(walk.counts().files, expected.size());
            // Every folder once: the loop and the link to deep add none.
            EXPECT_EQ(sink.folders.size(),
                      QSet<QByteArray>(sink.folders.begin(), sink.folders.end()).size());
            EXPECT_EQ(walk.counts().folders, sink.folders.size());
            EXPECT_FALSE(sink.folders.contains(root + "/link to deep"));
            EXPECT_TRUE(sink.folders.contains(root + "/folder.txt"));
        }
    }
    // Sizes are read for each file, and added up.
    platform::DriveMap drives;
    drives.setDrive(u'C', QFile::decodeName(root));
    FileWalk walk = FileWalk::folderTree(drives, QFile::decodeName(root), txtFilter());
    CollectingSink sink;
    std::atomic_bool stop{false};
    walk.run(sink, stop);
    double total = 0;
    for (const Found& f : sink.files) {
        const qsizetype index = expected.indexOf(f.path);
        if (index >= 0 && index < 12) {
            EXPECT_EQ(f.size, (index + 1) * 7) << f.path.constData();
        }
        total += double(f.size);
    }
    EXPECT_EQ(walk.counts().bytes, total);
    test::removeStrangeTree(root);
}

TEST(FileWalk, SortedWalkListsFilesBeforeSubfoldersAndParentsBeforeChildren) {
    const QByteArray root = freshRoot("walk_order");
    for (const char* name : {"/b.txt", "/A.txt", "/z/1.txt", "/a/2.txt", "/a/c/3.txt", "/B/4.txt"})
        ASSERT_TRUE(test::makeFile(root + name));
    FileWalk walk = FileWalk::folderTree({}, QFile::decodeName(root), txtFilter(), {true, true});
    CollectingSink sink;
    std::atomic_bool stop{false};
    ASSERT_TRUE(walk.run(sink, stop));
    const QList<QByteArray> want = {root + "/A.txt",     root + "/b.txt",   root + "/a/2.txt",
                                    root + "/a/c/3.txt", root + "/B/4.txt", root + "/z/1.txt"};
    EXPECT_EQ(sink.paths(), want);
    EXPECT_EQ(sink.folders.first(), root);
    EXPECT_EQ(walk.counts().folders, 5);
}

TEST(FileWalk, GoesAsDeepAsTheTreeGoes) {
    const QByteArray root = freshRoot("walk_deep");
    QByteArray path = root;
    for (int i = 0; i < 150; ++i)
        path += "/d";
    ASSERT_TRUE(test::makeFile(path + "/deepest.txt"));
    ASSERT_TRUE(test::makeFile(root + "/d/d/shallow.txt"));
    FileWalk walk = FileWalk::folderTree({}, QFile::decodeName(root), txtFilter());
    CollectingSink sink;
    std::atomic_bool stop{false};
    walk.run(sink, stop);
    EXPECT_EQ(sorted(sink.paths()), sorted({path + "/deepest.txt", root + "/d/d/shallow.txt"}));
    EXPECT_EQ(walk.counts().folders, 151);
}

TEST(FileWalk, AFolderReachedThroughTwoDrivesIsWalkedOnceUnderTheFirst) {
    const QByteArray root = freshRoot("walk_drives");
    ASSERT_TRUE(test::makeFile(root + "/top.txt", 1));
    ASSERT_TRUE(test::makeFile(root + "/drive_c/Windows/win.txt", 2));
    platform::DriveMap drives;
    drives.setDrive(u'Z', QFile::decodeName(root));
    drives.setDrive(u'C', QFile::decodeName(root + "/drive_c"));
    drives.setDrive(u'D', QFile::decodeName(root + "/missing")); // no folder: no drive
    const QList<platform::DriveRoot> roots = platform::driveRoots(drives);
    ASSERT_EQ(roots.size(), 2);
    EXPECT_EQ(roots[0].windowsRoot, "C:\\");
    FileWalk walk(roots, txtFilter(NameFilter::Mode::Extension));
    CollectingSink sink;
    std::atomic_bool stop{false};
    walk.run(sink, stop);
    ASSERT_EQ(sink.files.size(), 2);
    EXPECT_EQ(platform::windowsPathBelow(roots[sink.files[0].root], sink.files[0].path),
              "C:\\Windows\\win.txt");
    EXPECT_EQ(platform::windowsPathBelow(roots[sink.files[1].root], sink.files[1].path),
              "Z:\\top.txt");
}

TEST(FileWalk, PseudoFileSystemsAreLeftOut) {
    const QByteArray root = freshRoot("walk_pseudo");
    ASSERT_TRUE(test::makeFile(root + "/a.txt"));
    struct stat st;
    ASSERT_EQ(::stat(root.constData(), &st), 0);
    platform::DriveMap drives;
    drives.setDrive(u'Z', QFile::decodeName(root));
    FileWalk walk(platform::driveRoots(drives), txtFilter(), {}, {st.st_dev});
    CollectingSink sink;
    std::atomic_bool stop{false};
    EXPECT_TRUE(walk.run(sink, stop));
    EXPECT_TRUE(sink.files.isEmpty());
    EXPECT_EQ(walk.counts().folders, 0);
}

TEST(FileWalk, StopsAtTheNextEntryAndKeepsWhatWasFound) {
    const QByteArray root = freshRoot("walk_stop");
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(test::makeFile(root + "/sub" + QByteArray::number(i % 5) + "/f" +
                                   QByteArray::number(i) + ".txt"));
    for (const bool sortedNames : {true, false}) {
        FileWalk walk =
            FileWalk::folderTree({}, QFile::decodeName(root), txtFilter(), {sortedNames, true});
        std::atomic_bool stop{false};
        CollectingSink sink;
        sink.stop = &stop;
        sink.stopAfter = 3;
        EXPECT_FALSE(walk.run(sink, stop));
        EXPECT_EQ(sink.files.size(), 3);
        EXPECT_EQ(walk.counts().files, 3);
    }
}

TEST(Drives, MountTableEscapesAndPseudoDevices) {
    const QString table = test::freshDir("mounts") + "/mountinfo";
    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
               "23 22 0:5 / /proc rw - proc proc rw\n"
               "24 22 0:21 / /mnt/with\\040blank rw - tmpfs tmpfs rw\n"
               "25 22 0:21 / /srv/bound rw - ext4 /dev/sdb rw\n"
               "garbage line\n"
               "26 22 0:7 / /sys/fs/cgroup/x rw shared:2 master:3 - cgroup2 cgroup rw\n");
    file.close();
    const QList<platform::MountEntry> mounts = platform::readMountTable(table);
    ASSERT_EQ(mounts.size(), 5);
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/with blank");
    EXPECT_EQ(mounts[4].fsType, "cgroup2");
    EXPECT_EQ(mounts[0].device, makedev(8, 1));
    const auto pseudo = platform::pseudoDevices(mounts);
    EXPECT_EQ(pseudo.count(makedev(0, 5)), 1u);
    EXPECT_EQ(pseudo.count(makedev(0, 7)), 1u);
    EXPECT_EQ(pseudo.count(makedev(8, 1)), 0u);
    EXPECT_EQ(pseudo.count(makedev(0, 21)), 0u); // also mounted as a real file system
    EXPECT_TRUE(platform::readMountTable("/nonexistent/mountinfo").isEmpty());
}

TEST(Drives, WindowsPathsOfNamesThatAreNotUtf8) {
    const platform::DriveRoot z{u'Z', "/", "Z:\\"};
    EXPECT_EQ(platform::windowsPathBytesBelow(z, "/home/a b/\xe9.txt"), "Z:\\home\\a b\\\xe9.txt");
    EXPECT_EQ(platform::windowsPathBelow(z, "/home/\xe9.txt"), QString("Z:\\home\\\uFFFD.txt"));
    const platform::DriveRoot c{u'C', "/srv/drive_c", "C:\\"};
    EXPECT_EQ(platform::windowsPathBelow(c, "/srv/drive_c/x/y.txt"), "C:\\x\\y.txt");
    const platform::DriveRoot folder{u'C', "/srv/drive_c/x", "C:\\x\\"};
    EXPECT_EQ(platform::windowsPathBelow(folder, "/srv/drive_c/x/y.txt"), "C:\\x\\y.txt");
}
