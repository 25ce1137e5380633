// The executable type told by content (and by name for .com and .bat), and crafted version
// blocks that must not hang or overrun the reader.

#include "fixture_images.h"
#include "platform/exe_type.h"
#include "platform/icon_extract.h"
#include "platform/version_info.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvanex;
using namespace orvanex::platform;

namespace {

QByteArray mz(quint32 lfanew, int size = 128) {
    QByteArray b(size, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    for (int i = 0; i < 4; ++i)
        b[0x3c + i] = char((lfanew >> (8 * i)) & 0xff);
    return b;
}

// A minimal PE header after a 64-byte MZ header; the optional header is cut to `optionalBytes`.
QByteArray pe(quint16 magic, quint16 subsystem, quint8 major, quint8 minor,
              int optionalBytes = 240) {
    QByteArray b = mz(64, 64);
    b.append(QByteArray("PE\0\0", 4));
    QByteArray coff(20, '\0');
    coff[16] = char(optionalBytes & 0xff);
    b.append(coff);
    QByteArray opt(optionalBytes, '\0');
    opt[0] = char(magic & 0xff);
    opt[1] = char(magic >> 8);
    if (optionalBytes > 70) {
        opt[48] = char(major);
        opt[50] = char(minor);
        opt[68] = char(subsystem);
    }
    return b.append(opt);
}

quint32 typeOf(const QByteArray& bytes, const QString& name = "x.exe") {
    return executableTypeOfData(bytes, name);
}

} // namespace

TEST(ExecutableType, TableOfAnswers) {
    EXPECT_EQ(typeOf(pe(0x10b, 2, 4, 0)), 0x04004550u);
    EXPECT_EQ(typeOf(pe(0x20b, 2, 10, 0)), 0x0a004550u);
    EXPECT_EQ(typeOf(pe(0x10b, 2, 3, 10)), 0x030a4550u);
    EXPECT_EQ(typeOf(pe(0x10b, 3, 4, 0)), 0x4550u);
    EXPECT_EQ(typeOf(pe(0x10b, 1, 4, 0)), 0x4550u); // native: a PE, no GUI version
    EXPECT_EQ(typeOf(mz(0)), 0x5a4du);
    EXPECT_EQ(typeOf(mz(0x10000)), 0x5a4du); // new header beyond the file
    EXPECT_EQ(typeOf(mz(0xffffffff)), 0x5a4du);
    EXPECT_EQ(typeOf(pe(0x999, 2, 4, 0)), 0x5a4du);     // unknown optional header
    EXPECT_EQ(typeOf(pe(0x10b, 2, 4, 0, 40)), 0x5a4du); // optional header cut short
    EXPECT_EQ(typeOf("MZ"), 0x5a4du);
    EXPECT_EQ(typeOf("plain text"), 0u);
    EXPECT_EQ(typeOf(QByteArray()), 0u);
    // .com and .bat files are DOS programs whatever they hold.
    EXPECT_EQ(typeOf("@echo off", "RUN.BAT"), 0x5a4du);
    EXPECT_EQ(typeOf(QByteArray(), "tool.com"), 0x5a4du);
    EXPECT_EQ(typeOf("@echo off", "run.bat.txt"), 0u);
}

TEST(ExecutableType, FromFiles) {
    const QString dir = test::freshDir("exetype");
    test::writeFile(dir + "/gui.exe", pe(0x10b, 2, 4, 0));
    test::writeFile(dir + "/go.bat", "@echo off\r\n");
    EXPECT_EQ(executableType(dir + "/gui.exe"), 0x04004550u);
    EXPECT_EQ(executableType(dir + "/go.bat"), 0x5a4du);
    EXPECT_EQ(executableType(dir + "/missing.com"), 0u);
    EXPECT_EQ(executableType(dir), 0u);
    // A pipe with no writer would block a reader forever; it is not a file to describe.
    const QString fifo = dir + "/pipe.exe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(executableType(fifo), 0u);
    EXPECT_TRUE(fileVersionInfo(fifo).isEmpty());
    EXPECT_EQ(extractIconCount(fifo), 0);
}

namespace {

void put16(QByteArray& b, int at, int v) {
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

QByteArray utf16(const char16_t* s) {
    QByteArray b;
    for (; *s; ++s)
        b.append(char(*s & 0xff)).append(char(*s >> 8));
    return b.append(2, '\0');
}

// A 32-bit node: length, value length, type, key, aligned value and children.
QByteArray node32(const char16_t* key, const QByteArray& value, bool text,
                  const QByteArray& children = {}) {
    QByteArray b(6, '\0');
    b.append(utf16(key));
    while (b.size() % 4)
        b.append('\0');
    b.append(value);
    while (!children.isEmpty() && b.size() % 4)
        b.append('\0');
    b.append(children);
    put16(b, 0, int(b.size()));
    put16(b, 2, text ? int(value.size() / 2) : int(value.size()));
    put16(b, 4, text ? 1 : 0);
    return b;
}

QByteArray stringNode(const char16_t* key, const char16_t* value) {
    QByteArray b = node32(key, utf16(value), true);
    while (b.size() % 4)
        b.append('\0');
    return b;
}

} // namespace

TEST(VersionBlock, UnicodeStringsOfTheFirstTableOnly) {
    const QByteArray first =
        node32(u"040904b0", {}, true,
               stringNode(u"ProductName", u"Prod") + stringNode(u"CompanyName", u"Firm"));
    const QByteArray second = node32(u"040704b0", {}, true, stringNode(u"FileVersion", u"9.9"));
    const QByteArray block = node32(u"VS_VERSION_INFO", QByteArray(52, '\0'), false,
                                    node32(u"VarFileInfo", {}, true) +
                                        node32(u"StringFileInfo", {}, true, first + second));
    ASSERT_TRUE(isUnicodeVersionBlock(block));
    const QList<VersionString> s = versionStrings(block);
    EXPECT_EQ(s[0].value, "Firm");
    EXPECT_EQ(s[6].value, "Prod");
    EXPECT_EQ(s[2].value, "");
}

TEST(VersionBlock, CraftedLengthsNeitherHangNorOverrun) {
    const QByteArray table = node32(u"040904b0", {}, true, stringNode(u"CompanyName", u"Firm"));
    const QByteArray good = node32(u"VS_VERSION_INFO", QByteArray(52, '\0'), false,
                                   node32(u"StringFileInfo", {}, true, table));
    ASSERT_EQ(versionStrings(good)[0].value, "Firm");
    // Every length field zeroed, shrunk or blown up, and every truncation.
    for (qsizetype at = 0; at + 1 < good.size(); at += 2) {
        for (int v : {0, 1, 6, 0x7fff, 0xffff}) {
            QByteArray b = good;
            put16(b, int(at), v);
            const QList<VersionString> s = versionStrings(b);
            ASSERT_EQ(s.size(), 8);
            EXPECT_LE(s[0].value.size(), good.size());
        }
    }
    for (qsizetype n = 0; n <= good.size(); ++n)
        EXPECT_EQ(versionStrings(good.left(n)).size(), 8);
    // A key without its terminating NUL runs to the end of the block, not beyond it.
    QByteArray open = QByteArray(6, '\0') + utf16(u"VS_VERSION_INFO").chopped(2);
    put16(open, 0, int(open.size()));
    EXPECT_EQ(versionStrings(open)[0].value, "");
}
