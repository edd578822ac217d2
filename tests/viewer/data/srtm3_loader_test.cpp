#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "data/grid.h"
#include "data/loaders.h"
#include "loader_test_support.h"

namespace {

const GridPoint& at(int row, int col) { return grid.gridRowTable[row][col]; }

// A tile sample that tells its tile and its place: never 0, never a void.
int sampleOf(int tile, int row, int col) { return tile * 8000 + (row % 80) * 100 + col % 100 + 1; }

TEST(Srtm3Names, DegreeRowsAndColumnsNameTheTiles)
{
    std::string path;
    dem3name("DIR", 54, 319, path);
    EXPECT_EQ(path, "DIR/n35e139.hgt");
    dem3name("DIR", 90, 179, path);
    EXPECT_EQ(path, "DIR/s01w001.hgt");
    dem3name("d", 0, 0, path);
    EXPECT_EQ(path, "d/n89w180.hgt");
    dem3name("d", 179, 359, path);
    EXPECT_EQ(path, "d/s90e179.hgt");
    dem3name("d", 89, 180, path);
    EXPECT_EQ(path, "d/n00e000.hgt");
}

TEST(Srtm3Loader, ABlockReadsItsQuarterOfTheTile)
{
    TempDir dir;
    const std::string tile = dir.path() + "/N35E139.hgt";  // published in upper case
    writeFile(tile, hgtTile([](int r, int c) { return sampleOf(1, r, c); }));
    const std::string out = captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 0, dir.path()); });
    EXPECT_EQ(out, "Reading " + tile + " ...\n");
    ASSERT_EQ(grid.gridRows, 601);
    ASSERT_EQ(grid.gridCols, 601);
    EXPECT_EQ(at(0, 0).elevation, sampleOf(1, 600, 600));
    EXPECT_EQ(at(17, 599).elevation, sampleOf(1, 617, 1199));
    EXPECT_EQ(at(600, 600).elevation, sampleOf(1, 1200, 1200));
    EXPECT_EQ(at(600, 600).sampleState, 0);
    EXPECT_DOUBLE_EQ(grid.areaNorth, 35.5);
    EXPECT_DOUBLE_EQ(grid.areaSouth, 35.0);
    EXPECT_DOUBLE_EQ(grid.areaWest, 139.5);
    EXPECT_DOUBLE_EQ(grid.areaEast, 140.0);
    EXPECT_EQ(grid.labelLift, 500);
}

TEST(Srtm3Loader, NeighbouringBlocksShareEdgesAndTheLaterBlockWins)
{
    TempDir dir;
    writeFile(dir.path() + "/n35e139.hgt", hgtTile([](int r, int c) { return sampleOf(1, r, c); }));
    writeFile(dir.path() + "/n35e140.hgt", hgtTile([](int r, int c) { return sampleOf(2, r, c); }));
    writeFile(dir.path() + "/n34e139.hgt", hgtTile([](int r, int c) { return sampleOf(3, r, c); }));
    const std::string out = captureStdout([&] { readsrtm3(dir.path(), 109, 639, 110, 640, 0, dir.path()); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/n35e139.hgt ...\n"
                   "Reading " + dir.path() + "/n35e140.hgt ...\n"
                   "Reading " + dir.path() + "/n34e139.hgt ...\n"
                   "*** SRTM3 : " + dir.path() + "/n34e140.hgt not found.\n");
    ASSERT_EQ(grid.gridRows, 1201);
    ASSERT_EQ(grid.gridCols, 1201);
    EXPECT_EQ(at(300, 300).elevation, sampleOf(1, 900, 900));
    EXPECT_EQ(at(300, 600).elevation, sampleOf(2, 900, 0));     // shared column: the eastern block is later
    EXPECT_EQ(at(600, 300).elevation, sampleOf(3, 0, 900));     // shared row: the southern block is later
    EXPECT_EQ(at(600, 600).elevation, sampleOf(3, 0, 1200));    // written last by block (110, 639)
    EXPECT_EQ(at(600, 900).elevation, sampleOf(2, 1200, 300));  // the missing block's edge from its neighbour
    EXPECT_EQ(at(900, 600).elevation, sampleOf(3, 300, 1200));
    // The missing block's own points: 0 m and no tile, so they stay undrawn.
    EXPECT_EQ(at(900, 900).sampleState, 2);
    EXPECT_EQ(at(900, 900).elevation, 0.0f);
    EXPECT_EQ(at(1200, 1200).sampleState, 2);
    EXPECT_DOUBLE_EQ(grid.areaSouth, 34.5);
    EXPECT_DOUBLE_EQ(grid.areaEast, 140.5);
    // The last row lies on the southern edge: the blocks share edges.
    EXPECT_NEAR(at(1200, 0).y, 600 * 92.5925925925926, 1e-2);
}

TEST(Srtm3Loader, ZeroAndBelowIsSeaAndVoidsStayHolesInMode0)
{
    TempDir dir;
    writeFile(dir.path() + "/n35e139.hgt", hgtTile([](int r, int c) {
                  if (r == 610 && c >= 610 && c <= 614)
                      return std::array<int, 5>{0, 1, -5, -32768, -600}[c - 610];
                  return 100;
              }));
    captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 0, dir.path()); });
    auto drop = [](const GridPoint& p) { return (double(p.x) * p.x + double(p.y) * p.y) * M_PI / 40000000.0; };
    const GridPoint* row = grid.gridRowTable[10];
    EXPECT_EQ(row[10].elevation, -9999.0f);  // a valid 0 m is sea...
    EXPECT_NEAR(row[10].z, -drop(row[10]), 1e-2);  // ...lifted back to sea level
    EXPECT_EQ(row[11].elevation, 1.0f);
    EXPECT_EQ(row[12].elevation, -9999.0f);
    EXPECT_EQ(row[13].sampleState, 1);  // the void: a hole at 0 m
    EXPECT_EQ(row[13].elevation, 0.0f);
    EXPECT_NEAR(row[13].z, -drop(row[13]), 1e-2);
    EXPECT_EQ(row[14].elevation, -9999.0f);
}

