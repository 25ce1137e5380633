// Drive statistics in 64 bits and the lines the about box lists.

#include "about/drive_statistics.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

using namespace orvanex::about;

TEST(DriveStatistics, SizesPastFourGigabytesAreExact) {
    DriveStatistics s;
    s.sectorsPerCluster = 8;
    s.bytesPerSector = 512;
    s.totalClusters = 3'000'000'000ull; // 12 TB of 4 KB clusters
    s.freeClusters = 1'000'000'001ull;
    EXPECT_EQ(s.totalBytes(), 12'288'000'000'000ull);
    EXPECT_EQ(s.freeBytes(), 4'096'000'004'096ull);
    EXPECT_EQ(s.usedBytes(), 8'191'999'995'904ull);
    const QStringList lines = DriveStatisticsLines(QStringLiteral("c:\\"), s);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "  Drive Statistics  :  C:\\");
    EXPECT_EQ(lines[1], "  No of Sectors     :  8");
    EXPECT_EQ(lines[2], "  Bytes per sector  :  512");
    EXPECT_EQ(lines[3], "  Clusters Free     :  1000000001");
    EXPECT_EQ(lines[4], "  Total Clusters    :  3000000000");
    EXPECT_EQ(lines[5], "  Drive Space Used  :  8,191,999,995,904 bytes");
    EXPECT_EQ(lines[6], "  Drive Space Free  :  4,096,000,004,096 bytes");
    EXPECT_EQ(lines[7], "  Total Drive Size  :  12,288,000,000,000 bytes");
}

TEST(DriveStatistics, GroupsThousandsAtEveryBoundary) {
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(100000), "100,000");
    EXPECT_EQ(GroupThousands(1000000), "1,000,000");
    EXPECT_EQ(GroupThousands(18446744073709551615ull), "18,446,744,073,709,551,615");
}

TEST(DriveStatistics, ReadFromTheFileSystemOfTheFolder) {
    const QString dir = orvanex::test::freshDir("stats");
    const auto s = ReadDriveStatistics(dir);
    ASSERT_TRUE(s);
    struct statvfs fs {};
    ASSERT_EQ(::statvfs(dir.toUtf8().constData(), &fs), 0);
    EXPECT_EQ(s->totalBytes(), quint64(fs.f_blocks) * fs.f_frsize);
    EXPECT_GE(s->totalBytes(), s->freeBytes());
    EXPECT_FALSE(ReadDriveStatistics(dir + "/missing"));
}
