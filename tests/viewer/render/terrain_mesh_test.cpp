#include <gtest/gtest.h>

#include <cmath>

#include "data/colour_table.h"
#include "data/grid.h"
#include "render/terrain_mesh.h"
#include "startup/view_state.h"
#include "test_terrain.h"

namespace {

// A rows x cols grid on the plane z = a y + b x (90 m rows, 70 m columns).
void makePlane(int rows, int cols, double a, double b)
{
    allocategrid(rows, cols, srtm3Constants);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            GridPoint& p = grid.gridRowTable[r][c];
            p.y = r * 90.0f;
            p.x = c * 70.0f;
            p.z = static_cast<float>(a * p.y + b * p.x);
        }
}

TEST(GridNormal, PlanesGiveTheirNormalEverywhereEdgesAndThreadSharesIncluded)
{
    const double slopes[][2] = {{0, 0}, {0.5, 0}, {0, -0.25}, {0.3, 0.7}};
    for (const auto& shape : {std::pair{4, 5}, std::pair{600, 120}})
        for (const auto& slope : slopes) {
            makePlane(shape.first, shape.second, slope[0], slope[1]);
            computeMeshAttributes();
            const double length = std::hypot(slope[0], slope[1], 1.0);
            for (int i = 0; i < shape.first * shape.second; ++i) {
                const float* n = grid.points[i].normal;
                ASSERT_NEAR(n[0], -slope[0] / length, 1e-5) << i;
                ASSERT_NEAR(n[1], -slope[1] / length, 1e-5) << i;
                ASSERT_NEAR(n[2], 1 / length, 1e-5) << i;
            }
        }
}

TEST(GridNormal, EdgesUseOneSidedDifferencesAndASinglePointStaysLevel)
{
    makePlane(3, 3, 0, 0);
    for (int c = 0; c < 3; ++c)
        grid.gridRowTable[1][c].z = 90;  // a ridge along the middle row
    computeMeshAttributes();
    EXPECT_NEAR(grid.gridRowTable[1][1].normal[0], 0, 1e-6);
    EXPECT_NEAR(grid.gridRowTable[0][1].normal[0], -std::sqrt(0.5), 1e-6);  // the north flank faces north
    EXPECT_NEAR(grid.gridRowTable[2][1].normal[0], std::sqrt(0.5), 1e-6);
    makePlane(1, 1, 0, 0);
    computeMeshAttributes();
    EXPECT_EQ(grid.points[0].normal[2], 1.0f);
}

class BandColourTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        colours = ColourTable{};  // entry i: (10 i, 200 - 15 i, 3 i + 1); entry 12 the sea
        for (int i = 0; i < 12; ++i) {
            const int entry[3] = {10 * i, 200 - 15 * i, 3 * i + 1};
            std::copy(entry, entry + 3, colours.colourTable[i]);
        }
        const int sea[3] = {1, 2, 250};
        std::copy(sea, sea + 3, colours.colourTable[12]);
        colours.colourCount = 14;
    }
    static std::vector<int> colour(float elevation, int blend)
    {
        std::uint8_t rgb[3];
        bandColour(elevation, blend, rgb);
        return {rgb[0], rgb[1], rgb[2]};
    }
    static std::vector<int> entry(int i) { return {colours.colourTable[i], colours.colourTable[i] + 3}; }
};

TEST_F(BandColourTest, BlendedColoursAreContinuousAtEveryBandEdgeAndFlatOnesJump)
{
    const float edges[] = {500, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(colour(edges[k], 1), entry(k + 1)) << edges[k];
        EXPECT_EQ(colour(edges[k], 0), entry(k)) << edges[k];
        const float above = std::nextafter(edges[k], 1e9f);
        EXPECT_EQ(colour(above, 0), entry(k + 1)) << edges[k];
        for (int channel = 0; channel < 3 && k < 9; ++channel)
            EXPECT_NEAR(colour(above, 1)[channel], entry(k + 1)[channel], 1) << edges[k];
    }
}

