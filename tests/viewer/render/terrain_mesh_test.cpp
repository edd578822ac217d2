#include <gtest/gtest.h>

#include <cmath>

#include "data/colour_table.h"
#include "data/grid.h"
#include "render/terrain_mesh.h"
#include "startup/view_state.h"
#include "test_terrain.h"

namespace {

// Places every point of a rows x cols grid on the plane z = a y + b x.
void makePlane(int rows, int cols, double a, double b)
{
    allocategrid(rows, cols, srtm3Constants);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            GridPoint& p = grid.gridRowTable[r][c];
            p.y = static_cast<float>(r * 90.0);
            p.x = static_cast<float>(c * 70.0);
            p.z = static_cast<float>(a * p.y + b * p.x);
            p.sampleState = 0;
        }
}

TEST(GridNormal, PlanesGiveTheirNormalEverywhereIncludingEdgesAndCorners)
{
    const double slopes[][2] = {{0, 0}, {0.5, 0}, {0, -0.25}, {0.3, 0.7}};
    // The large grid is shared out between threads.
    const int shapes[][2] = {{4, 5}, {600, 120}};
    for (const auto& shape : shapes) {
        for (const auto& slope : slopes) {
            makePlane(shape[0], shape[1], slope[0], slope[1]);
            computeMeshAttributes();
            const double length = std::sqrt(slope[0] * slope[0] + slope[1] * slope[1] + 1);
            for (int r = 0; r < shape[0]; ++r)
                for (int c = 0; c < shape[1]; ++c) {
                    const float* n = grid.gridRowTable[r][c].normal;
                    ASSERT_NEAR(n[0], -slope[0] / length, 1e-5) << r << "," << c;
                    ASSERT_NEAR(n[1], -slope[1] / length, 1e-5) << r << "," << c;
                    ASSERT_NEAR(n[2], 1 / length, 1e-5) << r << "," << c;
                }
        }
    }
}

TEST(GridNormal, EdgesUseOneSidedDifferences)
{
    // A ridge along row 1 of a 3-row grid: the interior point sees both
    // flanks and stays level; the edge rows see one flank each.
    makePlane(3, 3, 0, 0);
    for (int c = 0; c < 3; ++c)
        grid.gridRowTable[1][c].z = 90;
    computeMeshAttributes();
    EXPECT_NEAR(grid.gridRowTable[1][1].normal[0], 0, 1e-6);
    const double edge = 1 / std::sqrt(2.0);  // rises 90 m over one 90 m row
    EXPECT_NEAR(grid.gridRowTable[0][1].normal[0], -edge, 1e-5);  // northern row faces north
    EXPECT_NEAR(grid.gridRowTable[2][1].normal[0], edge, 1e-5);   // southern row faces south
}

TEST(GridNormal, ASinglePointHasNoSurfaceAndStaysLevel)
{
    makePlane(1, 1, 0, 0);
    computeMeshAttributes();
    const float* n = grid.gridRowTable[0][0].normal;
    EXPECT_EQ(n[0], 0.0f);
    EXPECT_EQ(n[1], 0.0f);
    EXPECT_EQ(n[2], 1.0f);
}

class BandColourTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Twelve band entries, distinct in every channel, then sea and background.
        colours = ColourTable{};
        for (int i = 0; i < 12; ++i) {
            colours.colourTable[i][0] = 10 * i;
            colours.colourTable[i][1] = 200 - 15 * i;
            colours.colourTable[i][2] = 3 * i + 1;
        }
        colours.colourTable[12][0] = 1;
        colours.colourTable[12][1] = 2;
        colours.colourTable[12][2] = 250;  // sea
        colours.colourCount = 14;
    }

    static void expectColour(float elevation, int blend, int r, int g, int b)
    {
        std::uint8_t rgb[3];
        bandColour(elevation, blend, rgb);
        EXPECT_EQ(rgb[0], r) << elevation << " m, blend " << blend;
        EXPECT_EQ(rgb[1], g) << elevation << " m, blend " << blend;
        EXPECT_EQ(rgb[2], b) << elevation << " m, blend " << blend;
    }
    static void expectEntry(float elevation, int blend, int entry)
    {
        expectColour(elevation, blend, colours.colourTable[entry][0], colours.colourTable[entry][1],
                     colours.colourTable[entry][2]);
    }
};

