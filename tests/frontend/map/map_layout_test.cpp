#include "map/map_cells.h"
#include "map/map_layout.h"

#include <gtest/gtest.h>
#include <limits>

TEST(MapLayout, CellCountsRoundToNearestWithTiesToEven)
{
    // Widths never fall on a tie; heights do: 18, 54 and 90 pixels are 0.5,
    // 1.5 and 2.5 rows.
    const std::pair<double, int> widths[] = {{22, 0}, {23, 1}, {615, 14}, {-90, 2}};
    for (const auto& [pixels, cells] : widths)
        EXPECT_EQ(cellCountForPixels(pixels, kCellWidthPixels), cells) << pixels;
    const std::pair<double, int> heights[] = {{18, 0}, {54, 2}, {90, 2}, {486, 14}, {0, 0}};
    for (const auto& [pixels, cells] : heights)
        EXPECT_EQ(cellCountForPixels(pixels, kCellHeightPixels), cells) << pixels;
}

TEST(MapLayout, ExtremeValuesNeitherOverflowNorReachTheSurface)
{
    const float huge = std::numeric_limits<float>::max();
    EXPECT_FALSE(coastOnSurface({140.0f, 35.0f, huge, 35.0f}, kMesh50, 0, 0, 14, 14));
    EXPECT_EQ(cellUnder(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(cellUnder(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(addClamped(std::numeric_limits<int>::min(), -1), std::numeric_limits<int>::min());
}
