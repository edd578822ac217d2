#include "map/map_cells.h"

#include <gtest/gtest.h>
#include <limits>

TEST(MeshCode, GivesTheStandardCodesOnAndOffTheGrid)
{
    EXPECT_EQ(MeshCode(kMesh250, 19, 14), 5339);
    EXPECT_EQ(MeshCode(kMesh250, 29, 35), 7449);
    EXPECT_EQ(MeshCode(kMesh50, 158, 116), 533946);
    EXPECT_EQ(MeshCode(kMesh50, 0, 0), 392000);
    EXPECT_EQ(MeshCode(kMesh50, 239, 287), 744977);
    // Off the grid the formula runs on with truncating div and mod.
    EXPECT_EQ(MeshCode(kMesh50, -1, 0), 391999);
    EXPECT_EQ(MeshCode(kMesh50, -9, -9), 381889);
    EXPECT_EQ(MeshCode(kMesh250, -1, -1), 3819);
    const std::int64_t big = std::numeric_limits<int>::max(); // no overflow
    EXPECT_EQ(MeshCode(kMesh50, big, big), (big / 8 + 39) * 10000 + (big / 8 + 20) * 100 + 77);
}

TEST(CodeToCell, EachIndexUsesItsOwnRuleAndLimits)
{
    EXPECT_EQ(cellOfCode50(533946), (MapCell{158, 116}));
    EXPECT_EQ(cellOfCode50(744977), (MapCell{239, 287}));
    // Row or column digits 8 and 9 land in the neighbouring square's cells.
    EXPECT_EQ(cellOfCode50(533948), cellOfCode50(534040));
    EXPECT_EQ(cellOfCode50(533996), (MapCell{158, 121}));
    for (const std::int64_t outside : {750000LL, 745000LL, 391977LL, -533946LL, 9223372036854775807LL})
        EXPECT_FALSE(cellOfCode50(outside)) << outside;

    EXPECT_EQ(cellOfCode250(4529), (MapCell{9, 6}));
    EXPECT_EQ(cellOfCode250(7420), (MapCell{0, 35})); // latitude code 74 is inside
    for (const std::int64_t outside : {7450LL, 3820LL, 7520LL, 5319LL, 533946LL})
        EXPECT_FALSE(cellOfCode250(outside)) << outside;
}

TEST(CodeToCell, EveryCellComesBackFromItsOwnCode)
{
    for (int y = 0; y < kRows50; ++y)
        for (int x = 0; x < kCols50; ++x)
            ASSERT_EQ(cellOfCode50(MeshCode(kMesh50, x, y)), (MapCell{x, y})) << x << "," << y;
    for (int y = 0; y < kRows250; ++y)
        for (int x = 0; x < kCols250; ++x)
            ASSERT_EQ(cellOfCode250(MeshCode(kMesh250, x, y)), (MapCell{x, y})) << x << "," << y;
}
