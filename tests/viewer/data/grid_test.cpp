#include <gtest/gtest.h>

#include <cmath>

#include "data/grid.h"

namespace {

void setUpGsi50Sheet()
{
    allocategrid(200, 200, gsi50Constants);
    grid.areaNorth = 53 * 0.6666666666666666 + 5.0 / 12;
    grid.areaSouth = grid.areaNorth - 1.0 / 12;
}

TEST(Grid, AllocationGivesInitialValuesAndRowTable)
{
    allocategrid(3, 5, srtm3Constants);
    ASSERT_EQ(grid.gridRows, 3);
    ASSERT_EQ(grid.gridCols, 5);
    ASSERT_EQ(grid.gridRowTable.size(), 3u);
    EXPECT_EQ(grid.gridRowTable[2], grid.points.get() + 10);
    EXPECT_EQ(grid.gridRowTable[2][4].sampleState, 2);
    EXPECT_EQ(grid.gridRowTable[2][4].elevation, 0.0f);
}

TEST(Grid, FinishPlacesRowsAboutTheCentre)
{
    setUpGsi50Sheet();
    finishgrid(gsi50Constants);
    EXPECT_NEAR(grid.gridRowTable[0][0].y, -99.5 * 46.2962962962963, 1e-3);
    EXPECT_NEAR(grid.gridRowTable[199][0].y, 99.5 * 46.2962962962963, 1e-3);
    // The grid narrows towards the north.
    EXPECT_GT(grid.gridRowTable[0][0].x, grid.gridRowTable[199][0].x);
}

TEST(Grid, FinishLiftsOnlyBelowTheSeaTest)
{
    setUpGsi50Sheet();
    grid.gridRowTable[100][100].elevation = -150.0f;  // below -100: lifted
    grid.gridRowTable[100][101].elevation = -50.0f;
    finishgrid(gsi50Constants);
    const GridPoint& lifted = grid.gridRowTable[100][100];
    const GridPoint& kept = grid.gridRowTable[100][101];
    const double drop = (double(lifted.x) * lifted.x + double(lifted.y) * lifted.y) /
                        (2 * 40000000.0 / (2 * M_PI));
    EXPECT_NEAR(lifted.z, -150.0 + 999.0 - drop, 1e-3);
    EXPECT_LT(kept.z, -49.9);
    EXPECT_EQ(lifted.elevation, -150.0f);  // the elevation itself never changes
}

TEST(GridDeathTest, AnAreaBeyondMemoryEndsWithAMessage)
{
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            allocategrid(2000000000, 2000000000, gsi50Constants);
        },
        testing::ExitedWithCode(1), "^\\*\\*\\* .*too large");
}

}  // namespace
