#include "about/drive_statistics.h"

#include <QFile>
#include <sys/statvfs.h>

namespace orvanex::about {

std::optional<DriveStatistics> ReadDriveStatistics(const QString& nativeFolder) {
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(nativeFolder).constData(), &fs) != 0)
        return std::nullopt;
    DriveStatistics s;
    // A cluster is the preferred block, a sector the fragment all counts are given in.
    const quint64 fragment = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    s.bytesPerSector = fragment;
    s.sectorsPerCluster = 1;
    if (fragment && fs.f_bsize >= fragment && fs.f_bsize % fragment == 0)
        s.sectorsPerCluster = fs.f_bsize / fragment;
    s.totalClusters = quint64(fs.f_blocks) / s.sectorsPerCluster;
    s.freeClusters = quint64(fs.f_bavail) / s.sectorsPerCluster;
    return s;
}

QString GroupThousands(quint64 value) {
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

QStringList DriveStatisticsLines(const QString& windowsRoot, const DriveStatistics& s) {
    const QString sep = QStringLiteral(":  ");
    return {QStringLiteral("  Drive Statistics  ") + sep + windowsRoot.toUpper(),
            QStringLiteral("  No of Sectors     ") + sep + QString::number(s.sectorsPerCluster),
            QStringLiteral("  Bytes per sector  ") + sep + QString::number(s.bytesPerSector),
            QStringLiteral("  Clusters Free     ") + sep + QString::number(s.freeClusters),
            QStringLiteral("  Total Clusters    ") + sep + QString::number(s.totalClusters),
            QStringLiteral("  Drive Space Used  ") + sep + GroupThousands(s.usedBytes()) +
                QStringLiteral(" bytes"),
            QStringLiteral("  Drive Space Free  ") + sep + GroupThousands(s.freeBytes()) +
                QStringLiteral(" bytes"),
            QStringLiteral("  Total Drive Size  ") + sep + GroupThousands(s.totalBytes()) +
                QStringLiteral(" bytes")};
}

} // namespace orvanex::about
