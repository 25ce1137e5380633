// orvx system-tools: the programs the about box's "&System" and "&Updates" would start.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

using Outcome = test::OrvxRun;

Outcome orvx(const QStringList& args, const QString& path) {
    test::OrvxSetup setup;
    setup.env.insert("PATH", path);
    setup.env.insert("ORVANEX_HIVE", test::freshDir("tools_hive") + "/registry.hive");
    return test::runOrvx(args, setup);
}

} // namespace

TEST(OrvxSystemTools, ListsAndStartsWhatTheButtonsWould) {
    const QString bin = test::freshDir("tools_bin");
    const QString marker = bin + "/started";
    QFile tool(bin + "/kinfocenter");
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write(("#!/bin/sh\necho \"$@\" > '" + marker + "'\n").toUtf8());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Outcome r = orvx({"system-tools"}, bin);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "system\tdesktop\t" + bin + "/kinfocenter\nupdates\tunavailable\n");

    r = orvx({"system-tools", "--start", "system"}, bin);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    // The tool runs detached: wait for its mark.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));

    r = orvx({"system-tools", "--start", "updates"}, bin);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Software Updates Are Unavailable At This Time"));
    r = orvx({"system-tools", "--start", "both"}, bin);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("usage: orvx system-tools"));
}
