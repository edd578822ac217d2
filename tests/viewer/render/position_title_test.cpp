// Where the eye is, computed back from the grid's metric frame, as the
// window's title tells it.
#include <gtest/gtest.h>

#include <functional>

#include "app/init_view.h"
#include "render/position_title.h"
#include "render/summit_labels.h"
#include "render/terrain_mesh.h"
#include "scratch_dir.h"
#include "state/mountain_table.h"
#include "state/view_state.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

// A finished grid of the data set's steps, its row 0 at `north` and its
// column 0 at `west`.
void makeArea(
    ElevationGrid& g, int rows, int cols, const DataSetConstants& set, double north, double west,
    const std::function<float(int, int)>& elevation = [](int, int) { return 1000.0f; })
{
    allocategrid(g, rows, cols, set);
    g.areaNorth = north, g.areaWest = west;
    g.areaSouth = north - rows * set.rowStep, g.areaEast = west + cols * set.colStep;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.gridRowTable[r][c].elevation = elevation(r, c),
            g.gridRowTable[r][c].sampleState = SampleState::valid;
    finishgrid(g, set);
}

TEST(PositionTitle, DegreesComeBackFromTheFrameAtTheGridPointsAndBeyondTheEdges)
{
    const std::tuple<const char*, const DataSetConstants*, int, int, double, double> areas[] = {
        {"GSI 50 m, 2 x 3 sheets", &gsi50Constants, 400, 600, 36.0, 138.75},
        {"SRTM3, one tile", &srtm3Constants, 1201, 1201, 45.0, -72.0},
        {"SRTM30, south of the equator, across 180 degrees", &srtm30Constants, 600, 1200, -10.0, 170.0}};
    for (const auto& [name, set, rows, cols, north, west] : areas) {
        ElevationGrid g;
        makeArea(g, rows, cols, *set, north, west);
        const int lastRow = rows - 1, lastCol = cols - 1;
        for (const auto& [r, c] : {std::pair(0, 0), std::pair(0, lastCol), std::pair(lastRow, 0),
                                   std::pair(lastRow, lastCol), std::pair(rows / 2, cols / 3)}) {
            const GridPoint& p = g.gridRowTable[r][c];
            double latitude = 0, longitude = 0;
            frameToDegrees(g, p.y, p.x, latitude, longitude);
            EXPECT_NEAR(latitude, north - r * set->rowStep, 2e-6) << name << " " << r << "," << c;
            EXPECT_NEAR(longitude, std::remainder(west + c * set->colStep, 360), 2e-6)
                << name << " " << r << "," << c;
        }
        // 50 rows north of row 0 and 80 columns west of column 0: the row's
        // columns narrow with the cosine of its latitude.
        const double degree = 4 * std::atan(1.0) / 180;
        const double y = g.gridRowTable[0][0].y - 50 * set->rowSpacing;
        const double x = (g.gridRowTable[0][0].x / std::cos(north * degree) - 80 * set->colSpacing) *
                         std::cos((north + 50 * set->rowStep) * degree);
        double latitude = 0, longitude = 0;
        frameToDegrees(g, y, x, latitude, longitude);
        EXPECT_NEAR(latitude, north + 50 * set->rowStep, 2e-6) << name;
        EXPECT_NEAR(longitude, west - 80 * set->colStep, 2e-6) << name;
    }
}

// One SRTM3 tile at 1000 m and more, sea in its southern rows, one void.
class EyeOverTile : public testing::Test {
  protected:
    EyeOverTile()
    {
        makeArea(grid, 121, 121, srtm3Constants, 45.0, -72.0,
                 [](int r, int c) { return r > 100 ? seaElevation : static_cast<float>(1000 + 10 * r + c); });
        grid.gridRowTable[30][30].sampleState = SampleState::dataVoid;
        initView(view, grid, defaultColours());
        resetView(view, view.homePolar, view.homeAzimuth);
    }
    // The eye `above` metres over the display height of point (r, c).
    std::string over(int r, int c, float above)
    {
        const GridPoint& p = grid.gridRowTable[r][c];
        view.eye[0] = p.y, view.eye[1] = p.x, view.eye[2] = p.z + above;
        return positionTitle(grid, view);
    }

