// Windows-1252 as REGEDIT4 files use it, and the rule that keeps other text in UTF-8.

#include "registry/win1252.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace orvanex::reg;

TEST(Win1252, DecodesEveryByteAndMapsTheUndefinedOnesToTheirOwnCodePoints) {
    // 0x80..0x9F as Windows maps them; 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined.
    const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = decode1252(all);
    ASSERT_EQ(text.size(), 256);
    for (int b = 0; b < 256; ++b) {
        const char16_t expected = b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b);
        EXPECT_EQ(text[b].unicode(), expected) << b;
    }
    QByteArray back;
    ASSERT_TRUE(encode1252(text, &back));
    EXPECT_EQ(back, all);
}

TEST(Win1252, EncodesExactlyTheCharactersOfTheCodePage) {
    const QString page = decode1252(QByteArray::fromHex(
        "000102030405060708090a0b0c0d0e0f808182838485868788898a8b8c8d8e8f909192939495969798999a9b"
        "9c9d9e9fa0a1a2a3a4a5a6a7a8a9aaabacadaeafb0ffe9"));
    int encodable = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const QString one{QChar(char16_t(c))};
        QByteArray ours;
        const bool ok = encode1252(one, &ours);
        QStringEncoder qt("windows-1252");
        const QByteArray theirs = qt(one);
        EXPECT_EQ(ok, !qt.hasError()) << std::hex << unsigned(c);
        if (ok) {
            ++encodable;
            EXPECT_EQ(ours, theirs) << std::hex << unsigned(c);
        }
    }
    EXPECT_EQ(encodable, 256);
    QByteArray out;
    EXPECT_FALSE(encode1252(u"abc\u0100", &out));
    EXPECT_TRUE(encode1252(page, &out));
}

TEST(Win1252, ALineTheCodePageCannotHoldOrThatLooksLikeUtf8IsWrittenInUtf8) {
    EXPECT_EQ(encodeReg4Line(u"caf\u00e9 \u20ac"), "caf\xe9 \x80");
    EXPECT_EQ(decodeReg4Line("caf\xe9 \x80"), QString::fromUtf16(u"caf\u00e9 \u20ac"));
    EXPECT_EQ(encodeReg4Line(u"snow \u2603"), "snow \xe2\x98\x83");
    // "Ã©" is C3 A9 in the code page, which is also "é" in UTF-8.
    EXPECT_EQ(encodeReg4Line(u"\u00c3\u00a9"), "\xc3\x83\xc2\xa9");
    for (const QString& line : {QString::fromUtf16(u"plain"), QString::fromUtf16(u"\u00c3\u00a9"),
                                QString::fromUtf16(u"\u2603 \u00e9"),
                                QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d")})
        EXPECT_EQ(decodeReg4Line(encodeReg4Line(line)), line) << line.toStdString();
}
