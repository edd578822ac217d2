#include "map/shift_jis.h"

#include <gtest/gtest.h>

namespace {

// "東京" "①" (a CP932 extension) "ｱ" (half-width) "A" in Shift-JIS.
const QByteArray kSample = QByteArray::fromHex("938c8b9e8740b141");
const QString kSampleText = QStringLiteral("東京①ｱA");

} // namespace

TEST(ShiftJis, QtsDecoderAndTheIconvFallbackBothReadTheIndexEncoding)
{
    EXPECT_EQ(decodeShiftJis(kSample), kSampleText);
    EXPECT_EQ(decodeShiftJisWithIconv(kSample), kSampleText);
    EXPECT_EQ(decodeShiftJis("5339,\x93\x8c\x8b\x9e\r\n"), QStringLiteral("5339,東京\r\n"));
}

TEST(ShiftJis, BrokenBytesBecomeReplacementCharactersWithoutLosingTheRest)
{
    // A lead byte cut off at the end, and a lone invalid byte before text.
    const QString iconvText = decodeShiftJisWithIconv(QByteArray::fromHex("ff41938c8b"));
    EXPECT_TRUE(iconvText.contains(QChar(0xFFFD)));
    EXPECT_TRUE(iconvText.contains(u'A'));
    EXPECT_TRUE(iconvText.contains(QStringLiteral("東")));

    const QString qtText = decodeShiftJis(QByteArray::fromHex("ff41938c"));
    EXPECT_TRUE(qtText.contains(u'A'));
    EXPECT_TRUE(qtText.contains(QStringLiteral("東")));
}

TEST(ShiftJis, ByteCountTakesFullWidthCharactersAsTwoAndHalfWidthAsOne)
{
    EXPECT_EQ(shiftJisByteCount(QString()), 0);
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("東京西北部")), 10);
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("ﾃｽﾄ")), 3); // half-width katakana
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("AB東")), 4);
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("１２")), 4); // full-width digits
    EXPECT_EQ(shiftJisByteCount(kSampleText), 8);
    // Not the UTF-8 length, which is 3 bytes per kanji.
    EXPECT_NE(shiftJisByteCount(QStringLiteral("東京")), QStringLiteral("東京").toUtf8().size());
}
