#include "map/map_cells.h"
#include "map/map_layout.h"

#include <gtest/gtest.h>
#include <limits>

TEST(CellCount, RoundsToNearestWithTiesToEven)
{
    EXPECT_EQ(cellCountForPixels(22, kCellWidthPixels), 0); // 0.49
    EXPECT_EQ(cellCountForPixels(23, kCellWidthPixels), 1); // 0.51
    EXPECT_EQ(cellCountForPixels(615, kCellWidthPixels), 14);
    EXPECT_EQ(cellCountForPixels(18, kCellHeightPixels), 0); // 0.5
    EXPECT_EQ(cellCountForPixels(54, kCellHeightPixels), 2); // 1.5
    EXPECT_EQ(cellCountForPixels(90, kCellHeightPixels), 2); // 2.5, not 3
    EXPECT_EQ(cellCountForPixels(486, kCellHeightPixels), 14); // 13.5
    EXPECT_EQ(cellCountForPixels(-90, kCellHeightPixels), 2);
    EXPECT_EQ(cellCountForPixels(0, kCellHeightPixels), 0);
}

TEST(GridLines, PrimaryEdgesFallOnMultiplesOfEightOnBothSidesOfZero)
{
    EXPECT_TRUE(isPrimaryEdge(152));
    EXPECT_TRUE(isPrimaryEdge(0));
    EXPECT_TRUE(isPrimaryEdge(-8));
    EXPECT_FALSE(isPrimaryEdge(149));
    EXPECT_FALSE(isPrimaryEdge(-5));
}

TEST(NamePlacement, CentresByShiftJisWidth)
{
    EXPECT_NEAR(nameLeft(3, 8), 3.02, 1e-12); // four full-width characters
    EXPECT_NEAR(nameLeft(3, 4), 3.26, 1e-12); // two
    EXPECT_NEAR(nameLeft(0, 0), 0.5, 1e-12);
    EXPECT_NEAR(nameTop(7), 7.6, 1e-12);
}

TEST(CoastOnSurface, TestsOnlyTheStartsLowAndTheEndsHighSide)
{
    // 250 m mesh, origin (0, 0): x = lon - 120, y = 1.5 lat - 39.
    const CoastSegment leftward{119.5f, 28.0f, 122.0f, 28.0f}; // (-0.5, 3) to (2, 3)
    EXPECT_FALSE(coastOnSurface(leftward, kMesh250, 0, 0, 10, 10));
    const CoastSegment rightward{122.0f, 28.0f, 119.5f, 28.0f}; // (2, 3) to (-0.5, 3)
    const auto drawn = coastOnSurface(rightward, kMesh250, 0, 0, 10, 10);
    ASSERT_TRUE(drawn);
    EXPECT_FLOAT_EQ(drawn->x1, 2.0f);
    EXPECT_FLOAT_EQ(drawn->x2, -0.5f);
    EXPECT_FLOAT_EQ(drawn->y1, 3.0f);

    // The far edges: x2 may equal viewCols, not exceed it.
    EXPECT_TRUE(coastOnSurface({121.0f, 28.0f, 130.0f, 28.0f}, kMesh250, 0, 0, 10, 10));
    EXPECT_FALSE(coastOnSurface({121.0f, 28.0f, 130.5f, 28.0f}, kMesh250, 0, 0, 10, 10));
    EXPECT_FALSE(coastOnSurface({121.0f, 28.0f, 121.0f, 34.0f + 2.0f / 3.0f}, kMesh250, 0, 0, 10, 10));
}

TEST(CoastOnSurface, FiftyMetreUnitsAreShiftedByTheOrigin)
{
    // 139.75 E 35.5 N is map (158, 114) in the 50 m mesh.
    const auto drawn = coastOnSurface({139.75f, 35.5f, 139.875f, 35.5f}, kMesh50, 149, 109, 14, 14);
    ASSERT_TRUE(drawn);
    EXPECT_FLOAT_EQ(drawn->x1, 9.0f);
    EXPECT_FLOAT_EQ(drawn->y1, 5.0f);
    EXPECT_FLOAT_EQ(drawn->x2, 10.0f);

    // Beyond single precision once scaled: not drawn rather than undefined.
    const float huge = std::numeric_limits<float>::max();
    EXPECT_FALSE(coastOnSurface({140.0f, 35.0f, huge, 35.0f}, kMesh50, 0, 0, 14, 14));
}

TEST(PointerCells, RoundTowardMinusInfinityAndClampToThe32BitRange)
{
    EXPECT_EQ(cellUnder(2.99), 2);
    EXPECT_EQ(cellUnder(0.0), 0);
    EXPECT_EQ(cellUnder(-0.5), -1);
    EXPECT_EQ(cellUnder(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(cellUnder(-1e300), std::numeric_limits<int>::min());

    EXPECT_EQ(addClamped(5, -7), -2);
    EXPECT_EQ(addClamped(std::numeric_limits<int>::max(), 1), std::numeric_limits<int>::max());
    EXPECT_EQ(addClamped(std::numeric_limits<int>::min(), -1), std::numeric_limits<int>::min());
}