    testing_support::ScratchDir cwd{testing_support::ScratchDir::Enter::yes}; // no orvex.env
    ElevationGrid grid;
    ViewState view;
};

TEST_F(EyeOverTile, TheTitleTellsPlaceHeightGroundHeadingAndSpeed)
{
    // Point (60, 40): 44.95 N, 71.9667 W, 1640 m.
    EXPECT_EQ(over(60, 40, 450),
              "ORVEX  44.9500 N 71.9667 W  2090 m (450 m above ground)  heading 0  speed x1");
    EXPECT_EQ(over(0, 0, -20), "ORVEX  45.0000 N 72.0000 W  980 m (20 m below ground)  heading 0  speed x1");
    EXPECT_EQ(over(120, 120, 300), "ORVEX  44.9000 N 71.9000 W  300 m (over sea)  heading 0  speed x1");
    EXPECT_NE(over(30, 30, 300).find(" m (over no data)  heading"), std::string::npos);
    // Between four points the ground lies between their heights.
    const GridPoint &a = grid.gridRowTable[10][20], &b = grid.gridRowTable[11][21];
    view.eye[0] = (a.y + b.y) / 2, view.eye[1] = (a.x + b.x) / 2;
    const EyePosition between = eyePosition(grid, view);
    EXPECT_EQ(between.ground, Ground::land);
    EXPECT_NEAR(between.groundHeight, 1000 + 105 + 20.5, 0.01);
    // Beyond the southern edge (the home view's eye) and beyond the western one.
    view.eye[1] = grid.gridRowTable[60][0].x - 50;
    EXPECT_EQ(eyePosition(grid, view).ground, Ground::outside);
    resetView(view, view.homePolar, view.homeAzimuth);
    const EyePosition home = eyePosition(grid, view);
    EXPECT_EQ(home.ground, Ground::outside);
    EXPECT_LT(home.latitude, grid.areaSouth);
    // Heading clockwise from north; the speed against the default one.
    const std::tuple<double, double, const char*> turns[] = {{90, 1, "heading 270  speed x1"},
                                                             {-450, 2, "heading 90  speed x2"},
                                                             {721, 0.25, "heading 359  speed x0.25"}};
    for (const auto& [azimuth, speed, tail] : turns) {
        view.viewAzimuth = azimuth, view.speed = speed * view.speedFactor * view.sceneRadius;
        EXPECT_TRUE(positionTitle(grid, view).ends_with(tail)) << positionTitle(grid, view);
    }
    EXPECT_EQ(positionTitle(ElevationGrid{}, view), "ORVEX");
}

TEST(SummitLabels, FontsGrowWithTheWindowAndSummitsBeyondTheRangeGoUnlabelled)
{
    EXPECT_EQ(labelFont(NameMode::large, 900), LabelFont::helvetica12);
    EXPECT_EQ(labelFont(NameMode::large, 901), LabelFont::helvetica18);
    EXPECT_EQ(labelFont(NameMode::small, 1600), LabelFont::helvetica18);
    ViewState view;
    view.eye[0] = 100, view.eye[1] = -200, view.eye[2] = 5000, view.rangeSquared = 500 * 500;
    // Height does not count, as for the terrain's cells.
    EXPECT_TRUE(summitInRange({.y = 400, .x = 200, .z = -9000, .name = {}}, view));
    EXPECT_FALSE(summitInRange({.y = 401, .x = 200, .name = {}}, view));
    EXPECT_FALSE(summitInRange({.y = 100, .x = -701, .name = {}}, view));
}

} // namespace
