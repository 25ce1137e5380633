#pragma once
// The statistics of one drive as the about box lists them, from the file system that holds the
// drive's folder. Every figure is 64-bit: today's disks pass 4 GB many times over.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace orvanex::about {

struct DriveStatistics {
    quint64 sectorsPerCluster = 0; // blocks of the file system per allocation unit
    quint64 bytesPerSector = 0;    // the file system's fragment size
    quint64 freeClusters = 0;      // units free for an ordinary user
    quint64 totalClusters = 0;
    quint64 totalBytes() const { return totalClusters * sectorsPerCluster * bytesPerSector; }
    quint64 freeBytes() const { return freeClusters * sectorsPerCluster * bytesPerSector; }
    quint64 usedBytes() const { return totalBytes() - freeBytes(); }
};

// Nothing when the folder's file system cannot be asked.
std::optional<DriveStatistics> ReadDriveStatistics(const QString& nativeFolder);

// "1,234,567": the pattern "###,###,###,##0" for any 64-bit number.
QString GroupThousands(quint64 value);

// The lines of the statistics list, labels as the about box shows them.
QStringList DriveStatisticsLines(const QString& windowsRoot, const DriveStatistics& s);

} // namespace orvanex::about
