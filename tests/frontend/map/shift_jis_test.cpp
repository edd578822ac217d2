#include "map/shift_jis.h"

#include <gtest/gtest.h>

TEST(ShiftJis, BothDecodersReadTheIndexEncodingAndSurviveBrokenBytes)
{
    // "東京" "①" (a CP932 extension) "ｱ" (half-width) "A".
    const QByteArray sample = QByteArray::fromHex("938c8b9e8740b141");
    EXPECT_EQ(decodeShiftJis(sample), QStringLiteral("東京①ｱA"));
    EXPECT_EQ(decodeShiftJisWithIconv(sample), QStringLiteral("東京①ｱA"));

    // An invalid byte and a lead byte cut off at the end.
    const QByteArray broken = QByteArray::fromHex("ff41938c8b");
    for (const QString& text : {decodeShiftJis(broken), decodeShiftJisWithIconv(broken)}) {
        EXPECT_TRUE(text.contains(QStringLiteral("A東"))) << text.toStdString();
        EXPECT_FALSE(text.contains(u'\0'));
    }
    EXPECT_TRUE(decodeShiftJisWithIconv(broken).contains(QChar(0xFFFD)));
}

TEST(ShiftJis, ByteCountTakesFullWidthAsTwoAndAsciiOrHalfWidthKatakanaAsOne)
{
    EXPECT_EQ(shiftJisByteCount(QString()), 0);
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("東京西北部")), 10); // UTF-8 would say 15
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("ﾃｽﾄ")), 3);
    EXPECT_EQ(shiftJisByteCount(QStringLiteral("AB東１")), 6);
}
