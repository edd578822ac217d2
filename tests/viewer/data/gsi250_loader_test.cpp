#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "data/grid.h"
#include "data/loaders.h"
#include "loader_test_support.h"

namespace {

std::string cellPath(const TempDir& dir, int code)
{
    return dir.path() + "/DATA/250M/" + std::to_string(code) + ".SEM";
}

int tenthsOf(int cell, int row, int col) { return cell * 10000 + row * 10 + col % 10; }
TenthsAt cellValues(int cell)
{
    return [cell](int row, int col) { return tenthsOf(cell, row, col); };
}
float metresOf(int cell, int row, int col) { return static_cast<float>(tenthsOf(cell, row, col)) / 10.0f; }
float elevationAt(int row, int col) { return grid.gridRowTable[row][col].elevation; }

const std::string allRows(320, '1');

TEST(Gsi250Loader, CellsAreReadNorthToSouthWestToEastWithoutCarry)
{
    TempDir dir;
    for (int code : {5339, 5340, 5239, 5240})
        writeFile(cellPath(dir, code), gsi250CellText(allRows, cellValues(code % 100 - 38 + 2 * (code / 100 - 52))));
    const std::string out = captureStdout([&] { readgsi250(dir.path(), 5339, 2, 2); });
    const std::string data = dir.path() + "/DATA/250M/";
    EXPECT_EQ(out, "Reading " + data + "5339.SEM ...\n"
                   "Reading " + data + "5340.SEM ...\n"
                   "Reading " + data + "5239.SEM ...\n"
                   "Reading " + data + "5240.SEM ...\n");
    ASSERT_EQ(grid.gridRows, 640);
    ASSERT_EQ(grid.gridCols, 640);
    EXPECT_EQ(elevationAt(0, 0), metresOf(3, 0, 0));        // 5339
    EXPECT_EQ(elevationAt(319, 639), metresOf(4, 319, 319));  // 5340
    EXPECT_EQ(elevationAt(320, 5), metresOf(1, 0, 5));       // 5239
    EXPECT_EQ(elevationAt(639, 639), metresOf(2, 319, 319));  // 5240
    EXPECT_DOUBLE_EQ(grid.areaNorth, 54 * 0.6666666666666666);
    EXPECT_DOUBLE_EQ(grid.areaSouth, grid.areaNorth - 2 / 1.5);
    EXPECT_DOUBLE_EQ(grid.areaWest, 139);
    EXPECT_DOUBLE_EQ(grid.areaEast, 141);
    EXPECT_DOUBLE_EQ(grid.mountainShiftY, 700 - (grid.areaNorth + grid.areaSouth) * 5);

    // 5399 + 1 is 5400, not the next primary cell to the east (5500 would be wrong too).
    const std::string edge = captureStdout([&] {
        writeFile(cellPath(dir, 5399), gsi250CellText(allRows, cellValues(0)));
        readgsi250(dir.path(), 5399, 1, 2);
    });
    EXPECT_EQ(edge, "Reading " + data + "5399.SEM ...\n*** GSI250M : " + data + "5400.SEM not found.\n");
}

TEST(Gsi250Loader, RowsFlaggedZeroHaveNoRecord)
{
    TempDir dir;
    std::string flags = allRows;
    flags[17] = '0';
    flags[318] = '0';
    writeFile(cellPath(dir, 5339), gsi250CellText(flags, cellValues(1)));
    captureStdout([&] { readgsi250(dir.path(), 5339, 1, 1); });
    EXPECT_EQ(elevationAt(16, 3), metresOf(1, 16, 3));
    EXPECT_EQ(elevationAt(17, 3), -999.0f);
    EXPECT_EQ(elevationAt(18, 3), metresOf(1, 18, 3));
    EXPECT_EQ(elevationAt(318, 0), -999.0f);
    EXPECT_EQ(elevationAt(319, 319), metresOf(1, 319, 319));
}

TEST(Gsi250Loader, HeaderThatEndsEarlyCountsMissingFlagsAsZero)
{
    TempDir dir;
    // Five flags, then CR LF: the CR is the line end, not a sixth flag. Six
    // records follow; only the first five belong to rows.
    std::string shortHeader = std::string(224, 'H') + "11111\r\n";
    for (int k = 0; k < 6; ++k)
        shortHeader += gsiRecord(k, 320, cellValues(1), "\r\n");
    writeFile(cellPath(dir, 5339), shortHeader);
    // A header line far longer than 224 + 320 characters.
    std::string longHeader = std::string(224, 'H') + std::string(320, '1') + std::string(4000, '9') + "\n";
    for (int k = 0; k < 320; ++k)
        longHeader += gsiRecord(k, 320, cellValues(2));
    writeFile(cellPath(dir, 5340), longHeader);
    // A header shorter than its 224 skipped characters: no rows at all.
    writeFile(cellPath(dir, 5341), "short\n" + gsiRecord(0, 320, cellValues(3)));

    captureStdout([&] { readgsi250(dir.path(), 5339, 1, 3); });
    EXPECT_EQ(elevationAt(4, 100), metresOf(1, 4, 100));
    EXPECT_EQ(elevationAt(5, 100), -999.0f);
    EXPECT_EQ(elevationAt(0, 320), metresOf(2, 0, 0));
    EXPECT_EQ(elevationAt(319, 639), metresOf(2, 319, 319));
    EXPECT_EQ(elevationAt(0, 640), -999.0f);
}

TEST(Gsi250Loader, ACellThatEndsEarlyKeepsTheInitialValueBeyond)
{
    TempDir dir;
    const std::string whole = gsi250CellText(allRows, cellValues(1));
    const std::size_t record7 = whole.find(gsiRecord(7, 320, cellValues(1)));
    writeFile(cellPath(dir, 5339), whole.substr(0, record7 + 9 + 5 * 5));  // head and 5 values
    captureStdout([&] { readgsi250(dir.path(), 5339, 1, 1); });
    EXPECT_EQ(elevationAt(6, 319), metresOf(1, 6, 319));
    EXPECT_EQ(elevationAt(7, 4), metresOf(1, 7, 4));
    EXPECT_EQ(elevationAt(7, 5), -999.0f);
    EXPECT_EQ(elevationAt(8, 0), -999.0f);
}

TEST(Gsi250Loader, SeaTestIsMinus500)
{
    TempDir dir;
    const TenthsAt values = [](int, int col) { return col == 0 ? -3000 : (col == 1 ? -5001 : 10); };
    writeFile(cellPath(dir, 5339), gsi250CellText(allRows, values));
    captureStdout([&] { readgsi250(dir.path(), 5339, 1, 1); });
    const GridPoint& notLifted = grid.gridRowTable[160][0];
    const GridPoint& lifted = grid.gridRowTable[160][1];
    auto drop = [](const GridPoint& p) { return (double(p.x) * p.x + double(p.y) * p.y) * M_PI / 40000000.0; };
    EXPECT_EQ(notLifted.elevation, -300.0f);
    EXPECT_NEAR(notLifted.z, -300.0 - drop(notLifted), 1e-2);
    EXPECT_NEAR(lifted.z, -500.1 + 999 - drop(lifted), 1e-2);
    EXPECT_EQ(grid.gridRowTable[0][0].sampleState, 0);
}

TEST(Gsi250LoaderDeathTest, NegativeCountsAreArgumentsAndEmptyAreasHaveNoFiles)
{
    auto run = [](int b, int c) {
        std::fclose(stdin);
        readgsi250("/nonexistent-orvex-dir", 5339, b, c);
    };
    EXPECT_EXIT(run(-1, 0), testing::ExitedWithCode(1), "^\\*\\*\\* ERROR gsi250 : argument\\.\n$");
    EXPECT_EXIT(run(1, -1), testing::ExitedWithCode(1), "^\\*\\*\\* ERROR gsi250 : argument\\.\n$");
    EXPECT_EXIT(run(0, INT_MAX), testing::ExitedWithCode(1), "^\\*\\*\\* GSI250M : No DEM files\\.\n$");
    EXPECT_EXIT(run(1, 1), testing::ExitedWithCode(1), "^\\*\\*\\* GSI250M : No DEM files\\.\n$");
}

}  // namespace
