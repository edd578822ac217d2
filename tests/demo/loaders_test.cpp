// The strongest check of the demo data: the viewer's own loaders read it,
// and the four data sets agree wherever their sample lattices meet.
#include <gtest/gtest.h>

#include <cmath>

#include "data/loaders.h"
#include "demo_output.h"
#include "relief.h"
#include "state/fatal_error.h"

using namespace orvex;

namespace {

std::string dir(const char* name)
{
    return (demoDir() / name).string();
}

// Each data set loaded once: the block and the samples per degree.
const LoadedGrid& gsi50()
{
    static const LoadedGrid loaded = (readgsi50(dir("GSI50M"), 533815, 4, 6), copyGrid(2400, 1600));
    return loaded;
}
const LoadedGrid& gsi250()
{
    static const LoadedGrid loaded = (readgsi250(dir("GSI250M"), 5338, 2, 2), copyGrid(480, 320));
    return loaded;
}
const LoadedGrid& srtm3() // block rows 108-111, columns 636-639: 36-34 N, 138-140 E
{
    static const LoadedGrid loaded =
        (readsrtm3(dir("SRTM3"), 108, 636, 111, 639, 0, dir("SRTM30")), copyGrid(1200, 1200));
    return loaded;
}
const LoadedGrid& srtm30() // block rows 10-11, column 63: 40-30 N, 135-140 E
{
    static const LoadedGrid loaded = (readsrtm30(dir("SRTM30"), 10, 63, 11, 63), copyGrid(120, 120));
    return loaded;
}

// Compares two grids at every point of a lattice: sea against sea, heights
// within `tolerance`; the number of points compared (SRTM3 voids are not).
int compare(const LoadedGrid& a, const LoadedGrid& b, const SampleLattice& lattice, double tolerance)
{
    int compared = 0;
    for (int r = 0; r < lattice.rows; ++r)
        for (int c = 0; c < lattice.cols; ++c) {
            const auto va = a.at(lattice.lat(r), lattice.lon(c));
            const auto vb = b.at(lattice.lat(r), lattice.lon(c));
            if (!va || !vb)
                continue;
            ++compared;
            if (std::isnan(*va) != std::isnan(*vb) || std::fabs(*va - *vb) > tolerance) {
                ADD_FAILURE() << *va << " against " << *vb << " at " << lattice.lat(r) << " "
                              << lattice.lon(c);
                return compared;
            }
        }
    return compared;
}

class DemoLoaders : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setFatalErrorWaitsForEnter(false); }
};

} // namespace

TEST_F(DemoLoaders, EveryFormatPeaksAtFujiSummit)
{
    const std::pair<const LoadedGrid*, double> sets[] = {
        {&gsi50(), 10}, {&gsi250(), 120}, {&srtm3(), 30}, {&srtm30(), 450}};
    for (const auto& [loaded, drop] : sets) {
        const LoadedGrid::Peak peak = loaded->highest();
        EXPECT_LE(peak.height, fujiSummitHeight);
        EXPECT_GE(peak.height, fujiSummitHeight - drop);
        EXPECT_NEAR(peak.lat, fujiSummitLat, 0.005);
        EXPECT_NEAR(peak.lon, fujiSummitLon, 0.006);
    }
    // The 50 m sample nearest the summit, row 334 and column 164 of the block.
    EXPECT_NEAR(gsi50().at(334, 164), *demoTerrain().heightAt(35.5 - 334 / 2400.0, 138.625 + 164 / 1600.0),
                0.06);
}

TEST_F(DemoLoaders, TheGsiLoadersFindEverySheetAndKeepRowsWithoutARecord)
{
    ASSERT_EQ(gsi50().rows, 800);
    ASSERT_EQ(gsi50().cols, 1200);
    EXPECT_EQ(std::count(gsi50().elevation.begin(), gsi50().elevation.end(), -999.0f), 0)
        << "a sheet was not found or read short";
    EXPECT_TRUE(std::isnan(*gsi50().at(35.2, 139.3))); // Sagami Bay
    ASSERT_EQ(gsi250().rows, 640);
    EXPECT_EQ(gsi250().at(639, 500), -999.0f); // south of Izu Oshima, in 5239: no record
    EXPECT_GT(gsi250().at(639, 300), 0);       // the same row of 5238 crosses Izu: a record
}

TEST_F(DemoLoaders, AllFourAgreeWhereTheirSamplesMeet)
{
    // GSI 50 m against SRTM3 every 1/1200 by 1/400 degree over the sheets.
    EXPECT_GT(compare(gsi50(), srtm3(), {35.5, 138.625, 1200, 400, 400, 300}, 0.55), 110000);
    EXPECT_EQ(compare(gsi50(), gsi250(), {35.5, 138.625, 480, 320, 160, 240}, 0.11), 160 * 240);
    EXPECT_GT(compare(gsi250(), srtm3(), {36, 138, 240, 80, 320, 160}, 0.55), 50000);
    EXPECT_GT(compare(srtm3(), srtm30(), {36, 138, 120, 120, 240, 240}, 1.0), 57000);
}

TEST_F(DemoLoaders, Srtm3VoidsNeedBothFills)
{
    const auto voids = std::count(srtm3().state.begin(), srtm3().state.end(), 1);
    EXPECT_EQ(std::count(srtm3().state.begin(), srtm3().state.end(), 2), 0) << "a tile was not found";
    EXPECT_GT(voids, 1000);

    // Line fill of short spans alone (no SRTM30 tile): the small patches close, the large stay.
    readsrtm3(dir("SRTM3"), 108, 636, 111, 639, 2, "/nonexistent");
    const LoadedGrid lineFilled = copyGrid(1200, 1200);
    const auto left = std::count(lineFilled.state.begin(), lineFilled.state.end(), 1);
    EXPECT_LT(left, voids - 50);
    EXPECT_GT(left, voids / 2);

    // With the SRTM30 tile every void is filled, and with land.
    readsrtm3(dir("SRTM3"), 108, 636, 111, 639, 2, dir("SRTM30"));
    const LoadedGrid filled = copyGrid(1200, 1200);
    for (std::size_t i = 0; i < filled.state.size(); ++i) {
        ASSERT_EQ(filled.state[i], 0) << i;
        if (srtm3().state[i] == 1) {
            ASSERT_GT(filled.elevation[i], 0) << i;
        }
    }
}
