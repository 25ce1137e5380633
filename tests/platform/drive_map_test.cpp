// Windows paths onto native folders: drive letters, case-insensitive components, and back.

#include "platform/drive_map.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using orvanex::platform::DriveMap;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

std::string s(const QString& text) {
    return text.toStdString();
}

} // namespace

TEST(DriveMap, ResolvesComponentsWithoutRegardToCase) {
    const QString c = orvanex::test::freshDir("drive_case");
    touch(c + "/Windows/System/Shell32.dll");
    DriveMap map;
    map.setDrive(u'c', c);
    EXPECT_EQ(s(map.toNative("C:\\WINDOWS\\SYSTEM\\SHELL32.DLL")),
              s(c + "/Windows/System/Shell32.dll"));
    EXPECT_EQ(s(map.toNative("c:/windows/system/shell32.dll")),
              s(c + "/Windows/System/Shell32.dll"));
    EXPECT_TRUE(map.fileExists("C:\\windows\\SYSTEM\\shell32.DLL"));
    EXPECT_FALSE(map.fileExists("C:\\WINDOWS\\SYSTEM")); // a folder is not a file
    EXPECT_FALSE(map.fileExists("C:\\WINDOWS\\SYSTEM\\none.dll"));
    // What does not exist yet keeps its spelling after the part that does.
    EXPECT_EQ(s(map.toNative("C:\\WINDOWS\\New Folder\\A.txt")),
              s(c + "/Windows/New Folder/A.txt"));
}

TEST(DriveMap, StaysInsideTheDriveAndRefusesUnmappedOrRelativePaths) {
    const QString c = orvanex::test::freshDir("drive_escape");
    touch(c + "/a.txt");
    DriveMap map;
    map.setDrive(u'C', c);
    EXPECT_EQ(s(map.toNative("C:\\..\\..\\a.txt")), s(c + "/a.txt"));
    EXPECT_EQ(s(map.toNative("C:\\x\\.\\..\\a.txt")), s(c + "/a.txt"));
    EXPECT_EQ(map.toNative("D:\\a.txt"), QString());
    EXPECT_EQ(map.toNative("a.txt"), QString());
    EXPECT_EQ(map.toNative("%1"), QString());
    EXPECT_FALSE(map.fileExists(""));
    EXPECT_EQ(s(map.toNative("C:")), s(c));
}

TEST(DriveMap, NativePathsBecomeWindowsPathsOfTheLongestMatchingDrive) {
    const QString c = orvanex::test::freshDir("drive_back");
    DriveMap map;
    map.setDrive(u'C', c);
    map.setDrive(u'D', c + "/cdrom");
    map.setDrive(u'Z', "/");
    EXPECT_EQ(s(map.toWindows(c + "/WINDOWS/notepad.exe")), "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(s(map.toWindows(c + "/cdrom/setup.exe")), "D:\\setup.exe");
    EXPECT_EQ(s(map.toWindows(c)), "C:\\");
    EXPECT_EQ(s(map.toWindows("/usr/share/x.ico")), "Z:\\usr\\share\\x.ico");
    EXPECT_EQ(s(map.toWindows(c + "drive/x")),
              "Z:\\" + s(QString(c + "drive/x").mid(1).replace('/', '\\')));
    DriveMap onlyC;
    onlyC.setDrive(u'C', c);
    EXPECT_EQ(onlyC.toWindows("/elsewhere/x"), QString());
}

TEST(DriveMap, ForAHiveUsesTheFolderBesideItOrAWinePrefix) {
    const QString folder = orvanex::test::freshDir("drive_hive");
    const DriveMap plain = DriveMap::forHive(folder + "/registry.hive");
    EXPECT_EQ(s(plain.driveFolder(u'C')), s(folder + "/drive_c"));
    EXPECT_EQ(s(plain.driveFolder(u'Z')), "/");
    EXPECT_EQ(s(DriveMap::driveCFolderForHive(folder + "/registry.hive")), s(folder + "/drive_c"));
    EXPECT_EQ(s(DriveMap::systemDirectory()), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(s(DriveMap::windowsDirectory()), "C:\\WINDOWS");

    const QString prefix = orvanex::test::freshDir("drive_wine");
    QDir().mkpath(prefix + "/dosdevices");
    QDir().mkpath(prefix + "/drive_c");
    QDir().mkpath(prefix + "/other");
    QFile::link("../drive_c", prefix + "/dosdevices/c:");
    QFile::link("../other", prefix + "/dosdevices/e:");
    const DriveMap wine = DriveMap::forHive(prefix + "/system.reg");
    EXPECT_EQ(s(wine.driveFolder(u'C')), s(QFileInfo(prefix + "/drive_c").canonicalFilePath()));
    EXPECT_EQ(s(wine.driveFolder(u'E')), s(QFileInfo(prefix + "/other").canonicalFilePath()));
}

TEST(DriveMap, AWindowsInstallationsOwnHiveMakesItsPartitionDriveC) {
    const QString root = orvanex::test::freshDir("drive_windows");
    touch(root + "/WINDOWS/system32/Config/SOFTWARE");
    touch(root + "/WINDOWS/system32/shell32.dll");
    touch(root + "/Program Files/App/app.exe");
    const DriveMap map = DriveMap::forHive(root + "/WINDOWS/system32/Config/SOFTWARE");
    EXPECT_EQ(s(map.driveFolder(u'C')), s(root));
    EXPECT_EQ(s(map.toNative("C:\\Windows\\System32\\SHELL32.dll")),
              s(root + "/WINDOWS/system32/shell32.dll"));
    EXPECT_EQ(s(map.toNative("%SystemRoot%\\System32\\shell32.dll")),
              s(root + "/WINDOWS/system32/shell32.dll"));
    EXPECT_EQ(s(map.toNative("%WINDIR%\\system32\\shell32.dll")),
              s(root + "/WINDOWS/system32/shell32.dll"));
    EXPECT_TRUE(map.fileExists("%ProgramFiles%\\app\\APP.EXE"));
    EXPECT_FALSE(map.fileExists("%ProgramFilesX%\\app\\APP.EXE"));
    // A SOFTWARE file anywhere else is a hive like any other.
    touch(root + "/copies/SOFTWARE");
    EXPECT_EQ(s(DriveMap::forHive(root + "/copies/SOFTWARE").driveFolder(u'C')),
              s(root + "/copies/drive_c"));
}
