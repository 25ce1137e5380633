// orvx copy, move and trash, run as a script runs them: the copy panel's rules and texts, and a
// file of the new name that is only replaced when asked.

#include "search_trees.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome orvx(const QStringList& args, const QString& home, const QString& dataHome = QString()) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVANEX_HIVE", home + "/registry.hive");
    env.insert("XDG_DATA_HOME", dataHome.isEmpty() ? home + "/data" : dataHome);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(home);
    p.start(test::orvxProgram(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The drive map's Z: is the root folder: "Z:\tmp\x" for "/tmp/x".
QString onDriveZ(QString native) {
    return QStringLiteral("Z:") + native.replace(u'/', u'\\');
}

} // namespace

TEST(OrvxFileCommands, CopyAndMoveFollowThePanelsRules) {
    const QString home = test::freshDir("orvx_files");
    const QString a = home + "/a file.txt", b = home + "/b.txt";
    write(a, "first");

    Outcome r = orvx({"copy", a, b}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Request Completed!\n");
    EXPECT_EQ(readAll(a), "first");
    EXPECT_EQ(readAll(b), "first");

    // The same name is no request; nothing is written.
    r = orvx({"copy", a, a}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File Name Not Changed!")) << r.err.toStdString();

    // A file of the new name is kept unless the question is answered beforehand.
    write(a, "second, longer");
    r = orvx({"copy", a, b}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File already exists  /  Do you want to replace the file?"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Old File:        " + b));
    EXPECT_TRUE(r.err.contains("not replaced"));
    EXPECT_EQ(readAll(b), "first");
    r = orvx({"copy", a, b, "--replace"}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(b), "second, longer");

    // A move renames; the drive map's paths name the same files.
    const QString c = home + "/renamed.txt";
    r = orvx({"move", onDriveZ(b), onDriveZ(c)}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_EQ(readAll(c), "second, longer");
    r = orvx({"move", a, c}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readAll(a), "second, longer"); // declined: both stay
    EXPECT_EQ(readAll(c), "second, longer");

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
    write(file, "notes");
    Outcome r = orvx({"trash", file}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, file + " ** Deleted **\n");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(readAll(home + "/data/Trash/files/old notes.txt"), "notes");
    EXPECT_TRUE(QFile::exists(home + "/data/Trash/info/old notes.txt.trashinfo"));

    r = orvx({"trash", file}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(file + " ** Error **")) << r.err.toStdString();

    // No trash can be made (the data folder would be below a file): the file stays where it
    // was, and nothing is left in the working folder.
    const QString kept = home + "/kept.txt";
    write(kept, "kept");
    r = orvx({"trash", kept}, home, kept + "/data");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readAll(kept), "kept");
    EXPECT_FALSE(QFileInfo::exists(home + "/files")) << "the file went below the working folder";
    EXPECT_FALSE(QFileInfo::exists(home + "/info"));
}
