// Files are opened for reading only when they are regular files: nothing waits on a FIFO.

#include "platform/regular_file.h"
#include "support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex::platform;

TEST(RegularFile, OnlyRegularFilesAreOpenedAndTheRestSaysWhy) {
    const QByteArray dir = QFile::encodeName(orvanex::test::freshDir(QStringLiteral("kinds")));
    const QByteArray fifo = dir + "/fifo", file = dir + "/file.txt";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QFile f(QFile::decodeName(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    const struct {
        QByteArray path;
        const char* reason;
    } refused[] = {{fifo, "It is not a regular file."},
                   {"/dev/null", "It is not a regular file."},
                   {dir, "It is a folder, not a file."},
                   {dir + "/missing", "The file does not exist."},
                   {file + "/below", "The file does not exist."},
                   {"", "The file does not exist."}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.path.constData());
        EXPECT_EQ(notRegularFileReason(r.path), QString::fromLatin1(r.reason));
        QString reason;
        EXPECT_EQ(openRegularFile(r.path, &reason), -1); // at once, with no writer on the FIFO
        EXPECT_EQ(reason, QString::fromLatin1(r.reason));
    }
    EXPECT_EQ(notRegularFileReason(file), QString());
    QString reason = QStringLiteral("untouched");
    const int fd = openRegularFile(file, &reason);
    ASSERT_GE(fd, 0);
    char bytes[4] = {};
    EXPECT_EQ(::read(fd, bytes, sizeof bytes), 3);
    ::close(fd);
    EXPECT_EQ(reason, QStringLiteral("untouched"));
}
