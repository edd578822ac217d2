#include "map/map_cells.h"

#include <gtest/gtest.h>
#include <limits>

TEST(MeshCode, GivesPrimaryAndSecondaryCodesAtTheGridsCornersAndKnownSheets)
{
    EXPECT_EQ(MeshCode(kMesh250, 19, 14), 5339);
    EXPECT_EQ(MeshCode(kMesh250, 0, 0), 3920);
    EXPECT_EQ(MeshCode(kMesh250, 29, 35), 7449);

    EXPECT_EQ(MeshCode(kMesh50, 158, 116), 533946);
    EXPECT_EQ(MeshCode(kMesh50, 158, 115), 533936);
    EXPECT_EQ(MeshCode(kMesh50, 0, 0), 392000);
    EXPECT_EQ(MeshCode(kMesh50, 239, 287), 744977);
    // The first cell of the next primary square east and north.
    EXPECT_EQ(MeshCode(kMesh50, 160, 120), 544000);
}

TEST(MeshCode, FollowsTheFormulaOffTheGridWithTruncatingDivision)
{
    // West of 120 E: -1 div 8 is 0 and -1 mod 8 is -1.
    EXPECT_EQ(MeshCode(kMesh50, -1, 0), 392000 - 1);
    EXPECT_EQ(MeshCode(kMesh50, -9, -9), (-1 + 39) * 10000 + (-1 + 20) * 100 + (-1) * 10 + (-1));
    EXPECT_EQ(MeshCode(kMesh250, -1, -1), 3819);
    EXPECT_EQ(MeshCode(kMesh250, 30, 36), 7550);

    // Origins at the end of the 32-bit range must not overflow.
    const std::int64_t big = std::numeric_limits<int>::max();
    EXPECT_EQ(MeshCode(kMesh50, big, big), (big / 8 + 39) * 10000 + (big / 8 + 20) * 100 + 7 * 10 + 7);
}

TEST(CodeToCell, SecondaryCodesLandOnTheirCellsAndStayInsideTheTable)
{
    EXPECT_EQ(cellOfCode50(533946), (MapCell{158, 116}));
    EXPECT_EQ(cellOfCode50(392000), (MapCell{0, 0}));
    EXPECT_EQ(cellOfCode50(744977), (MapCell{239, 287}));
    // Row or column digits 8 and 9 run into the neighbouring square's cells.
    EXPECT_EQ(cellOfCode50(533948), (MapCell{160, 116}));
    EXPECT_EQ(cellOfCode50(533948), cellOfCode50(534040));
    EXPECT_EQ(cellOfCode50(533996), (MapCell{158, 121}));

    EXPECT_FALSE(cellOfCode50(750000)); // row 288
    EXPECT_FALSE(cellOfCode50(745000)); // column 240
    EXPECT_FALSE(cellOfCode50(391977)); // column -1
    EXPECT_FALSE(cellOfCode50(381900)); // below the grid
    EXPECT_FALSE(cellOfCode50(-533946));
    EXPECT_FALSE(cellOfCode50(std::numeric_limits<std::int64_t>::max()));
}

TEST(CodeToCell, PrimaryCodesUseTheirOwnLimits)
{
    EXPECT_EQ(cellOfCode250(5339), (MapCell{19, 14}));
    EXPECT_EQ(cellOfCode250(4529), (MapCell{9, 6}));
    EXPECT_EQ(cellOfCode250(7420), (MapCell{0, 35})); // latitude code 74 is inside
    EXPECT_EQ(cellOfCode250(3949), (MapCell{29, 0}));
    EXPECT_FALSE(cellOfCode250(7450)); // longitude code 50 is outside
    EXPECT_FALSE(cellOfCode250(3820));
    EXPECT_FALSE(cellOfCode250(7520));
    EXPECT_FALSE(cellOfCode250(5319));
    // A secondary code read as a primary one is far beyond latitude code 74.
    EXPECT_FALSE(cellOfCode250(533946));
}

TEST(CodeToCell, EveryCellOfBothMeshesComesBackFromItsCode)
{
    for (int y = 0; y < kRows50; ++y)
        for (int x = 0; x < kCols50; ++x)
            ASSERT_EQ(cellOfCode50(MeshCode(kMesh50, x, y)), (MapCell{x, y})) << x << "," << y;
    for (int y = 0; y < kRows250; ++y)
        for (int x = 0; x < kCols250; ++x)
            ASSERT_EQ(cellOfCode250(MeshCode(kMesh250, x, y)), (MapCell{x, y})) << x << "," << y;
}

TEST(MapUnits, ScaleByEightInTheFiftyMetreMesh)
{
    EXPECT_DOUBLE_EQ(mapUnitX(kMesh250, 139.5), 19.5);
    EXPECT_DOUBLE_EQ(mapUnitY(kMesh250, 35.5), 14.25);
    EXPECT_DOUBLE_EQ(mapUnitX(kMesh50, 139.5), 156.0);
    EXPECT_DOUBLE_EQ(mapUnitY(kMesh50, 35.5), 114.0);
    EXPECT_DOUBLE_EQ(mapUnitY(kMesh50, 26.0), 0.0);
}
