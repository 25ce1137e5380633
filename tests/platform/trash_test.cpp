// The trash record: written percent-encoded as file managers restore from it, read in both forms.

#include "platform/trash.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orvanex::platform;

TEST(Trash, TheRecordHoldsThePathPercentEncoded) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(QDir().mkpath(data));
    const QString dir = orvanex::test::freshDir(QStringLiteral("trash me"));
    const QString name = QStringLiteral("a b$c;d 100%+\u00e9.txt");
    QFile file(dir + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("bytes");
    file.close();
    ASSERT_TRUE(moveToTrash(file.fileName()));
    EXPECT_FALSE(QFile::exists(file.fileName()));

    QFile info(data + QStringLiteral("/Trash/info/") + name + QStringLiteral(".trashinfo"));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QByteArray record = info.readAll();
    const QByteArray encoded =
        QFile::encodeName(dir).replace(" ", "%20") + "/a%20b%24c%3Bd%20100%25%2B%C3%A9.txt";
    EXPECT_TRUE(record.startsWith("[Trash Info]\nPath=" + encoded + "\nDeletionDate=20"))
        << record.constData();
    const TrashInfo read = parseTrashInfo(record);
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.path, QFile::encodeName(file.fileName()));
    EXPECT_EQ(read.deletionDate.size(), 19) << read.deletionDate.toStdString();
    QFile trashed(data + QStringLiteral("/Trash/files/") + name);
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly));
    EXPECT_EQ(trashed.readAll(), "bytes");
}

TEST(Trash, RecordsAreReadInBothForms) {
    // Encoded, as the trash wants it.
    TrashInfo info = parseTrashInfo("[Trash Info]\r\nPath=/home/u/a%20b%24c%3b.txt\r\n"
                                    "DeletionDate=2024-05-06T07:08:09\r\n");
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.path, "/home/u/a b$c;.txt");
    EXPECT_EQ(info.deletionDate, QStringLiteral("2024-05-06T07:08:09"));
    // Unescaped, as older records hold it: a blank or "$" cannot be in the encoded form, so the
    // "%" that follows is the name's own.
    info = parseTrashInfo("[Trash Info]\nPath=/home/u/100%20 off $x.txt\n");
    EXPECT_EQ(info.path, "/home/u/100%20 off $x.txt");
    info = parseTrashInfo("[Trash Info]\nPath=/home/u/50%.txt\n"); // no whole escape
    EXPECT_EQ(info.path, "/home/u/50%.txt");
    // Only the [Trash Info] group counts, its first Path, and a record without one is none.
    info = parseTrashInfo("[Other]\nPath=/wrong\n[Trash Info]\nPath=/right\nPath=/second\n");
    EXPECT_EQ(info.path, "/right");
    EXPECT_FALSE(parseTrashInfo("[Trash Info]\nDeletionDate=2024-01-01T00:00:00\n").valid);
    EXPECT_FALSE(parseTrashInfo("[Trash Info]\nPath=\n").valid);
    // An escape no path can hold (NUL) leaves the value as it stands.
    EXPECT_EQ(parseTrashInfo("[Trash Info]\nPath=/a%00b\n").path, "/a%00b");
    // What is written reads back as the same bytes, a name that is not UTF-8 included.
    const QByteArray odd("/tmp/x\xff\n\x01 ~-._/y", 16);
    EXPECT_EQ(parseTrashInfo(trashInfoText(odd, QStringLiteral("2024-01-01T00:00:00"))).path, odd);
    EXPECT_TRUE(trashInfoText("/a/b-c_d.e~f", QString()).contains("\nPath=/a/b-c_d.e~f\n"));
}