TEST_F(BandColourTest, EveryBandEdgeIsContinuousBlendedAndJumpsFlat)
{
    const float edges[] = {500, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    for (int k = 0; k < 10; ++k) {
        const float edge = edges[k];
        expectEntry(edge, 1, k + 1);  // top of band k blends fully into entry k + 1
        expectEntry(edge, 0, k);      // flat: still band k
        const float above = std::nextafter(edge, 1e9f);
        expectEntry(above, 0, k + 1);  // flat jumps
        if (k < 9) {
            // Blended continues from the same colour (truncation may take one off).
            std::uint8_t rgb[3];
            bandColour(above, 1, rgb);
            for (int channel = 0; channel < 3; ++channel)
                EXPECT_NEAR(rgb[channel], colours.colourTable[k + 1][channel], 1) << edge;
        }
    }
}

TEST_F(BandColourTest, BlendsLinearlyAndTruncates)
{
    // 250 m: halfway from entry 0 (0, 200, 1) to entry 1 (10, 185, 4).
    expectColour(250, 1, 5, 192, 2);
    // 2250 m: a quarter from entry 4 (40, 140, 13) to entry 5 (50, 125, 16).
    expectColour(2250, 1, 42, 136, 13);
    // Whole bands above 2000 m are 1000 m wide: 3500 m is halfway 5 -> 6.
    expectColour(3500, 1, 55, 117, 17);
    expectColour(3500, 0, 50, 125, 16);
}

TEST_F(BandColourTest, HighestBandIsEntryTenBlendedOrNot)
{
    expectEntry(8000.5f, 1, 10);
    expectEntry(8000.5f, 0, 10);
    expectEntry(12000, 1, 10);
}

TEST_F(BandColourTest, BelowSeaLevelExtrapolatesAndClampsAndBelowMinus500IsSea)
{
    // -250 m: t = -0.5, 1.5 x entry 0 - 0.5 x entry 1 = (-5, 207.5, -0.5): clamped.
    expectColour(-250, 1, 0, 207, 0);
    expectEntry(-250, 0, 0);
    // -500 m itself is still land.
    expectColour(-500, 1, 0, 215, 0);
    expectColour(-500.01f, 1, 1, 2, 250);
    expectColour(-500.01f, 0, 1, 2, 250);
    expectColour(-9999, 0, 1, 2, 250);
}

TEST_F(BandColourTest, ComponentsOutsideTheByteRangeAreClamped)
{
    colours.colourTable[0][0] = 400;
    colours.colourTable[0][1] = -20;
    expectColour(0, 0, 255, 0, 1);
}

TEST_F(BandColourTest, ShortTablesGiveBlackInsteadOfReadingOutside)
{
    colours = ColourTable{};  // no table at all
    expectColour(-600, 0, 0, 0, 0);
    expectColour(100, 1, 0, 0, 0);
    // The default nine-entry table lends its sea entry to the 4000 .. 5000 m band.
    useDefaultColours();
    expectColour(4500, 1, 115, 115, 242);
}

TEST(MeshAttributes, EveryPointGetsFlatAndBlendedColour)
{
    useDefaultColours();
    makeTestTerrain(400, 160, [](int r, int c) { return static_cast<float>(r * 25 - c * 3 - 600); });
    computeMeshAttributes();
    for (int r = 0; r < 400; ++r)
        for (int c = 0; c < 160; ++c) {
            const GridPoint& p = grid.gridRowTable[r][c];
            std::uint8_t flat[3], blend[3];
            bandColour(p.elevation, 0, flat);
            bandColour(p.elevation, 1, blend);
            for (int channel = 0; channel < 3; ++channel) {
                ASSERT_EQ(p.flatColour[channel], flat[channel]);
                ASSERT_EQ(p.blendColour[channel], blend[channel]);
            }
        }
}

class RelightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetViewStateForTest();
        useDefaultColours();
    }
};

TEST_F(RelightTest, SunDirectionFollowsCompassBearingAndHeight)
{
    view.sunAzimuth = 180;  // due south, on the horizon: +y
    view.sunElevation = 0;
    SunLight sun = currentSunLight();
    EXPECT_NEAR(sun.direction[0], 1, 1e-12);
    EXPECT_NEAR(sun.direction[1], 0, 1e-12);
    EXPECT_NEAR(sun.direction[2], 0, 1e-12);
    view.sunAzimuth = 90;  // east: +x
    sun = currentSunLight();
    EXPECT_NEAR(sun.direction[0], 0, 1e-12);
    EXPECT_NEAR(sun.direction[1], 1, 1e-12);
    view.sunElevation = 90;  // overhead
    sun = currentSunLight();
    EXPECT_NEAR(sun.direction[2], 1, 1e-12);
}

