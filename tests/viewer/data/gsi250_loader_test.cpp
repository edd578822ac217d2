#include <gtest/gtest.h>

#include <climits>

#include "data/loaders.h"
#include "loader_test_support.h"
#include "state/grid.h"

using namespace orvex;

namespace {

int tenthsOf(int cell, int row, int col)
{
    return cell * 10000 + row * 10 + col % 10;
}
TenthsAt cell(int n)
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

const std::string allRows(320, '1');

TEST(Gsi250Loader, CellsAreReadNorthToSouthWestToEastWithoutCarry)
{
    ScratchDir dir;
    for (const int code : {5339, 5340, 5239, 5240, 5399})
        writeFile(dir.file("DATA/250M/" + std::to_string(code) + ".SEM"),
                  gsi250CellText(allRows, cell(code % 7)));
    EXPECT_EQ(printed(dir, [&] { readgsi250(dir.path(), 5339, 2, 2); }),
              "Reading D/DATA/250M/5339.SEM ...\nReading D/DATA/250M/5340.SEM ...\n"
              "Reading D/DATA/250M/5239.SEM ...\nReading D/DATA/250M/5240.SEM ...\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(640, 640));
    EXPECT_EQ(std::tuple(at(0, 0), at(319, 639), at(320, 5), at(639, 639)),
              std::tuple(metres(5339 % 7, 0, 0), metres(5340 % 7, 319, 319), metres(5239 % 7, 0, 5),
                         metres(5240 % 7, 319, 319)));
    const double north = 54 * 0.6666666666666666, south = north - 2 / 1.5;
    EXPECT_EQ(placement(),
              (std::vector<double>{north, south, 139, 141, 700 - (north + south) * 5, 270, 500, 231.5}));
    // 5399 + 1 is 5400, not the next primary cell to the east.
    EXPECT_EQ(printed(dir, [&] { readgsi250(dir.path(), 5399, 1, 2); }),
              "Reading D/DATA/250M/5399.SEM ...\n*** GSI250M : D/DATA/250M/5400.SEM not found.\n");
}

TEST(Gsi250Loader, HeaderFlagsSayWhichRowsHaveARecord)
{
    ScratchDir dir;
    // Five flags, then CR LF: the CR ends the line and is no sixth flag.
    std::string shortHeader = std::string(224, 'H') + "11111\r\n";
    for (int k = 0; k < 6; ++k)
        shortHeader += gsiRecord(k, 320, cell(1), "\r\n");
    writeFile(dir.file("DATA/250M/5339.SEM"), shortHeader);
    // A header far longer than 224 + 320 characters; rows 17 and 318 without record.
    std::string flags = allRows + std::string(4000, '9');
    flags[17] = flags[318] = '0';
    writeFile(dir.file("DATA/250M/5340.SEM"), gsi250CellText(flags, cell(2)));
    // A header shorter than its 224 skipped characters: no rows at all.
    writeFile(dir.file("DATA/250M/5341.SEM"), "short\n" + gsiRecord(0, 320, cell(3)));
    // A cell that ends inside record 7, after 5 values.
    const std::string whole = gsi250CellText(allRows, cell(4));
    writeFile(dir.file("DATA/250M/5342.SEM"),
              whole.substr(0, whole.find(gsiRecord(7, 320, cell(4))) + 9 + 25));

    captureStdout([&] { readgsi250(dir.path(), 5339, 1, 4); });
    EXPECT_EQ(at(4, 100), metres(1, 4, 100));
    EXPECT_EQ(at(5, 100), -999.0f);
    EXPECT_EQ(at(16, 323), metres(2, 16, 3));
    EXPECT_EQ(at(17, 323), -999.0f);
    EXPECT_EQ(at(18, 323), metres(2, 18, 3));
    EXPECT_EQ(at(318, 320), -999.0f);
    EXPECT_EQ(at(319, 639), metres(2, 319, 319));
    EXPECT_EQ(at(0, 640), -999.0f);
    EXPECT_EQ(at(6, 1279), metres(4, 6, 319));
    EXPECT_EQ(at(7, 964), metres(4, 7, 4));
    EXPECT_EQ(at(7, 965), -999.0f);
}

} // namespace
