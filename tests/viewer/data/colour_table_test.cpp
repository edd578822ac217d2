#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "../viewer_test.h"
#include "data/colour_file.h"
#include "state/colour_table.h"

using namespace orvex;
using namespace testing_support;

namespace {

// Entries first .. last as "r,g,b;" each.
std::string entries(const ColourTable& table, int first, int last)
{
    std::string text;
    for (long long i = first; i <= last; ++i) {
        const Rgb e = colourEntry(table, static_cast<int>(i));
        text += std::to_string(e.red) + "," + std::to_string(e.green) + "," + std::to_string(e.blue) + ";";
    }
    return text;
}

TEST(ColourFile, ReadsFieldByFieldWhateverTheLinesNeverOutsideTheTable)
{
    ScratchDir cwd(ScratchDir::Enter::yes);
    ColourTable table;
    EXPECT_EQ(fatalMessageOf([&] { readcolor(table); }), "*** readcolor-1."); // no file
    for (const char* tooMany : {"2 0\n21\n", "2 0 99999999999999999999"}) {
        writeFile("orvex.col", tooMany);
        EXPECT_EQ(fatalMessageOf([&] { readcolor(table); }), "*** readcolor-2.") << tooMany;
    }
    std::string twenty = "2 0\n20\n", twentyEntries; // components are not checked
    for (int i = 0; i < 20; ++i)
        twenty += std::to_string(i) + " 1 -7\n", twentyEntries += std::to_string(i) + ",1,-7;";
    const std::string defaults = "0,250,0;120,250,140;120,190,140;160,190,120;"
                                 "150,190,180;200,190,200;230,230,230;0,0,255;200,200,255;";
    // The front-end's default file, blanks and CR LF included, and the same on
    // one line; the most entries; a file that ends early; a field that is no
    // number; numbers beyond int; another program's file; a count that gives
    // no entries. Entries not read stay black.
    const std::tuple<std::string, int, std::string> cases[] = {
        {"2 0\r\n9\r\n  0  250    0\r\n120 250 140\r\n120 190 140\r\n160 190 120\r\n150 190 180\r\n"
         "200 190 200\r\n230 230 230\r\n  0   0 255\r\n200 200 255\r\n",
         9, defaults},
        {"2 0 9 0 250 0 120 250 140 120 190 140 160 190 120 150 190 180 200 190 200 230 230 230 0 0 255 200 "
         "200 255",
         9, defaults},
        {twenty, 20, twentyEntries},
        {"2 0\n9\n1 2 3\n4 5 6\n7 8", 9, "1,2,3;4,5,6;7,8,0;"},
        {"2 0\n9\n1 2 3\n4 x 6\n7 8 9\n", 9, "1,2,3;4,0,0;"},
        {"2 0\n2\n99999999999999999999 -99999999999999999999 5\n", 2, "2147483647,-2147483648,5;"},
        {"2 1\n9\n1 2 3\n", 0, ""},
        {"x 0 2 1 2 3", 0, ""},
        {"2 0\n-5\n1 2 3\n", 0, ""}};
    for (const auto& [text, count, read] : cases) {
        writeFile("orvex.col", "2 0 2 9 9 9 9 9 9");
        readcolor(table); // an earlier table must not survive
        writeFile("orvex.col", text);
        readcolor(table);
        std::string expected = read;
        while (std::count(expected.begin(), expected.end(), ';') < 20)
            expected += "0,0,0;";
        EXPECT_EQ(std::pair(table.colourCount, entries(table, 0, 19)), std::pair(count, expected)) << text;
    }
    // Sea and background entries of a table too short to have them, and
    // entries outside the table, read as black.
    for (const int index : {-2, -1, 20, INT_MIN, INT_MAX})
        EXPECT_EQ(entries(table, index, index), "0,0,0;") << index;
}

} // namespace
