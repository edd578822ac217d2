// The strongest check of the demo data: the viewer's own loaders read it,
// and the four data sets agree wherever their sample lattices meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "data/fgd_archive.h"
#include "data/loaders.h"
#include "demo_data.h"
#include "demo_output.h"
#include "relief.h"
#include "state/fatal_error.h"
#include "state/grid.h"

using namespace demo;

using namespace orvex;

namespace {

// A copy of the viewer's grid after a loader ran, on the data set's lattice.
struct LoadedGrid {
    SampleLattice lattice;
    std::vector<float> elevation;
    std::vector<std::int8_t> state;

    float at(int r, int c) const { return elevation[static_cast<std::size_t>(r) * lattice.cols + c]; }
    // The elevation at a lattice point, NaN for sea; nothing where the point
    // lies outside the grid or holds no valid sample.
    std::optional<float> at(double lat, double lon) const
    {
        const auto r = static_cast<int>(std::lround((lattice.north - lat) * lattice.rowsPerDegree));
        const auto c = static_cast<int>(std::lround((lon - lattice.west) * lattice.colsPerDegree));
        if (r < 0 || c < 0 || r >= lattice.rows || c >= lattice.cols ||
            state[static_cast<std::size_t>(r) * lattice.cols + c] != 0)
            return std::nullopt;
        return at(r, c) < -100 ? NAN : at(r, c);
    }
};

// perDegLat, perDegLon: samples per degree, as the data set has them;
// `inset` steps in from the area's edges lie the first ones (1/2: in the
// middle of their cells).
LoadedGrid copyGrid(int perDegLat, int perDegLon, double inset = 0)
{
    const double north = grid.areaNorth - inset / perDegLat, west = grid.areaWest + inset / perDegLon;
    LoadedGrid copy{{north, west, perDegLat, perDegLon, grid.gridRows, grid.gridCols}, {}, {}};
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c) {
            copy.elevation.push_back(grid.gridRowTable[static_cast<std::size_t>(r)][c].elevation);
            copy.state.push_back(
                static_cast<std::int8_t>(grid.gridRowTable[static_cast<std::size_t>(r)][c].sampleState));
        }
    return copy;
}

// The four data sets over the demo block, each loaded once; SRTM3 with its
// voids left open (mode 0); the GSI DEM over Fuji, 10 m 2 x 2 sheets, 5 m
// the summit's sheet.
struct DataSets {
    LoadedGrid gsi50, gsi250, srtm3, srtm30, fgd10, fgd5;
};
const DataSets& loaded()
{
    static const DataSets sets = [] {
        setFatalErrorWaitsForEnter(false);
        DataSets sets;
        readgsi50(demoDir / "GSI50M", 533815, 4, 6);
        sets.gsi50 = copyGrid(2400, 1600);
        readgsi250(demoDir / "GSI250M", 5338, 2, 2);
        sets.gsi250 = copyGrid(480, 320);
        readsrtm3(demoDir / "SRTM3", 108, 636, 111, 639, 0, demoDir / "SRTM30"); // 36-34 N, 138-140 E
        sets.srtm3 = copyGrid(1200, 1200);
        readsrtm30(demoDir / "SRTM30", 10, 63, 11, 63); // 40-30 N, 135-140 E
        sets.srtm30 = copyGrid(120, 120);
        readfgd10(demoDir / "FGD", 533815, 2, 2);
        sets.fgd10 = copyGrid(9000, 9000, 0.5);
        readfgd5(demoDir / "FGD", 533805, 1, 1);
        sets.fgd5 = copyGrid(18000, 18000, 0.5);
        return sets;
    }();
    return sets;
}

// Compares two grids at every point of a lattice where both hold a sample
// (SRTM3 voids hold none): sea against sea, heights within `tolerance`.
// Returns the number of points compared.
int compare(const LoadedGrid& a, const LoadedGrid& b, const SampleLattice& lattice, double tolerance)
{
    int compared = 0, differing = 0;
    for (int r = 0; r < lattice.rows; ++r)
        for (int c = 0; c < lattice.cols; ++c) {
            const auto va = a.at(lattice.lat(r), lattice.lon(c)), vb = b.at(lattice.lat(r), lattice.lon(c));
            if (va && vb && ++compared)
                differing += std::isnan(*va) != std::isnan(*vb) || std::fabs(*va - *vb) > tolerance;
        }
    EXPECT_EQ(differing, 0) << "of " << compared;
    return compared;
}

} // namespace

TEST(DemoLoaders, EveryFormatPeaksAtFujiSummit)
{
    const std::tuple<const char*, const LoadedGrid&, double> sets[] = {
        {"GSI 50 m", loaded().gsi50, 10},    {"GSI 250 m", loaded().gsi250, 120},
        {"SRTM3", loaded().srtm3, 30},       {"SRTM30", loaded().srtm30, 450},
        {"GSI DEM 10 m", loaded().fgd10, 1}, {"GSI DEM 5 m", loaded().fgd5, 1}};
    for (const auto& [name, set, drop] : sets) {
        SCOPED_TRACE(name);
        const auto peak = std::ranges::max_element(set.elevation) - set.elevation.begin();
        EXPECT_LE(set.elevation[peak], fujiSummitHeight);
        EXPECT_GE(set.elevation[peak], fujiSummitHeight - drop);
        EXPECT_NEAR(set.lattice.lat(static_cast<int>(peak / set.lattice.cols)), fujiSummitLat, 0.005);
        EXPECT_NEAR(set.lattice.lon(static_cast<int>(peak % set.lattice.cols)), fujiSummitLon, 0.006);
    }
    EXPECT_NEAR(std::ranges::max(loaded().fgd10.elevation), std::ranges::max(loaded().gsi50.elevation), 1.0)
        << "the 10 m summit against the 50 m one";
}

