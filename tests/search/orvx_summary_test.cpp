// orvx summary, run as a script runs it: the window's lines, the registry's type name, and clear
// errors for a bad call.

#include "pdf_text.h"
#include "summary_programs.h"
#include "support/test_env.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome orvx(const QStringList& args, const QString& hive) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVANEX_HIVE", hive);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("ORVANEX_BINARY_DIR") + "/bin/orvx", args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(OrvxSummary, LinesOfAWindowsProgram) {
    const QString dir = test::freshDir("orvx_summary");
    const test::SummaryPrograms p = test::buildSummaryPrograms(dir);
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    const QString hive = dir + "/registry.hive";
    const QString reg = dir + "/types.reg";
    QFile f(reg);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.exe]\r\n@=\"exefile\"\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\exefile]\r\n@=\"Application\"\r\n\r\n");
    f.close();
    const Outcome imported = orvx({"import", reg}, hive);
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();

    const Outcome r = orvx({"summary", p.gui32}, hive);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 17) << r.out.toStdString(); // sixteen lines and the final newline
    EXPECT_EQ(lines[0], p.gui32);
    EXPECT_EQ(lines[1], "File Type:            Application");
    EXPECT_TRUE(lines[2].startsWith("File Size:            ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("  Bytes"));
    EXPECT_EQ(lines[5], "Company Name:         Orchard Works");
    EXPECT_EQ(lines[11], "Product Name:         Orchard Crates");
    EXPECT_EQ(lines[12], "Product Version:      2.5");
    EXPECT_EQ(lines[13], "Execution Type:       Win32, v4.00");
    EXPECT_TRUE(lines[14].startsWith("Capability Flags:     copy move link rename delete prop"));
    EXPECT_TRUE(lines[15].startsWith("Launch Program:       "));
    EXPECT_EQ(lines[16], "");

    // The window's print, into a PDF: the title, then the same lines.
    const Outcome printed = orvx({"summary", p.win16, "--pdf", dir + "/summary.pdf"}, hive);
    ASSERT_EQ(printed.code, 0) << printed.err.toStdString();
    const QString text = test::pdfText(dir + "/summary.pdf");
    EXPECT_TRUE(text.contains("ORVANEX File Summary Information")) << text.toStdString();
    EXPECT_TRUE(text.contains("Legal Copyright:      Copyright 1997 Orchard Works"));
    EXPECT_TRUE(text.contains("Execution Type:       Win16, v3.10"));
    EXPECT_TRUE(text.contains("Launch Program:"));
    EXPECT_LT(text.indexOf("Company Name:"), text.indexOf("Product Version:"));
    EXPECT_EQ(test::pdfText(dir + "/summary.pdf", 2, 2).trimmed(), ""); // one page
}

TEST(OrvxSummary, BadCallsAreRefused) {
    const QString dir = test::freshDir("orvx_summary_bad");
    const QString hive = dir + "/registry.hive";
    Outcome r = orvx({"summary"}, hive);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("usage: orvx summary FILE"));
    r = orvx({"summary", dir + "/missing.exe"}, hive);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("no such file: " + dir + "/missing.exe")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(hive)); // looking is not changing
    const QString file = dir + "/a.txt";
    QFile(file).open(QIODevice::WriteOnly);
    r = orvx({"summary", file, "--pdf", dir + "/no/such/folder/out.pdf"}, hive);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();
}
