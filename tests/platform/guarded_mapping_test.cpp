// Files that shrink while they are read: the guarded mapping turns the vanished pages into zeros
// and says so, the readers built on it answer "nothing" instead of crashing, and a SIGBUS that is
// not about a guarded mapping still ends the program as before.

#include "pe_fixtures.h"
#include "platform/exe_type.h"
#include "platform/guarded_mapping.h"
#include "platform/icon_extract.h"
#include "platform/icon_file.h"
#include "platform/mapped_file.h"
#include "platform/version_info.h"
#include "support/test_env.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvanex;
using namespace orvanex::platform;

namespace {

constexpr qint64 kPage = 4096;

QString writeBytes(const QString& name, const QByteArray& bytes) {
    const QString path = test::freshDir(QStringLiteral("shrink")) + u'/' + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Every byte of the view, read one by one as a reader would.
QByteArray readAll(const char* data, qint64 size) {
    QByteArray copy(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        copy[i] = data[i];
    return copy;
}

// The default action, or the handler that was there before (the address sanitizer's reports and
// exits).
bool endedByTheBusError(int status) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS) ||
           (WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

} // namespace

TEST(GuardedMapping, BytesCutOffWhileMappedReadAsZerosAndAreReported) {
    const qint64 size = 40 * kPage;
    const qint64 kept = 3 * kPage + 100;
    const QString path = writeBytes(QStringLiteral("big.bin"), QByteArray(size, 'x'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    GuardedMapping mapping;
    ASSERT_TRUE(mapping.map(file.handle(), size));
    EXPECT_EQ(readAll(mapping.data(), size), QByteArray(size, 'x'));
    EXPECT_FALSE(mapping.cut()) << "a whole file is not cut";

    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), kept), 0);
    const QByteArray after = readAll(mapping.data(), size);
    EXPECT_EQ(after.first(kept), QByteArray(kept, 'x'));
    EXPECT_EQ(after.sliced(kept), QByteArray(size - kept, '\0'));
    EXPECT_TRUE(mapping.cut());

    // A second mapping of the now short file is whole again, and unmapping frees the guard.
    mapping.unmap();
    EXPECT_FALSE(mapping.cut());
    ASSERT_TRUE(mapping.map(file.handle(), kept));
    EXPECT_EQ(readAll(mapping.data(), kept), QByteArray(kept, 'x'));
    EXPECT_FALSE(mapping.cut());
}

TEST(GuardedMapping, SlotsAreReleasedAndWithoutOneTheFileIsRead) {
    const QString path = writeBytes(QStringLiteral("s.bin"), QByteArray(kPage, 'y'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int free[2] = {0, 0};
    for (int round = 0; round < 2; ++round) {
        std::vector<std::unique_ptr<GuardedMapping>> all;
        for (int i = 0; i < GuardedMapping::kSlots + 1; ++i) {
            all.push_back(std::make_unique<GuardedMapping>());
            free[round] += all.back()->map(file.handle(), kPage);
        }
        if (round == 1) {
            // Every guard is taken: the readers get the bytes by reading the file.
            MappedFile read(path);
            EXPECT_EQ(read.bytes().bytes(), QByteArray(kPage, 'y'));
        }
    }
    // Other parts of this process may hold a few (the icon cache keeps its last library).
    EXPECT_GT(free[0], GuardedMapping::kSlots - 4);
    EXPECT_LE(free[0], GuardedMapping::kSlots);
    EXPECT_EQ(free[1], free[0]);
}

TEST(GuardedMappingDeathTest, OtherBusErrorsStillEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString path = writeBytes(QStringLiteral("u.bin"), QByteArray(8 * kPage, 'z'));
    EXPECT_EXIT(
        {
            QFile guarded(path);
            guarded.open(QIODevice::ReadOnly);
            GuardedMapping mapping;
            mapping.map(guarded.handle(), 8 * kPage);
            raise(SIGBUS);
        },
        endedByTheBusError, "");
    EXPECT_EXIT(
        {
            QFile guarded(path);
            guarded.open(QIODevice::ReadOnly);
            GuardedMapping mapping;
            mapping.map(guarded.handle(), kPage);
            // An unguarded mapping of the same file, then cut under it.
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            auto* p = static_cast<volatile const char*>(
                mmap(nullptr, size_t(8 * kPage), PROT_READ, MAP_SHARED, fd, 0));
            if (::ftruncate(::open(QFile::encodeName(path).constData(), O_WRONLY), 0) != 0)
                _exit(3);
            _exit(p[5 * kPage]);
        },
        endedByTheBusError, "");
}

TEST(ShrunkExecutables, AMappedFileCutWhileOpenReadsZerosAndSaysSo) {
    // A file whose header says PE at an offset that is cut away before it is read.
    QByteArray bytes(64 * kPage, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    const qint32 peAt = 40 * kPage;
    std::memcpy(bytes.data() + 0x3c, &peAt, 4);
    bytes.replace(peAt, 4, QByteArray("PE\0\0", 4));
    const QString path = writeBytes(QStringLiteral("lib.dll"), bytes);

    {
        MappedFile file(path);
        ASSERT_TRUE(file.isOpen());
        ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), kPage), 0);
        EXPECT_EQ(file.bytes().u32(peAt), 0u);
        EXPECT_TRUE(file.changed());
    }
}

TEST(ShrunkExecutables, AnIconLibraryCutWhileOpenGivesNoIcons) {
    QString errors;
    const QString dir = test::freshDir(QStringLiteral("pe-cut"));
    const QMap<QString, QString> files = test::buildFixtureSet(dir, &errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.toStdString();
    const QString path = files.value(QStringLiteral("pe32.dll"));
    IconFile icons(path);
    ASSERT_GT(icons.count(), 0);
    ASSERT_FALSE(icons.icon(0).isNull());
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 0), 0);
    // Drawing reads the vanished bytes; from then on the library is known to be cut.
    EXPECT_TRUE(icons.icon(0).isNull());
    EXPECT_EQ(icons.count(), 0);
}

