#include <gtest/gtest.h>

#include "state/grid.h"

using namespace orvex;

namespace {

TEST(Grid, PointsLieInMetresAboutTheCentreDroppingWithTheEarthsCurve)
{
    ElevationGrid g;
    allocategrid(g, 201, 201, srtm30Constants);
    g.areaNorth = 35;
    finishgrid(g, srtm30Constants);
    const GridPoint &northWest = g.gridRowTable[0][0], &centre = g.gridRowTable[100][100],
                    &southEast = g.gridRowTable[200][200];
    EXPECT_EQ(std::tuple(centre.y, centre.x, centre.z), std::tuple(0.0f, 0.0f, 0.0f));
    // 100 rows of 30" are 92592.6 m; a column is that times cos(latitude).
    EXPECT_NEAR(northWest.y, -92592.6, 0.1);
    EXPECT_NEAR(northWest.x, -75847.4, 0.1); // at 35 degrees north
    EXPECT_NEAR(southEast.y, 92592.6, 0.1);
    EXPECT_NEAR(southEast.x, 77360.0, 0.1); // at 33.33 degrees north, a little wider
    EXPECT_NEAR(northWest.z, -1125.2, 0.1); // (y^2 + x^2) / 2R below level
}

TEST(Grid, EachDataSetLiftsItsOwnSeaToLevel)
{
    const struct {
        const char* name;
        const DataSetConstants& set;
        float elevation, z; // at the grid's centre, where the earth's curve drops nothing
    } cases[] = {
        {"gsi50", gsi50Constants, noSheetElevation, 0},   {"gsi50", gsi50Constants, -100, -100},
        {"gsi50", gsi50Constants, -100.5f, 898.5f},       {"gsi250", gsi250Constants, -150, -150},
        {"gsi250", gsi250Constants, noSheetElevation, 0}, {"srtm30", srtm30Constants, -500, -500},
        {"srtm30", srtm30Constants, seaElevation, 0},     {"srtm3", srtm3Constants, -500.5f, 9498.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.elevation));
        ElevationGrid g;
        allocategrid(g, 3, 3, c.set);
        g.gridRowTable[1][1].elevation = c.elevation;
        finishgrid(g, c.set);
        EXPECT_FLOAT_EQ(g.gridRowTable[1][1].z, c.z);
        EXPECT_EQ(g.gridRowTable[1][1].elevation, c.elevation); // the finishing pass never changes it
    }
}

} // namespace