TEST_F(BandColourTest, BlendTruncationSeaAndClamping)
{
    EXPECT_EQ(colour(250, 1), (std::vector<int>{5, 192, 2}));     // halfway 0 -> 1, truncated
    EXPECT_EQ(colour(2250, 1), (std::vector<int>{42, 136, 13}));  // a quarter 4 -> 5
    EXPECT_EQ(colour(3500, 1), (std::vector<int>{55, 117, 17}));  // 1000 m bands above 2000 m
    EXPECT_EQ(colour(3500, 0), entry(5));
    EXPECT_EQ(colour(12000, 1), entry(10));
    EXPECT_EQ(colour(-250, 1), (std::vector<int>{0, 207, 0}));  // extrapolated, clamped
    EXPECT_EQ(colour(-500, 1), (std::vector<int>{0, 215, 0}));  // still land
    EXPECT_EQ(colour(-500.01f, 0), entry(12));
    EXPECT_EQ(colour(-9999, 1), entry(12));
    colours.colourTable[0][0] = 400;
    colours.colourTable[0][1] = -20;
    EXPECT_EQ(colour(0, 0), (std::vector<int>{255, 0, 1}));
    colours = ColourTable{};  // no table: black, never a read outside it
    EXPECT_EQ(colour(-600, 0), (std::vector<int>{0, 0, 0}));
    useDefaultColours();  // nine entries lend the sea to the 4000 .. 5000 m band
    EXPECT_EQ(colour(4500, 1), (std::vector<int>{115, 115, 242}));
}

TEST(Relight, SunDirectionAndLightFactors)
{
    resetViewStateForTest();
    const float up[3] = {0, 0, 1}, south[3] = {1, 0, 0}, west[3] = {0, -1, 0};
    view.sunElevation = 0;
    view.brightness = 0.8;
    view.sunAzimuth = 180;
    EXPECT_NEAR(lightFactor(south, currentSunLight()), 0.8, 1e-12);
    EXPECT_NEAR(lightFactor(up, currentSunLight()), 0.4, 1e-12);
    view.sunAzimuth = 90;  // east: a west face gets nothing
    EXPECT_NEAR(lightFactor(west, currentSunLight()), 0, 1e-12);
    view.sunElevation = 30;  // d = 0.5: (1 + sin 45) / 2
    EXPECT_NEAR(lightFactor(up, currentSunLight()), 0.8 * (1 + std::sqrt(0.5)) / 2, 1e-12);
}

TEST(Relight, LevelGroundUnderHighAndLowSunWithSwitchAndSaturation)
{
    resetViewStateForTest();
    useDefaultColours();
    makeTestTerrain(3, 3, [](int, int) { return 250.0f; });  // blended (60, 250, 70), flat (0, 250, 0)
    computeMeshAttributes();
    const auto shade = [](double sun, double brightness, int blend) {
        view.sunElevation = sun;
        view.brightness = brightness;
        view.blendColours = blend;
        relight();
        const std::uint8_t* c = grid.gridRowTable[1][1].shadeColour;  // the level centre
        return std::vector<int>{c[0], c[1], c[2]};
    };
    EXPECT_EQ(shade(90, 1, 1), (std::vector<int>{60, 250, 70}));
    EXPECT_EQ(shade(0, 1, 1), (std::vector<int>{30, 125, 35}));
    EXPECT_EQ(shade(0, 1, 0), (std::vector<int>{0, 125, 0}));
    EXPECT_EQ(shade(90, 2, 1), (std::vector<int>{120, 255, 140}));
    EXPECT_EQ(shade(90, 0, 1), (std::vector<int>{0, 0, 0}));
}

TEST(Relight, EveryPointOfALargeGridIsLitByItsOwnNormalAndColours)
{
    resetViewStateForTest();
    useDefaultColours();
    makeTestTerrain(301, 257, [](int r, int c) { return r * 30.0f - c * 3 - 600; });  // every band, and sea
    computeMeshAttributes();
    view.sunAzimuth = 200;
    view.brightness = 1.3;
    relight();
    for (int i = 0; i < 301 * 257; ++i) {
        const GridPoint& p = grid.points[i];
        std::uint8_t blended[3];
        bandColour(p.elevation, 1, blended);
        const double f = lightFactor(p.normal, currentSunLight());
        for (int channel = 0; channel < 3; ++channel)
            ASSERT_EQ(p.shadeColour[channel], std::min(255.0, std::floor(blended[channel] * f))) << i;
    }
}

TEST(QuarterTurnSine, AgreesWithTheLibrarySineAndIsExactAtTheEnds)
{
    const double quarter = 2 * std::atan(1.0);
    EXPECT_EQ(sinQuarterTurns(0), 0);
    EXPECT_EQ(sinQuarterTurns(1), 1);
    EXPECT_EQ(sinQuarterTurns(-1), -1);
    for (int k = -200000; k <= 200000; ++k)
        ASSERT_NEAR(sinQuarterTurns(k / 2e5), std::sin(k / 2e5 * quarter), 2.3e-16) << k;
    // Just below the top, where level ground under a high sun lies, the two agree exactly.
    for (double e = 1e-3; e > 1e-12; e /= 3)
        EXPECT_EQ(sinQuarterTurns(1 - e), std::sin((1 - e) * quarter)) << e;
}

}  // namespace
