// orvx copy, move and trash, run as a script runs them: the copy panel's rules and texts, and a
// file of the new name that is only replaced when asked.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvanex;
using test::readFile;
using test::writeFile;

namespace {

// orvx on its own hive and data folder, started in `home`.
test::OrvxRun orvx(const QStringList& args, const QString& home,
                   const QString& dataHome = QString()) {
    test::OrvxSetup setup;
    setup.env.insert("ORVANEX_HIVE", home + "/registry.hive");
    setup.env.insert("XDG_DATA_HOME", dataHome.isEmpty() ? home + "/data" : dataHome);
    const QByteArray folder = QFile::encodeName(home);
    setup.inChild = [folder] {
        if (::chdir(folder.constData()) != 0)
            ::_exit(126);
    };
    return test::runOrvx(args, setup);
}

// The drive map's Z: is the root folder: "Z:\tmp\x" for "/tmp/x".
QString onDriveZ(QString native) {
    return QStringLiteral("Z:") + native.replace(u'/', u'\\');
}

} // namespace

TEST(OrvxFileCommands, CopyAndMoveFollowThePanelsRules) {
    const QString home = test::freshDir("orvx_files");
    const QString a = home + "/a file.txt", b = home + "/b.txt";
    writeFile(a, "first");

    test::OrvxRun r = orvx({"copy", a, b}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Request Completed!\n");
    EXPECT_EQ(readFile(a), "first");
    EXPECT_EQ(readFile(b), "first");

    // The same name is no request; nothing is written.
    r = orvx({"copy", a, a}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File Name Not Changed!")) << r.err.toStdString();

    // A file of the new name is kept unless the question is answered beforehand.
    writeFile(a, "second, longer");
    r = orvx({"copy", a, b}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File already exists  /  Do you want to replace the file?"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Old File:        " + b));
    EXPECT_TRUE(r.err.contains("not replaced"));
    EXPECT_EQ(readFile(b), "first");
    r = orvx({"copy", a, b, "--replace"}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(b), "second, longer");

    // A move renames; the drive map's paths name the same files.
    const QString c = home + "/renamed.txt";
    r = orvx({"move", onDriveZ(b), onDriveZ(c)}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_EQ(readFile(c), "second, longer");
    r = orvx({"move", a, c}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile(a), "second, longer"); // declined: both stay
    EXPECT_EQ(readFile(c), "second, longer");

    // A missing source is the panel's error text.
    r = orvx({"move", home + "/gone.txt", home + "/x.txt"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Invalid File Name! (53)")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(home + "/x.txt"));
    EXPECT_EQ(orvx({"copy", a}, home).code, 1); // a usage error
}

TEST(OrvxFileCommands, TrashKeepsTheFileInTheUsersTrash) {
    const QString home = test::freshDir("orvx_trash");
    const QString file = home + "/old notes.txt";
    writeFile(file, "notes");
    test::OrvxRun r = orvx({"trash", file}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, file + " ** Deleted **\n");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(readFile(home + "/data/Trash/files/old notes.txt"), "notes");
    EXPECT_TRUE(QFile::exists(home + "/data/Trash/info/old notes.txt.trashinfo"));

    r = orvx({"trash", file}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(file + " ** Error **")) << r.err.toStdString();

    // No trash can be made (the data folder would be below a file): the file stays where it
    // was, and nothing is left in the working folder.
    const QString kept = home + "/kept.txt";
    writeFile(kept, "kept");
    r = orvx({"trash", kept}, home, kept + "/data");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile(kept), "kept");
    EXPECT_FALSE(QFileInfo::exists(home + "/files")) << "the file went below the working folder";
    EXPECT_FALSE(QFileInfo::exists(home + "/info"));
}
