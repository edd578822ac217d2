#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "data/colour_table.h"
#include "scratch_working_dir.h"

namespace {

// What the map front-end writes by default, blanks and CR LF included.
const char frontEndDefault[] = "2 0\r\n9\r\n  0  250    0\r\n120 250 140\r\n120 190 140\r\n160 190 120\r\n"
                               "150 190 180\r\n200 190 200\r\n230 230 230\r\n  0   0 255\r\n200 200 255\r\n";

class ColourFile : public testing::Test {
protected:
    void read(const std::string& text)
    {
        cwd.write("orvex.col", text);
        readcolor();
    }
    static void expectEntry(int index, int red, int green, int blue)
    {
        const Rgb entry = colourEntry(index);
        EXPECT_EQ(entry.red, red) << "entry " << index;
        EXPECT_EQ(entry.green, green) << "entry " << index;
        EXPECT_EQ(entry.blue, blue) << "entry " << index;
    }
    static void expectAllBlackFrom(int first)
    {
        for (int i = first; i < ColourTable::capacity; ++i)
            expectEntry(i, 0, 0, 0);
    }
    ScratchWorkingDir cwd;
};

TEST_F(ColourFile, FrontEndDefaultGivesBandsSeaAndBackground)
{
    read(frontEndDefault);
    ASSERT_EQ(colours.colourCount, 9);
    expectEntry(0, 0, 250, 0);
    expectEntry(6, 230, 230, 230);
    expectEntry(colours.colourCount - 2, 0, 0, 255);      // sea
    expectEntry(colours.colourCount - 1, 200, 200, 255);  // background
    expectAllBlackFrom(9);
}

TEST_F(ColourFile, OneLineFileReadsLikeTheLineByLineFile)
{
    read("2 0 9 0 250 0 120 250 140 120 190 140 160 190 120 150 190 180 200 190 200 230 230 230 0 0 255 "
         "200 200 255");
    ASSERT_EQ(colours.colourCount, 9);
    expectEntry(1, 120, 250, 140);
    expectEntry(7, 0, 0, 255);
    expectEntry(8, 200, 200, 255);
}

TEST_F(ColourFile, TwentyEntriesFillTheTable)
{
    std::string text = "2 0\n20\n";
    for (int i = 0; i < 20; ++i)
        text += std::to_string(i) + " " + std::to_string(100 + i) + " -" + std::to_string(i) + "\n";
    read(text);
    ASSERT_EQ(colours.colourCount, 20);
    expectEntry(0, 0, 100, 0);
    expectEntry(19, 19, 119, -19);  // components are not checked
}

TEST_F(ColourFile, AnotherMarkerLeavesTheTableEmpty)
{
    for (const char* text : {"2 1\n9\n1 2 3\n", "3 0\n2\n1 2 3\n4 5 6\n", "20\n2\n1 2 3\n", "x 0 2 1 2 3 4 5 6",
                             "", "2"}) {
        read(frontEndDefault);  // an earlier table must not survive
        read(text);
        EXPECT_EQ(colours.colourCount, 0) << '"' << text << '"';
        expectAllBlackFrom(0);
    }
}

TEST_F(ColourFile, CountsBelowTwoReadNothingOutsideTheTable)
{
    read("2 0\n-5\n1 2 3\n");
    EXPECT_EQ(colours.colourCount, 0);  // a negative count counts as 0
    expectAllBlackFrom(0);

    read("2 0\n1\n10 20 30\n");
    EXPECT_EQ(colours.colourCount, 1);
    expectEntry(0, 10, 20, 30);
    // The sea entry of a one-entry table lies before the table: black.
    expectEntry(colours.colourCount - 2, 0, 0, 0);

    read("2 0\nnine\n");
    EXPECT_EQ(colours.colourCount, 0);
}

TEST_F(ColourFile, AShortFileLeavesTheRestBlack)
{
    read("2 0\n9\n1 2 3\n4 5 6\n7 8");
    EXPECT_EQ(colours.colourCount, 9);
    expectEntry(0, 1, 2, 3);
    expectEntry(1, 4, 5, 6);
    expectEntry(2, 7, 8, 0);
    expectAllBlackFrom(3);

    read("2 0\n9\n1 2 3\n4 x 6\n7 8 9\n");
    expectEntry(1, 4, 0, 0);  // reading stops at the field that is no number
    expectAllBlackFrom(2);
}

TEST_F(ColourFile, HugeNumbersAreClampedNotUndefined)
{
    read("2 0\n2\n99999999999999999999 -99999999999999999999 5\n1 2 3\n");
    EXPECT_EQ(colours.colourCount, 2);
    expectEntry(0, INT_MAX, INT_MIN, 5);
    expectEntry(1, 1, 2, 3);
}

TEST(ColourEntry, OutsideTheTableIsBlack)
{
    colours.colourTable[0][0] = 7;
    colours.colourTable[19][2] = 9;
    EXPECT_EQ(colourEntry(0).red, 7);
    EXPECT_EQ(colourEntry(19).blue, 9);
    for (int index : {-1, -2, 20, 21, INT_MIN, INT_MAX}) {
        const Rgb entry = colourEntry(index);
        EXPECT_EQ(entry.red | entry.green | entry.blue, 0) << index;
    }
}

using ColourFileDeathTest = ColourFile;

TEST_F(ColourFileDeathTest, CountAboveTwentyIsFatal)
{
    cwd.write("orvex.col", "2 0\n21\n");
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            readcolor();
        },
        testing::ExitedWithCode(1), "\\*\\*\\* readcolor-2\\.\n");
    cwd.write("orvex.col", "2 0 99999999999999999999");
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            readcolor();
        },
        testing::ExitedWithCode(1), "\\*\\*\\* readcolor-2\\.\n");
}

TEST_F(ColourFileDeathTest, MissingOrUnreadableFileIsFatal)
{
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            readcolor();
        },
        testing::ExitedWithCode(1), "\\*\\*\\* readcolor-1\\.\n");
    std::filesystem::create_directory("orvex.col");
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            readcolor();
        },
        testing::ExitedWithCode(1), "\\*\\*\\* readcolor-1\\.\n");
}

}  // namespace
