#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "data/loaders.h"
#include "loader_test_support.h"
#include "state/grid.h"

using namespace orvex;

namespace {

const GridPoint& at(int row, int col)
{
    return grid.gridRowTable[row][col];
}

// A sample that tells its tile and its place: never 0, never a void.
int sampleOf(int tile, int row, int col)
{
    return tile * 8000 + (row % 80) * 100 + col % 100 + 1;
}
std::string tile(int n)
{
    return hgtTile([n](int r, int c) { return sampleOf(n, r, c); });
}

TEST(Srtm3Loader, BlocksReadTheirQuarterOfATileShareEdgesAndTheLaterBlockWins)
{
    // Blocks 109 .. 110 by 639 .. 640: 35.5 to 34.5 N, 139.5 to 140.5 E.
    ScratchDir dir;
    writeFile(dir.file("N35E139.hgt"), tile(1)); // the published spelling
    writeFile(dir.file("n35e140.hgt"), tile(2));
    writeFile(dir.file("n34e139.hgt"), tile(3));
    EXPECT_EQ(printed(dir, [&] { readsrtm3(dir.path(), 109, 639, 110, 640, 0, dir.path()); }),
              "Reading D/N35E139.hgt ...\nReading D/n35e140.hgt ...\nReading D/n34e139.hgt ...\n"
              "*** SRTM3 : D/n34e140.hgt not found.\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(1201, 1201));
    EXPECT_EQ(at(0, 0).elevation, sampleOf(1, 600, 600)); // the south-east quarter of n35e139
    EXPECT_EQ(at(300, 599).elevation, sampleOf(1, 900, 1199));
    EXPECT_EQ(at(300, 600).elevation, sampleOf(2, 900, 0)); // shared column: the eastern block is later
    EXPECT_EQ(at(600, 300).elevation, sampleOf(3, 0, 900)); // shared row: the southern block is later
    EXPECT_EQ(at(600, 600).elevation, sampleOf(3, 0, 1200));
    EXPECT_EQ(at(600, 900).elevation, sampleOf(2, 1200, 300)); // the missing block's edge
    EXPECT_EQ(at(900, 900).sampleState, SampleState::noTile);  // no tile: 0 m, undrawn
    EXPECT_EQ(at(900, 900).elevation, 0.0f);
    EXPECT_EQ(placement(), (std::vector<double>{35.5, 34.5, 139.5, 140.5, 0, 0, 500, 92.6}));
    EXPECT_NEAR(at(1200, 0).y, 600 * 92.5925925925926, 1e-2); // the last row lies on the southern edge
}

TEST(Srtm3Loader, ZeroAndBelowIsSeaVoidsStayHolesInMode0AndShortTilesEndEarly)
{
    ScratchDir dir;
    const std::string path = dir.file("n35e139.hgt");
    writeFile(path, hgtTile([](int r, int c) {
                  const int row610[] = {0, 1, -5, -32768, -600};
                  return r == 610 && c >= 610 && c < 615 ? row610[c - 610] : 100;
              }));
    std::filesystem::resize_file(path, 700 * 2402 + 650 * 2 + 1); // ends inside sample 650 of row 700
    captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 0, dir.path()); });
    const float expected[] = {-9999, 1, -9999, 0, -9999}; // a valid 0 m is sea
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(at(10, 10 + k).elevation, expected[k]) << k;
    EXPECT_EQ(at(10, 13).sampleState, SampleState::srtm3Void); // the void: a hole at 0 m
    EXPECT_EQ(at(100, 49).sampleState, SampleState::valid);
    EXPECT_EQ(at(100, 50).sampleState, SampleState::noTile); // half a sample is no sample
    EXPECT_EQ(at(100, 50).elevation, 0.0f);
}

// Block 109, 639 takes its SRTM30 patch from e100n40.dem: rows 540 to 599,
// samples 4740 to 4799. The patch is bilinear, so that interpolation and the
// extrapolation past its outer samples reproduce it exactly.
void writePatch(const std::string& srtm30Dir, bool seaInTheMiddle)
{
    for (int r = 0; r < 60; ++r)
        writeSrtm30Row(srtm30Dir + "/e100n40.dem", 540 + r, [=](int col) {
            const int c = col - 4740;
            return col < 4740 ? 7777 : (seaInTheMiddle && r == 30 && c == 30 ? -9999 : r * c + 2 * r + 5 * c);
        });
}
double patchAt(int m, int k)
{
    const double x = (m - 5) / 10.0, y = (k - 5) / 10.0;
    return x * y + 2 * x + 5 * y;
}

