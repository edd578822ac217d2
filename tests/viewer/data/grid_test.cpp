#include <gtest/gtest.h>

#include <cmath>

#include "loader_test_support.h"
#include "state/grid.h"

using namespace orvex;

namespace {

double curvatureDrop(const GridPoint& p)
{
    return (double(p.x) * p.x + double(p.y) * p.y) * M_PI / 40000000.0;
}

TEST(Grid, RowsLieAboutTheCentreNarrowingNorthAndLoweredForCurvature)
{
    allocategrid(200, 200, gsi50Constants);
    grid.areaNorth = 35.75;
    finishgrid(gsi50Constants);
    const GridPoint &first = grid.gridRowTable[0][0], &last = grid.gridRowTable[199][199];
    EXPECT_NEAR(first.y, -99.5 * 46.2962962962963, 1e-3);
    EXPECT_NEAR(last.y, 99.5 * 46.2962962962963, 1e-3);
    EXPECT_NEAR(first.x, -99.5 * 69.44444444444444 * std::cos(35.75 * M_PI / 180), 1e-3);
    EXPECT_NEAR(last.x, 99.5 * 69.44444444444444 * std::cos((35.75 - 199 / 2400.0) * M_PI / 180), 1e-3);
    EXPECT_NEAR(first.z, 0 - curvatureDrop(first), 1e-4); // -999 is lifted by 999
}

TEST(Grid, EachDataSetLiftsOnlyBelowItsOwnSeaTest)
{
    const struct {
        const DataSetConstants& set;
        float elevation;
        double lift;
    } cases[] = {{gsi50Constants, -150, 999},     {gsi50Constants, -100, 0},  {gsi250Constants, -150, 0},
                 {gsi250Constants, -500.1f, 999}, {srtm30Constants, -500, 0}, {srtm3Constants, -9999, 9999}};
    for (const auto& c : cases) {
        allocategrid(3, 3, c.set);
        grid.gridRowTable[0][0].elevation = c.elevation;
        finishgrid(c.set);
        const GridPoint& p = grid.gridRowTable[0][0];
        EXPECT_NEAR(p.z, c.elevation + c.lift - curvatureDrop(p), 1e-3) << c.elevation;
        EXPECT_EQ(p.elevation, c.elevation); // the finishing pass never changes it
    }
}

} // namespace
