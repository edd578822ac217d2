#include <gtest/gtest.h>

#include <cmath>

#include "render/terrain_mesh.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

using Rgb3 = std::vector<int>;

// A rows x cols grid on the plane z = a y + b x (90 m rows, 70 m columns).
void makePlane(int rows, int cols, double a, double b)
{
    allocategrid(rows, cols, srtm3Constants);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            GridPoint& p = grid.gridRowTable[r][c];
            p.y = r * 90.0f, p.x = c * 70.0f;
            p.z = static_cast<float>(a * p.y + b * p.x);
        }
}

TEST(GridNormal, PlanesGiveTheirNormalEverywhereEdgesIncluded)
{
    // The larger grid is split between threads.
    for (const auto& [rows, cols] : {std::pair{4, 5}, std::pair{600, 120}})
        for (const auto& [a, b] : {std::pair{0.0, 0.0}, std::pair{0.5, 0.0}, std::pair{0.3, -0.7}}) {
            makePlane(rows, cols, a, b);
            computeMeshAttributes();
            const double length = std::hypot(a, b, 1.0);
            for (int i = 0; i < rows * cols; ++i) {
                const float* n = grid.points[i].normal;
                ASSERT_NEAR(n[0], -a / length, 1e-5) << i;
                ASSERT_NEAR(n[1], -b / length, 1e-5) << i;
                ASSERT_NEAR(n[2], 1 / length, 1e-5) << i;
            }
        }
    makePlane(1, 1, 0, 0);
    computeMeshAttributes();
    EXPECT_EQ(grid.points[0].normal[2], 1.0f); // a single point has no surface
}

Rgb3 colour(float elevation, int blend)
{
    std::uint8_t rgb[3];
    bandColour(colours, elevation, blend, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}
Rgb3 entry(int i)
{
    return {colours.colourTable[i], colours.colourTable[i] + 3};
}

TEST(BandColour, BlendsContinuouslyAcrossEveryBandEdgeTruncatesAndClamps)
{
    colours = ColourTable{}; // entry i: (10 i, 200 - 15 i, 3 i + 1); entry 12 the sea
    for (int i = 0; i < 13; ++i)
        colours.colourTable[i][0] = 10 * i, colours.colourTable[i][1] = 200 - 15 * i,
        colours.colourTable[i][2] = 3 * i + 1;
    colours.colourCount = 14;
    const float edges[] = {500, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    for (int k = 0; k < 10; ++k) {
        const float above = std::nextafter(edges[k], 1e9f);
        EXPECT_EQ(colour(edges[k], 1), entry(k + 1)) << edges[k];
        EXPECT_EQ(colour(edges[k], 0), entry(k)) << edges[k];
        EXPECT_EQ(colour(above, 0), entry(k + 1)) << edges[k];
        for (int channel = 0; channel < 3 && k < 9; ++channel)
            EXPECT_NEAR(colour(above, 1)[channel], entry(k + 1)[channel], 1) << edges[k];
    }
    EXPECT_EQ(colour(250, 1), (Rgb3{5, 192, 2}));    // halfway 0 -> 1, truncated
    EXPECT_EQ(colour(3500, 1), (Rgb3{55, 117, 17})); // 1000 m bands above 2000 m
    EXPECT_EQ(colour(12000, 1), entry(10));
    EXPECT_EQ(colour(-500, 1), (Rgb3{0, 215, 0})); // extrapolated below 0 m, clamped, still land
    EXPECT_EQ(colour(-500.01f, 1), entry(12));
    colours.colourTable[0][0] = 400;
    EXPECT_EQ(colour(0, 0), (Rgb3{255, 200, 1}));
    colours = ColourTable{}; // no table: black, never a read outside it
    EXPECT_EQ(colour(-600, 0), (Rgb3{0, 0, 0}));
    useDefaultColours(); // nine entries lend the sea to the 4000 .. 5000 m band
    EXPECT_EQ(colour(4500, 1), (Rgb3{115, 115, 242}));
}

TEST(Relight, SunDirectionBrightnessAndTheColourSwitch)
{
    resetViewStateForTest();
    const float up[3] = {0, 0, 1}, south[3] = {1, 0, 0}, west[3] = {0, -1, 0};
    view.sunElevation = 0, view.brightness = 0.8, view.sunAzimuth = 180;
    EXPECT_NEAR(lightFactor(south, currentSunLight(view)), 0.8, 1e-12);
    EXPECT_NEAR(lightFactor(up, currentSunLight(view)), 0.4, 1e-12);
    view.sunAzimuth = 90; // east: a west face gets nothing
    EXPECT_NEAR(lightFactor(west, currentSunLight(view)), 0, 1e-12);
    view.sunElevation = 30; // d = 0.5: (1 + sin 45) / 2
    EXPECT_NEAR(lightFactor(up, currentSunLight(view)), 0.8 * (1 + std::sqrt(0.5)) / 2, 1e-12);

    useDefaultColours();
    makeTestTerrain(3, 3, [](int, int) { return 250.0f; }); // blended (60, 250, 70), flat (0, 250, 0)
    computeMeshAttributes();
    const auto shade = [](double sun, double brightness, int blend) {
        view.sunElevation = sun, view.brightness = brightness, view.blendColours = blend;
        relight();
        const std::uint8_t* c = grid.gridRowTable[1][1].shadeColour; // the level centre
        return Rgb3{c[0], c[1], c[2]};
    };
    EXPECT_EQ(shade(90, 1, 1), (Rgb3{60, 250, 70}));
    EXPECT_EQ(shade(0, 1, 1), (Rgb3{30, 125, 35}));
    EXPECT_EQ(shade(0, 1, 0), (Rgb3{0, 125, 0}));
    EXPECT_EQ(shade(90, 2, 1), (Rgb3{120, 255, 140}));

    // Every point of a grid large enough to be shared between threads.
    makeTestTerrain(301, 257, [](int r, int c) { return r * 30.0f - c * 3 - 600; }); // every band, and sea
    computeMeshAttributes();
    view.sunAzimuth = 200, view.sunElevation = 30, view.brightness = 1.3, view.blendColours = 1;
    relight();
    for (int i = 0; i < 301 * 257; ++i) {
        const GridPoint& p = grid.points[i];
        const double f = lightFactor(p.normal, currentSunLight(view));
        for (int channel = 0; channel < 3; ++channel)
            ASSERT_EQ(p.shadeColour[channel], std::min(255.0, std::floor(p.blendColour[channel] * f))) << i;
    }
}

TEST(QuarterTurnSine, AgreesWithTheLibrarySineAndIsExactAtTheEnds)
{
    const double quarter = 2 * std::atan(1.0);
    EXPECT_EQ(std::tuple(sinQuarterTurns(0), sinQuarterTurns(1), sinQuarterTurns(-1)),
              std::tuple(0.0, 1.0, -1.0));
    for (int k = -200000; k <= 200000; ++k)
        ASSERT_NEAR(sinQuarterTurns(k / 2e5), std::sin(k / 2e5 * quarter), 2.3e-16) << k;
    // Just below the top, where level ground under a high sun lies, the two agree exactly.
    for (double e = 1e-3; e > 1e-12; e /= 3)
        EXPECT_EQ(sinQuarterTurns(1 - e), std::sin((1 - e) * quarter)) << e;
}

} // namespace