TEST(Srtm3Fill, ThePatchIsInterpolatedAndExtrapolatedOverTheBlock)
{
    ScratchDir dir;
    writePatch(dir.path(), true);
    allocategrid(601, 601, srtm3Constants);
    grid.gridRowTable[3][3].elevation = 123;
    grid.gridRowTable[3][3].sampleState = SampleState::valid;
    grid.gridRowTable[4][4].sampleState = SampleState::srtm3Void;
    EXPECT_EQ(printed(dir, [&] { fillsrtm3block(dir.path(), 109, 639, 109, 639); }),
              "Reading D/e100n40.dem ...\n");
    for (int m : {0, 4, 5, 6, 100, 594, 595, 599, 600})
        for (int k : {0, 4, 17, 300, 596, 600}) {
            EXPECT_NEAR(at(m, k).elevation, patchAt(m, k), 1e-2) << m << ", " << k;
            EXPECT_EQ(at(m, k).sampleState, SampleState::valid);
        }
    EXPECT_EQ(at(3, 3).elevation, 123.0f);   // valid samples are kept
    EXPECT_EQ(at(305, 305).elevation, 0.0f); // sea in the patch counts as 0 m
}

TEST(Srtm3Fill, Mode2LineFillsShortVoidsAndTakesTheRestFromSrtm30)
{
    ScratchDir dir;
    writeFile(dir.file("n35e139.hgt"), hgtTile([](int r, int c) {
                  const bool single = r == 650 && c == 650,
                             square = r >= 900 && r < 920 && c >= 900 && c < 920;
                  return single || square ? -32768 : 100;
              }));
    writePatch(dir.file("S30"), false);
    EXPECT_EQ(printed(dir, [&] { readsrtm3(dir.path(), 109, 639, 109, 639, 2, dir.file("S30")); }),
              "Reading D/n35e139.hgt ...\nReading D/S30/e100n40.dem ...\n");
    EXPECT_EQ(at(50, 50).elevation, 100.0f); // the single void, line-filled
    EXPECT_NEAR(at(310, 305).elevation, patchAt(310, 305), 1e-2);
    EXPECT_EQ(printed(dir, [&] { readsrtm3(dir.path(), 109, 639, 109, 639, 2, dir.file("none")); }),
              "Reading D/n35e139.hgt ...\n*** WARNING : D/none/e100n40.dem not found.\n");
    EXPECT_EQ(at(50, 50).elevation, 100.0f);
    EXPECT_EQ(at(310, 305).sampleState, SampleState::srtm3Void); // without the SRTM30 tile: a hole
}

TEST(Srtm3Loader, LoadsTheRealNewHampshireTile)
{
    const std::string dir = std::string(SHARED_DATA_DIR) + "/srtm3-sample";
    if (!std::filesystem::exists(dir + "/N44W072.hgt"))
        GTEST_SKIP() << "the real SRTM3 tile " << dir << "/N44W072.hgt is not there";
    // 44 to 45 N, 72 to 71 W: blocks 90 .. 91 by 216 .. 217, all from n44w072.hgt.
    const std::string reading = "Reading " + dir + "/N44W072.hgt ...\n";
    EXPECT_EQ(captureStdout([&] { readsrtm3(dir, 90, 216, 91, 217, 0, dir); }),
              reading + reading + reading + reading);
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(1201, 1201));
    EXPECT_EQ(at(875, 836).elevation, 1908.0f); // Mount Washington, the tile's highest sample
    const GridPoint *first = grid.points.get(), *end = first + 1201 * 1201;
    const auto lower = [](const GridPoint& a, const GridPoint& b) { return a.elevation < b.elevation; };
    EXPECT_EQ(std::max_element(first, end, lower)->elevation, 1908.0f);
    EXPECT_TRUE(
        std::all_of(first, end, [](const GridPoint& p) { return p.sampleState == SampleState::valid; }));
}

} // namespace
