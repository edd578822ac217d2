#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/terrain_mesh.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

using Rgb3 = std::vector<int>;

// A rows x cols grid on the plane z = a y + b x (90 m rows, 70 m columns),
// 250 m high, with its normals and band colours.
void makePlane(ElevationGrid& g, int rows, int cols, double a, double b)
{
    allocategrid(g, rows, cols, srtm3Constants);
    for (int n = 0; n < rows * cols; ++n) {
        GridPoint& p = g.points[n];
        p.y = n / cols * 90.0f, p.x = n % cols * 70.0f, p.elevation = 250, p.z = float(a * p.y + b * p.x);
    }
    computeMeshAttributes(g, defaultColours());
}

TEST(MeshNormals, APlaneHasItsNormalEverywhereEdgesIncluded)
{
    ElevationGrid g; // the larger grid is shared between threads
    for (const auto& [rows, cols, a, b] : {std::tuple(4, 5, 0.0, 0.0), std::tuple(4, 5, 0.5, 0.0),
                                           std::tuple(4, 5, 0.3, -0.7), std::tuple(600, 120, 0.3, -0.7)}) {
        makePlane(g, rows, cols, a, b);
        const double length = std::hypot(a, b, 1.0), normal[3] = {-a / length, -b / length, 1 / length};
        double worst = 0; // the normal of z = a y + b x is (-a, -b, 1)
        for (int i = 0; i < rows * cols * 3; ++i)
            worst = std::max(worst, std::abs(g.points[i / 3].normal[i % 3] - normal[i % 3]));
        EXPECT_LT(worst, 1e-6) << rows << " rows, z = " << a << " y + " << b << " x";
    }
    makePlane(g, 1, 1, 0, 0);
    EXPECT_EQ(g.points[0].normal[2], 1.0f); // a single point has no surface
}

TEST(BandColour, BlendsContinuouslyAcrossEveryBandEdgeWithinTheTable)
{
    ColourTable colours; // entry i: (10 i, 200 - 15 i, 3 i + 1); entry 12 the sea
    for (int i = 0; i < 13; ++i)
        colours.colourTable[i][0] = 10 * i, colours.colourTable[i][1] = 200 - 15 * i,
        colours.colourTable[i][2] = 3 * i + 1;
    colours.colourCount = 14;
    const auto colour = [&](float elevation, int blend) {
        std::uint8_t rgb[3];
        bandColour(colours, elevation, blend, rgb);
        return Rgb3{rgb[0], rgb[1], rgb[2]};
    };
    const float edges[] = {500, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    for (int k = 0; k < 10; ++k) {
        // At an edge the blend has reached the next band's colour, where the flat colour starts it.
        const Rgb3 next{10 * (k + 1), 200 - 15 * (k + 1), 3 * (k + 1) + 1};
        EXPECT_EQ(
            std::tuple(colour(edges[k], 1), colour(edges[k], 0), colour(std::nextafter(edges[k], 1e9f), 0)),
            std::tuple(next, Rgb3{10 * k, 200 - 15 * k, 3 * k + 1}, next))
            << edges[k];
    }
    EXPECT_EQ(colour(250, 1), (Rgb3{5, 192, 2}));     // halfway 0 -> 1, truncated
    EXPECT_EQ(colour(3500, 1), (Rgb3{55, 117, 17}));  // 1000 m bands above 2000 m
    EXPECT_EQ(colour(12000, 1), (Rgb3{100, 50, 31})); // the top band's colour
    EXPECT_EQ(colour(-500, 1), (Rgb3{0, 215, 0}));    // extrapolated below 0 m, clamped, still land
    EXPECT_EQ(colour(-500.01f, 1), (Rgb3{120, 20, 37}));
    colours.colourTable[0][0] = 400;
    EXPECT_EQ(colour(0, 0), (Rgb3{255, 200, 1}));
    colours = ColourTable{}; // no table: black, never a read outside it
    EXPECT_EQ(colour(-600, 0), (Rgb3{0, 0, 0}));
    colours = defaultColours(); // nine entries lend the sea to the 4000 .. 5000 m band
    EXPECT_EQ(colour(4500, 1), (Rgb3{115, 115, 242}));
}

Rgb3 shadeOf(const GridPoint& point)
{
    return {point.shadeColour[0], point.shadeColour[1], point.shadeColour[2]};
}

TEST(Relight, LevelGroundFollowsTheSunsHeightBrightnessColourSwitch)
{
    // 250 m: blended (60, 250, 70), flat (0, 250, 0); (1 + sin 45) / 2 of it with the sun at 30 degrees.
    ElevationGrid g;
    makePlane(g, 301, 257, 0, 0);
    const std::tuple<double, double, int, Rgb3> cases[] = {{90, 1, 1, {60, 250, 70}},
                                                           {0, 1, 1, {30, 125, 35}},
                                                           {0, 1, 0, {0, 125, 0}},
                                                           {90, 2, 1, {120, 255, 140}},
                                                           {30, 1, 1, {51, 213, 59}}};
    for (const auto& [sun, brightness, blend, shade] : cases) {
        relight(g, ViewState{.brightness = brightness, .sunElevation = sun, .blendColours = blend});
        for (int i = 0; i < 301 * 257; ++i) // every point, whichever thread lit it
            ASSERT_EQ(shadeOf(g.points[i]), shade)
                << "sun at " << sun << ", brightness " << brightness << ", " << i;
    }
}

TEST(Relight, ASlopeFacingTheSunIsBrighterThanOneFacingAway)
{
    // The sun in the east, the south and the south-west; the slope z = a y + b x faces it.
    for (const auto& [azimuth, a, b] :
         {std::tuple(90.0, 0.0, -0.5), std::tuple(180.0, -0.5, 0.0), std::tuple(225.0, -0.4, 0.4)}) {
        std::vector<Rgb3> shades;
        for (const double k : {1.0, 0.0, -1.0}) {
            ElevationGrid g;
            makePlane(g, 3, 3, k * a, k * b);
            relight(g, ViewState{.sunAzimuth = azimuth, .sunElevation = 30});
            shades.push_back(shadeOf(g.points[4]));
        }
        EXPECT_GT(shades[0][1], shades[1][1]) << "sun at " << azimuth;
        EXPECT_GT(shades[1][1], shades[2][1]) << "sun at " << azimuth;
    }
}

} // namespace
