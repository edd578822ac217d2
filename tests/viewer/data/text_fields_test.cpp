#include <gtest/gtest.h>

#include "data/text_fields.h"

namespace {

TEST(FieldReader, FieldWidthCountsSignAndDigitsButNotLeadingSpace)
{
    FieldReader reader("   12345678\n\n  -12345 +7");
    int value = 0;
    ASSERT_TRUE(reader.readInt(5, value));
    EXPECT_EQ(value, 12345);
    ASSERT_TRUE(reader.readInt(5, value));  // the rest of the run of digits
    EXPECT_EQ(value, 678);
    ASSERT_TRUE(reader.readInt(5, value));  // line ends are skipped like blanks
    EXPECT_EQ(value, -1234);
    ASSERT_TRUE(reader.readInt(5, value));
    EXPECT_EQ(value, 5);
    ASSERT_TRUE(reader.readInt(3, value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(reader.readInt(5, value));  // end of text
}

TEST(FieldReader, BlanksBeforeAFieldLetItRunIntoTheNext)
{
    // " -999" then "37760": the blank is skipped, so the field takes a digit
    // of its neighbour, as formatted input does.
    FieldReader reader(" -99937760");
    int value = 0;
    ASSERT_TRUE(reader.readInt(5, value));
    EXPECT_EQ(value, -9993);
    ASSERT_TRUE(reader.readInt(5, value));
    EXPECT_EQ(value, 7760);
}

TEST(FieldReader, StopsEarlyAtAnotherCharacterAndFailsOnIt)
{
    FieldReader reader("12a45");
    int value = 0;
    ASSERT_TRUE(reader.readInt(5, value));
    EXPECT_EQ(value, 12);
    value = 99;
    EXPECT_FALSE(reader.readInt(5, value));
    EXPECT_EQ(value, 99);  // a failed field leaves the target alone

    FieldReader lonelySign(" - 5");
    EXPECT_FALSE(lonelySign.readInt(5, value));
    FieldReader crlf("\r\n 42\r\n");
    ASSERT_TRUE(crlf.readInt(5, value));
    EXPECT_EQ(value, 42);
}

TEST(FieldReader, LinesEndAtLineFeedWithItsCarriageReturn)
{
    FieldReader reader("head\r\nsecond line\nlast");
    EXPECT_EQ(reader.takeLine(), "head");
    EXPECT_EQ(reader.takeLine(), "second line");
    EXPECT_EQ(reader.takeLine(), "last");
    EXPECT_EQ(reader.takeLine(), "");

    const std::string longHeader = std::string(5000, 'x') + "\n  17";
    FieldReader skipping(longHeader);
    skipping.skipLine();
    int value = 0;
    ASSERT_TRUE(skipping.readInt(5, value));
    EXPECT_EQ(value, 17);
}

}  // namespace