TEST_F(RelightTest, FactorRunsFromZeroAwayToBrightnessTowardsTheSun)
{
    view.sunAzimuth = 270;  // west: -x
    view.sunElevation = 0;
    view.brightness = 0.8;
    const SunLight sun = currentSunLight();
    const float west[3] = {0, -1, 0}, east[3] = {0, 1, 0}, up[3] = {0, 0, 1};
    EXPECT_NEAR(lightFactor(west, sun), 0.8, 1e-12);
    EXPECT_NEAR(lightFactor(east, sun), 0.0, 1e-12);
    EXPECT_NEAR(lightFactor(up, sun), 0.4, 1e-12);
    // Thirty degrees of sun: d = 0.5, (1 + sin 45 degrees) / 2.
    view.sunElevation = 30;
    EXPECT_NEAR(lightFactor(up, currentSunLight()), 0.8 * (1 + std::sqrt(0.5)) / 2, 1e-9);
}

TEST_F(RelightTest, LevelGroundUnderHighAndLowSunAndSaturation)
{
    makeTestTerrain(3, 3, [](int, int) { return 250.0f; });  // blended (60, 250, 70), flat (0, 250, 0)
    computeMeshAttributes();
    // The curvature drop tilts the corners a hair; the centre is level.
    const GridPoint& centre = grid.gridRowTable[1][1];
    view.sunElevation = 90;
    view.brightness = 1;
    relight();
    EXPECT_EQ(centre.shadeColour[0], 60);
    EXPECT_EQ(centre.shadeColour[1], 250);
    EXPECT_EQ(centre.shadeColour[2], 70);
    view.sunElevation = 0;
    relight();
    EXPECT_EQ(centre.shadeColour[0], 30);
    EXPECT_EQ(centre.shadeColour[1], 125);
    EXPECT_EQ(centre.shadeColour[2], 35);
    view.blendColours = 0;
    relight();
    EXPECT_EQ(centre.shadeColour[0], 0);
    EXPECT_EQ(centre.shadeColour[1], 125);
    view.brightness = 2;  // 250 x 1 = 250, 250 x 2 x 1 would exceed 255
    view.sunElevation = 90;
    relight();
    EXPECT_EQ(centre.shadeColour[1], 255);
    view.brightness = 0;
    relight();
    EXPECT_EQ(centre.shadeColour[1], 0);
}

TEST_F(RelightTest, EveryPointOfALargeGridIsLitByItsOwnNormal)
{
    // Large enough to be split between threads.
    makeTestTerrain(301, 257, rollingHills);
    computeMeshAttributes();
    view.sunAzimuth = 200;
    view.sunElevation = 40;
    view.brightness = 1.3;
    relight();
    const SunLight sun = currentSunLight();
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c) {
            const GridPoint& p = grid.gridRowTable[r][c];
            const double f = lightFactor(p.normal, sun);
            for (int channel = 0; channel < 3; ++channel) {
                const double expected = std::min(255.0, std::floor(p.blendColour[channel] * f));
                ASSERT_EQ(p.shadeColour[channel], expected) << r << "," << c;
            }
        }
}

}  // namespace

namespace {

TEST(QuarterTurnSine, AgreesWithTheLibrarySineAndIsExactAtTheEnds)
{
    const double quarter = 2 * std::atan(1.0);
    EXPECT_EQ(sinQuarterTurns(0), 0);
    EXPECT_EQ(sinQuarterTurns(1), 1);
    EXPECT_EQ(sinQuarterTurns(-1), -1);
    for (int k = -200000; k <= 200000; ++k) {
        const double d = k / 200000.0;
        const double expected = std::sin(d * quarter);
        const double got = sinQuarterTurns(d);
        ASSERT_LE(std::abs(got - expected), 2.3e-16) << d;
    }
    // Just below the top, where level ground under a high sun lies, the two agree exactly.
    for (double e = 1e-3; e > 1e-12; e /= 3)
        EXPECT_EQ(sinQuarterTurns(1 - e), std::sin((1 - e) * quarter)) << e;
}

}  // namespace