TEST(DemoLoaders, TheGsiLoadersKeepRowsWithoutARecord)
{
    EXPECT_EQ(std::ranges::count(loaded().gsi50.elevation, -999.0f), 0) << "a sheet is missing";
    EXPECT_EQ(loaded().gsi250.at(639, 500), -999.0f); // south of Izu Oshima, in 5239: no record
    EXPECT_GT(loaded().gsi250.at(639, 300), 0);       // the same row of 5238 crosses Izu: a record
}

TEST(DemoLoaders, AllFourAgreeWhereTheirSamplesMeet)
{
    const DataSets& set = loaded();
    // GSI 50 m against SRTM3 every 1/1200 by 1/400 degree over the sheets.
    EXPECT_GT(compare(set.gsi50, set.srtm3, {35.5, 138.625, 1200, 400, 400, 300}, 0.55), 110000);
    EXPECT_EQ(compare(set.gsi50, set.gsi250, {35.5, 138.625, 480, 320, 160, 240}, 0.11), 160 * 240);
    EXPECT_GT(compare(set.gsi250, set.srtm3, {36, 138, 240, 80, 320, 160}, 0.55), 50000);
    EXPECT_GT(compare(set.srtm3, set.srtm30, {36, 138, 120, 120, 240, 240}, 1.0), 57000);
}

// Filling along lines closes the small void patches and leaves the large;
// the SRTM30 tile fills the rest.
TEST(DemoLoaders, Srtm3VoidsNeedBothFills)
{
    const auto voids = [](const LoadedGrid& set) { return std::ranges::count(set.state, 1); };
    const auto open = voids(loaded().srtm3);
    readsrtm3(demoDir / "SRTM3", 108, 636, 111, 639, 2, "/nonexistent");
    const auto left = voids(copyGrid(1200, 1200));
    readsrtm3(demoDir / "SRTM3", 108, 636, 111, 639, 2, demoDir / "SRTM30");
    EXPECT_GT(open, 1000);
    EXPECT_LT(left, open - 50);
    EXPECT_GT(left, open / 2);
    EXPECT_EQ(voids(copyGrid(1200, 1200)), 0);
}

// Every sheet has its 10 m download, found by the viewer's reader; over
// Fuji's sheets the loaded grid holds the relief itself.
TEST(DemoLoaders, EverySheetHasATenMetreDownloadOfTheRelief)
{
    std::vector<std::string> problems;
    const auto places = orvex::filesByPlace(orvex::findFgdFiles(
        demoDir / "FGD", [](auto&) { return true; }, problems));
    EXPECT_EQ(problems, std::vector<std::string>{});
    EXPECT_EQ(places.size(), 24u + demoFiveMetreMeshes().size());
    const LoadedGrid& ten = loaded().fgd10;
    int compared = 0, differing = 0;
    for (int r = 0; r < ten.lattice.rows; r += 13)
        for (int c = 0; c < ten.lattice.cols; c += 11, ++compared) {
            const auto relief = demoTerrain().heightAt(ten.lattice.lat(r), ten.lattice.lon(c));
            differing += relief ? std::fabs(ten.at(r, c) - *relief) > 0.01 : ten.at(r, c) > -100;
        }
    EXPECT_EQ(differing, 0) << "of " << compared;
}

// The 5 m files of the meshes around the summit (in sheet 533805) hold the
// relief itself; the rest of the sheet, which has no 5 m file, is filled
// from 10 m and left without a void.
TEST(DemoLoaders, TenMetresFillWhereNoFiveMetreMeshIs)
{
    const LoadedGrid& five = loaded().fgd5;
    EXPECT_EQ(std::ranges::count(five.state, 0), std::ssize(five.state)) << "voids left";
    int compared[2] = {}, differing[2] = {};
    for (int r = 0; r < five.lattice.rows; r += 7)
        for (int c = 0; c < five.lattice.cols; c += 7) {
            const bool file = std::ranges::any_of(demoFiveMetreMeshes(), [&](const FgdMeshPlace& mesh) {
                return secondaryCode(mesh.sheet) == 533805 && mesh.r == 9 - r / 150 && mesh.s == c / 225;
            });
            const auto relief = demoTerrain().heightAt(five.lattice.lat(r), five.lattice.lon(c));
            ++compared[file];
            differing[file] += !relief || std::fabs(five.at(r, c) - *relief) > (file ? 0.01 : 3.0);
        }
    EXPECT_TRUE(compared[0] > 30000 && compared[1] > 3000);
    EXPECT_EQ(std::pair(differing[0], differing[1]), std::pair(0, 0)) << "filled, from the 5 m files";
}