TEST(ShrunkExecutables, ReadersOfAFileCutAndRewrittenInALoopNeverCrash) {
    QString errors;
    const QString dir = test::freshDir(QStringLiteral("pe-loop"));
    const QMap<QString, QString> files = test::buildFixtureSet(dir, &errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.toStdString();
    const QString path = files.value(QStringLiteral("pe32.dll"));
    QFile source(path);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    source.close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    // The cutter changes the file once for each reader call begun, cut to nothing and written
    // whole in turn: it never runs ahead of the reader, so reads meet both states, and changes
    // while they run, on a fast machine as on one core.
    std::atomic<int> begun{0};
    std::atomic<bool> stop{false};
    std::thread cutter([&] {
        int seen = 0;
        bool cut = false;
        for (;;) {
            begun.wait(seen);
            if (stop.load())
                return;
            seen = begun.load();
            cut = !cut;
            const bool done =
                cut ? ::ftruncate(fd, 0) == 0
                    : ::pwrite(fd, whole.constData(), size_t(whole.size()), 0) == whole.size();
            if (!done)
                return;
        }
    });
    // Until both were seen (at least 1000 rounds); the bound only ends a broken run.
    int whole_reads = 0;
    int cut_reads = 0;
    const auto begin = [&] {
        begun.fetch_add(1);
        begun.notify_one();
    };
    for (int i = 0; i < 100000 && (i < 1000 || whole_reads == 0 || cut_reads == 0); ++i) {
        begin();
        (executableType(path) != 0 ? whole_reads : cut_reads) += 1;
        begin();
        fileVersionInfo(path);
        begin();
        extractIconCount(path);
    }
    stop = true;
    begin();
    cutter.join();
    ::close(fd);
    // The whole file was read as what it is, and the cut one as nothing.
    EXPECT_GT(whole_reads, 0);
    EXPECT_GT(cut_reads, 0);
}
