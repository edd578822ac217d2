#include <gtest/gtest.h>

#include <climits>

#include "data/loaders.h"
#include "loader_test_support.h"
#include "state/grid.h"

using namespace orvex;

namespace {

// Every sheet gets its own values, negative ones among them, so that a sheet
// or a record in the wrong place shows.
int tenthsOf(int sheet, int row, int col)
{
    return sheet * 25000 + row * 100 + col - 12000;
}
TenthsAt sheet(int n)
{
    return [n](int row, int col) { return tenthsOf(n, row, col); };
}
float metres(int n, int row, int col)
{
    return static_cast<float>(tenthsOf(n, row, col)) / 10.0f;
}
float at(int row, int col)
{
    return grid.gridRowTable[row][col].elevation;
}

TEST(Gsi50Loader, SheetWalksCrossPrimaryCellsEastAndSouth)
{
    // From 533907, two by two: q = 7 walks east into 5340, p = 0 south into 5239.
    ScratchDir dir;
    writeFile(dir.file("data/5339/533907.mem"), gsi50SheetText(sheet(1))); // a lower-case copy
    writeFile(dir.file("data/5239/523977.mem"), gsi50SheetText(sheet(3)));
    writeFile(dir.file("data/5240/524070.mem"), gsi50SheetText(sheet(4)));
    EXPECT_EQ(printed(dir, [&] { readgsi50(dir.path(), 533907, 2, 2); }),
              "Reading D/data/5339/533907.mem ...\n*** GSI50M : D/DATA/5340/534000.MEM not found.\n"
              "Reading D/data/5239/523977.mem ...\nReading D/data/5240/524070.mem ...\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(400, 400));
    EXPECT_EQ(std::tuple(at(0, 0), at(199, 199), at(0, 200), at(200, 0), at(250, 210)),
              std::tuple(metres(1, 0, 0), metres(1, 199, 199), -999.0f, metres(3, 0, 0), metres(4, 50, 10)));
    const double north = 53 * 0.6666666666666666 + 1 / 12.0, south = north - 2 / 12.0;
    EXPECT_EQ(placement(), (std::vector<double>{north, south, 139.875, 140.125, 700 - (north + south) * 5,
                                                270, 500, 46.3}));

    // "%4d": a primary cell below 1000 is padded with blanks.
    writeFile(dir.file("DATA/ 523/ 52300.MEM"), gsi50SheetText(sheet(2)));
    EXPECT_EQ(printed(dir, [&] { readgsi50(dir.path(), 52300, 1, 1); }),
              "Reading D/DATA/ 523/ 52300.MEM ...\n");
}

// Published sheets: one record a line in fixed columns, where a blank-padded
// value may touch a five-digit neighbour (" 9995" "10002").
std::string columnSheet(int n, int brokenRow)
{
    std::string text = "533945 published layout\r\n";
    for (int k = 0; k < 200; ++k) {
        std::string line = gsiRecord(
            k, 200, [n](int r, int c) { return c % 2 ? 10000 + r : 9999 - r - n; }, "");
        if (k == brokenRow)
            line[9 + 5 * 3 + 2] = 'x';
        text += line + "\r\n";
    }
    return text;
}

TEST(Gsi50Loader, RecordsAreFoundWhateverTheLayoutAndStopWhereTheFileDoes)
{
    ScratchDir dir;
    // A header far longer than any line buffer, then all records on one line.
    std::string packed = std::string(5000, '#') + "\n";
    for (int k = 0; k < 200; ++k)
        packed += gsiRecord(k, 200, sheet(1), "");
    writeFile(dir.file("DATA/5339/533945.MEM"), packed);
    // Every field on a line of its own, CR LF, cut inside record 100 after value 37.
    std::string spread = "header\r\n";
    for (int k = 0; k < 200; ++k) {
        spread += "533945\r\n" + std::to_string(k) + "\r\n";
        for (int m = 0; m < 200; ++m)
            spread += std::to_string(tenthsOf(2, k, m)) + "\r\n";
    }
    writeFile(dir.file("DATA/5339/533946.MEM"), spread.substr(0, spread.find("\r\n100\r\n") + 7 + 38 * 7));
    writeFile(dir.file("DATA/5339/533947.MEM"), columnSheet(0, -1));
    writeFile(dir.file("DATA/5340/534040.MEM"), columnSheet(1, 7)); // a broken field stops the file

    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 4); });
    for (int k : {0, 150, 199}) {
        EXPECT_EQ(at(k, 0), metres(1, k, 0));
        EXPECT_EQ(at(k, 199), metres(1, k, 199));
    }
    EXPECT_EQ(at(99, 399), metres(2, 99, 199));
    EXPECT_EQ(at(100, 237), metres(2, 100, 37));
    EXPECT_EQ(at(100, 238), -999.0f);
    EXPECT_EQ(at(199, 399), -999.0f);
    EXPECT_EQ(at(0, 400), 999.9f);
    EXPECT_EQ(at(199, 599), 1019.9f);
    EXPECT_EQ(at(6, 604), 999.2f);  // read by column up to the broken line, which is read
    EXPECT_EQ(at(7, 600), 9991.1f); // field by field: " 9991" runs into "10007"
    EXPECT_EQ(at(7, 604), -999.0f);
    EXPECT_EQ(at(8, 600), -999.0f);
}

} // namespace
