#include <gtest/gtest.h>

#include <climits>

#include "data/text_scanner.h"

namespace {

TEST(TextScanner, FieldWidthsCountSignAndDigitsButNotTheWhiteSpaceBefore)
{
    // " -999" then "37760": the blank is skipped, so the field takes a digit
    // of its neighbour, as formatted input does.
    TextScanner in("   12345678\r\n\n  -12345 +7 -99937760 12a45 - 5");
    for (const int expected : {12345, 678, -1234, 5, 7, -9993, 7760, 12})
        EXPECT_EQ(in.readInt(5), expected);
    EXPECT_EQ(in.readInt(5), std::nullopt);  // stops at the letter and fails on it
    EXPECT_EQ(in.readInt(5), std::nullopt);
    TextScanner lonelySign(" - 5");
    EXPECT_EQ(lonelySign.readInt(), std::nullopt);
    EXPECT_TRUE(TextScanner(" \t\r\n").atEnd());
}

TEST(TextScanner, IntegersBeyondIntAreClampedOrRefused)
{
    TextScanner clamped("99999999999999999999 -2147483649 2147483647 -2147483648");
    for (const int expected : {INT_MAX, INT_MIN, INT_MAX, INT_MIN})
        EXPECT_EQ(clamped.readInt(), expected);
    TextScanner exact("-2147483648 2147483648 7");
    EXPECT_EQ(exact.readExactInt(), INT_MIN);
    EXPECT_EQ(exact.readExactInt(), std::nullopt);
    EXPECT_EQ(exact.readInt(), INT_MAX);  // the refused number is still there
}

TEST(TextScanner, RealsAndLines)
{
    TextScanner in(" 35.215432\n-1e3 .5x rest of line\r\nnext\nlast");
    EXPECT_EQ(in.readDouble(), 35.215432);
    EXPECT_EQ(in.readDouble(), -1000.0);
    EXPECT_EQ(in.readDouble(), 0.5);
    EXPECT_EQ(in.readDouble(), std::nullopt);
    EXPECT_EQ(in.readRestOfLine(), "x rest of line");
    EXPECT_EQ(in.readRestOfLine(), "next");
    EXPECT_EQ(in.readRestOfLine(), "last");  // no line end: all that is left
    EXPECT_EQ(in.readRestOfLine(), "");

    // A record line is one that a field read would start at its first character.
    TextScanner lines(std::string(5000, 'x') + "\n17 18\r\n  19\n20 21\r\n");
    lines.skipLine();
    EXPECT_EQ(lines.lineAtStart(), "17 18");
    EXPECT_EQ(lines.readInt(), 17);
    EXPECT_EQ(lines.lineAtStart(), "");
    EXPECT_EQ(lines.readInt(), 18);
    EXPECT_EQ(lines.lineAtStart(), "");  // blanks lie before 19 on its line
    EXPECT_EQ(lines.readInt(), 19);
    EXPECT_EQ(lines.lineAtStart(), "20 21");
}

}  // namespace