TEST(Srtm3Loader, ATileThatEndsEarlyLeavesTheRestWithoutData)
{
    TempDir dir;
    const std::string tile = dir.path() + "/n35e139.hgt";
    writeFile(tile, hgtTile([](int r, int c) { return sampleOf(1, r, c); }));
    // Cut the tile in row 700, inside sample 650.
    std::filesystem::resize_file(tile, 700 * 2402 + 650 * 2 + 1);
    captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 0, dir.path()); });
    EXPECT_EQ(at(100, 49).elevation, sampleOf(1, 700, 649));
    EXPECT_EQ(at(100, 49).sampleState, 0);
    EXPECT_EQ(at(100, 50).sampleState, 2);  // half a sample is no sample
    EXPECT_EQ(at(100, 50).elevation, 0.0f);
    EXPECT_EQ(at(600, 600).sampleState, 2);
}

// Block 109, 639 takes its SRTM30 patch from e100n40.dem: rows 540 to 599,
// samples 4740 to 4799 (the last of the tile).
void writePatch(const std::string& srtm30Dir, const std::function<int(int, int)>& patch)
{
    for (int r = 0; r < 60; ++r)
        writeSrtm30Row(srtm30Dir + "/e100n40.dem", 540 + r,
                       [&](int col) { return col >= 4740 ? patch(r, col - 4740) : 7777; });
}

// Bilinear in the patch, so the interpolation, and the extrapolation past
// the outer patch samples, reproduce it exactly.
int patchValue(int r, int c) { return r * c + 2 * r + 5 * c; }
double expectedFill(int m, int k)
{
    const double x = (m - 5) / 10.0;
    const double y = (k - 5) / 10.0;
    return x * y + 2 * x + 5 * y;
}

