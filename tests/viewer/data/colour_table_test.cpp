#include <gtest/gtest.h>

#include <climits>

#include "data/colour_file.h"
#include "loader_test_support.h"
#include "state/colour_table.h"

using namespace orvex;

namespace {

// Entries first .. last as "r,g,b;" each.
std::string entries(int first, int last)
{
    std::string text;
    for (long long i = first; i <= last; ++i) {
        const Rgb e = colourEntry(colours, static_cast<int>(i));
        text += std::to_string(e.red) + "," + std::to_string(e.green) + "," + std::to_string(e.blue) + ";";
    }
    return text;
}

TEST(ColourFile, ReadsFieldByFieldWhateverTheLinesAndNeverOutsideTheTable)
{
    ScratchWorkingDir cwd;
    std::string black, twenty = "2 0\n20\n", twentyEntries;
    for (int i = 0; i < 20; ++i) {
        black += "0,0,0;";
        twenty += std::to_string(i) + " 1 -7\n"; // components are not checked
        twentyEntries += std::to_string(i) + ",1,-7;";
    }
    const std::string defaults =
        "0,250,0;120,250,140;120,190,140;160,190,120;150,190,180;200,190,200;230,230,230;"
        "0,0,255;200,200,255;" +
        black.substr(0, 66);
    const struct {
        std::string text;
        int count;
        std::string entries; // 0 .. 19
    } cases[] = {
        // The front-end's default file, blanks and CR LF included, and the same on one line.
        {"2 0\r\n9\r\n  0  250    0\r\n120 250 140\r\n120 190 140\r\n160 190 120\r\n150 190 180\r\n"
         "200 190 200\r\n230 230 230\r\n  0   0 255\r\n200 200 255\r\n",
         9, defaults},
        {"2 0 9 0 250 0 120 250 140 120 190 140 160 190 120 150 190 180 200 190 200 230 230 230 0 0 255 200 "
         "200 255",
         9, defaults},
        {twenty, 20, twentyEntries},
        {"2 0\n9\n1 2 3\n4 5 6\n7 8", 9, "1,2,3;4,5,6;7,8,0;" + black.substr(0, 102)}, // ends early
        {"2 0\n9\n1 2 3\n4 x 6\n7 8 9\n", 9, "1,2,3;4,0,0;" + black.substr(0, 108)},   // no number
        {"2 0\n2\n99999999999999999999 -99999999999999999999 5\n", 2,
         std::to_string(INT_MAX) + "," + std::to_string(INT_MIN) + ",5;" + black.substr(0, 114)},
        // Another program's file, or a count that gives no entries.
        {"2 1\n9\n1 2 3\n", 0, black},
        {"x 0 2 1 2 3", 0, black},
        {"2 0\n-5\n1 2 3\n", 0, black},
    };
    for (const auto& c : cases) {
        writeFile("orvex.col", "2 0 2 9 9 9 9 9 9");
        readcolor(); // an earlier table must not survive
        writeFile("orvex.col", c.text);
        readcolor();
        EXPECT_EQ(colours.colourCount, c.count) << c.text;
        EXPECT_EQ(entries(0, 19), c.entries) << c.text;
    }
    // Sea and background entries of a table too short to have them, and
    // entries outside the table, read as black.
    for (const int index : {-2, -1, 20, INT_MIN, INT_MAX})
        EXPECT_EQ(entries(index, index), "0,0,0;") << index;
}

} // namespace
