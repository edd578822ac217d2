#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "data/colour_table.h"
#include "scratch_working_dir.h"

namespace {

class ColourFile : public testing::Test {
protected:
    void read(const std::string& text)
    {
        cwd.write("orvex.col", text);
        readcolor();
    }
    static std::string entries(int first, int last)
    {
        std::string text;
        for (long long i = first; i <= last; ++i) {
            const Rgb e = colourEntry(static_cast<int>(i));
            text += std::to_string(e.red) + "," + std::to_string(e.green) + "," + std::to_string(e.blue) + ";";
        }
        return text;
    }
    static std::string black(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "0,0,0;";
        return text;
    }
    ScratchWorkingDir cwd;
};

TEST_F(ColourFile, LineByLineAndOneLineFilesReadAlike)
{
    // The front-end's default file, blanks and CR LF included, and the same on one line.
    for (const char* text :
         {"2 0\r\n9\r\n  0  250    0\r\n120 250 140\r\n120 190 140\r\n160 190 120\r\n150 190 180\r\n"
          "200 190 200\r\n230 230 230\r\n  0   0 255\r\n200 200 255\r\n",
          "2 0 9 0 250 0 120 250 140 120 190 140 160 190 120 150 190 180 200 190 200 230 230 230 0 0 255 "
          "200 200 255"}) {
        read(text);
        ASSERT_EQ(colours.colourCount, 9);
        EXPECT_EQ(entries(0, 1), "0,250,0;120,250,140;");
        EXPECT_EQ(entries(7, 8), "0,0,255;200,200,255;");  // sea and background
        EXPECT_EQ(entries(9, 19), black(11));
    }
}

TEST_F(ColourFile, TwentyEntriesFillTheTable)
{
    std::string text = "2 0\n20\n";
    for (int i = 0; i < 20; ++i)
        text += std::to_string(i) + " 1 -" + std::to_string(i) + "\n";
    read(text);
    ASSERT_EQ(colours.colourCount, 20);
    EXPECT_EQ(entries(18, 19), "18,1,-18;19,1,-19;");  // components are not checked
}

TEST_F(ColourFile, BadMarkersAndCountsNeverReachOutsideTheTable)
{
    const struct {
        const char* text;
        int count;
    } cases[] = {{"2 1\n9\n1 2 3\n", 0}, {"3 0\n2\n1 2 3\n4 5 6\n", 0}, {"x 0 2 1 2 3 4 5 6", 0}, {"", 0},
                 {"2 0\n-5\n1 2 3\n", 0}, {"2 0\nnine\n", 0},         {"2 0\n1\n", 1}};
    for (const auto& c : cases) {
        read("2 0 2 9 9 9 9 9 9");  // an earlier table must not survive
        read(c.text);
        EXPECT_EQ(colours.colourCount, c.count) << c.text;
        EXPECT_EQ(entries(0, 19), black(20)) << c.text;
        // The sea and background entries of so short a table read as black.
        EXPECT_EQ(entries(colours.colourCount - 2, colours.colourCount - 1), black(2));
    }
    for (int index : {20, INT_MIN, INT_MAX})
        EXPECT_EQ(entries(index, index), black(1));
}

TEST_F(ColourFile, AShortFileLeavesTheRestBlack)
{
    read("2 0\n9\n1 2 3\n4 5 6\n7 8");
    EXPECT_EQ(colours.colourCount, 9);
    EXPECT_EQ(entries(0, 8), "1,2,3;4,5,6;7,8,0;" + black(6));
    read("2 0\n9\n1 2 3\n4 x 6\n7 8 9\n");  // reading stops at a field that is no number
    EXPECT_EQ(entries(0, 2), "1,2,3;4,0,0;0,0,0;");
    read("2 0\n2\n99999999999999999999 -99999999999999999999 5\n");
    EXPECT_EQ(entries(0, 0), std::to_string(INT_MAX) + "," + std::to_string(INT_MIN) + ",5;");
}

using ColourFileDeathTest = ColourFile;

TEST_F(ColourFileDeathTest, ACountAboveTwentyOrAMissingFileIsFatal)
{
    const auto readWithoutInput = [] {
        std::fclose(stdin);  // end of input ends the wait for Enter
        readcolor();
    };
    EXPECT_EXIT(readWithoutInput(), testing::ExitedWithCode(1), "\\*\\*\\* readcolor-1\\.\n");
    std::filesystem::create_directory("orvex.col");  // opens, but does not read
    EXPECT_EXIT(readWithoutInput(), testing::ExitedWithCode(1), "\\*\\*\\* readcolor-1\\.\n");
    std::filesystem::remove("orvex.col");
    for (const char* text : {"2 0\n21\n", "2 0 99999999999999999999"}) {
        cwd.write("orvex.col", text);
        EXPECT_EXIT(readWithoutInput(), testing::ExitedWithCode(1), "\\*\\*\\* readcolor-2\\.\n");
    }
}

}  // namespace