TEST(Srtm3Fill, PatchIsInterpolatedAndExtrapolatedOverTheBlock)
{
    TempDir dir;
    writePatch(dir.path(), [](int r, int c) { return r == 30 && c == 30 ? -9999 : patchValue(r, c); });
    allocategrid(601, 601, srtm3Constants);
    grid.gridRowTable[3][3].sampleState = 0;
    grid.gridRowTable[3][3].elevation = 123;
    grid.gridRowTable[4][4].sampleState = 1;
    const std::string out = captureStdout([&] { fillsrtm3block(dir.path(), 109, 639, 109, 639); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/e100n40.dem ...\n");

    for (int m : {0, 4, 5, 6, 100, 594, 595, 599, 600}) {
        for (int k : {0, 3, 17, 300, 596, 600}) {
            if (m == 3 && k == 3)
                continue;
            EXPECT_NEAR(at(m, k).elevation, expectedFill(m, k), 1e-2) << m << ", " << k;
            EXPECT_EQ(at(m, k).sampleState, 0);
        }
    }
    EXPECT_NEAR(at(4, 4).elevation, expectedFill(4, 4), 1e-2);  // voids are filled too
    EXPECT_EQ(at(3, 3).elevation, 123.0f);                      // valid samples are kept
    EXPECT_EQ(at(305, 305).elevation, 0.0f);                    // sea in the patch counts as 0 m
}

TEST(Srtm3Fill, Mode2LineFillsShortVoidsAndTakesTheRestFromSrtm30)
{
    TempDir dir;
    const std::string srtm30Dir = dir.path() + "/SRTM30";
    // A single void with 100 m around it, and a square of 20 x 20 voids.
    writeFile(dir.path() + "/n35e139.hgt", hgtTile([](int r, int c) {
                  const bool single = r == 650 && c == 650;
                  const bool square = r >= 900 && r < 920 && c >= 900 && c < 920;
                  return single || square ? -32768 : 100;
              }));
    writePatch(srtm30Dir, patchValue);
    std::string out = captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 2, srtm30Dir); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/n35e139.hgt ...\n"
                   "Reading " + srtm30Dir + "/e100n40.dem ...\n");
    EXPECT_EQ(at(50, 50).elevation, 100.0f);
    EXPECT_EQ(at(50, 50).sampleState, 0);
    EXPECT_NEAR(at(310, 305).elevation, expectedFill(310, 305), 1e-2);
    EXPECT_EQ(at(310, 305).sampleState, 0);

    // Without the SRTM30 tile the square stays a hole.
    out = captureStdout([&] { readsrtm3(dir.path(), 109, 639, 109, 639, 2, dir.path() + "/none"); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/n35e139.hgt ...\n"
                   "*** WARNING : " + dir.path() + "/none/e100n40.dem not found.\n");
    EXPECT_EQ(at(50, 50).elevation, 100.0f);
    EXPECT_EQ(at(310, 305).sampleState, 1);
    EXPECT_EQ(at(310, 305).elevation, 0.0f);
}

TEST(Srtm3Loader, LoadsTheRealNewHampshireTile)
{
    const std::string dir = std::string(SHARED_DATA_DIR) + "/srtm3-sample";
    if (!std::filesystem::exists(dir + "/N44W072.hgt"))
        GTEST_SKIP() << "real SRTM3 tile " << dir << "/N44W072.hgt is not there";
    // Degree row 45 (44-45 N), column 108 (72-71 W): block rows 90 and 91,
    // block columns 216 and 217. dem3name asks for n44w072.hgt.
    const std::string out = captureStdout([&] { readsrtm3(dir, 90, 216, 91, 217, 0, dir); });
    const std::string reading = "Reading " + dir + "/N44W072.hgt ...\n";
    EXPECT_EQ(out, reading + reading + reading + reading);
    ASSERT_EQ(grid.gridRows, 1201);
    ASSERT_EQ(grid.gridCols, 1201);
    // Mount Washington: the tile's highest sample.
    EXPECT_EQ(at(875, 836).elevation, 1908.0f);
    float highest = -1e9f;
    int validPoints = 0;
    for (int r = 0; r < grid.gridRows; ++r) {
        for (int c = 0; c < grid.gridCols; ++c) {
            highest = std::max(highest, at(r, c).elevation);
            validPoints += at(r, c).sampleState == 0;
        }
    }
    EXPECT_EQ(highest, 1908.0f);
    EXPECT_EQ(validPoints, 1201 * 1201);
    EXPECT_DOUBLE_EQ(grid.areaNorth, 45);
    EXPECT_DOUBLE_EQ(grid.areaWest, -72);
}

TEST(Srtm3LoaderDeathTest, BlocksOrModeOutOfRangeAreRefused)
{
    auto run = [](int p1, int p2, int p3, int p4, int mode) {
        std::fclose(stdin);
        readsrtm3("/nonexistent-orvex-dir", p1, p2, p3, p4, mode, "/nonexistent-orvex-dir");
    };
    const char* argument = "^\\*\\*\\* ERROR srtm3 : argument\\.\n$";
    EXPECT_EXIT(run(0, 0, 0, 0, 3), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(0, 0, 0, 0, -1), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(0, 0, 300, 0, 0), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(0, 0, 0, 720, 0), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(2, 0, 1, 0, 0), testing::ExitedWithCode(1), argument);
    auto name = [](int row, int col) {
        std::fclose(stdin);
        std::string path;
        dem3name("d", row, col, path);
    };
    EXPECT_EXIT(name(180, 0), testing::ExitedWithCode(1), "^\\*\\*\\* dem3name-1\\.\n$");
    EXPECT_EXIT(name(0, 360), testing::ExitedWithCode(1), "^\\*\\*\\* dem3name-1\\.\n$");
    EXPECT_EXIT(name(-1, 0), testing::ExitedWithCode(1), "^\\*\\*\\* dem3name-1\\.\n$");
}

}  // namespace
