#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "data/grid.h"
#include "data/loaders.h"
#include "loader_test_support.h"

namespace {

float elevationAt(int row, int col) { return grid.gridRowTable[row][col].elevation; }

// A sample value that tells where in its tile it came from.
int tileValue(int tileRow, int tileCol) { return (tileRow % 100) * 100 + tileCol % 100; }

TEST(Srtm30Names, TileRowsAndColumnsNameTheTiles)
{
    std::string path;
    dem30name("DIR", 1, 7, path);
    EXPECT_EQ(path, "DIR/e100n40.dem");
    dem30name("../SRTM30", 0, 0, path);
    EXPECT_EQ(path, "../SRTM30/w180n90.dem");
    dem30name("d", 2, 8, path);
    EXPECT_EQ(path, "d/e140s10.dem");
    dem30name("d", 1, 4, path);
    EXPECT_EQ(path, "d/w020n40.dem");
    dem30name("d", 0, 5, path);
    EXPECT_EQ(path, "d/e020n90.dem");
}

TEST(Srtm30Loader, OneBlockComesFromItsPlaceInTheTile)
{
    TempDir dir;
    const std::string tile = dir.path() + "/e100n40.dem";
    // Block row 11, column 63: tile rows 600 to 1199, samples 4200 to 4799.
    for (int row : {600, 601, 1199, 1200})
        writeSrtm30Row(tile, row, [row](int col) { return tileValue(row, col); });
    writeSrtm30Row(tile, 900, [](int col) { return col == 4200 ? -9999 : (col == 4201 ? 3776 : 1); });

    const std::string out = captureStdout([&] { readsrtm30(dir.path(), 11, 63, 11, 63); });
    EXPECT_EQ(out, "Reading " + tile + " ...\n");
    ASSERT_EQ(grid.gridRows, 600);
    ASSERT_EQ(grid.gridCols, 600);
    EXPECT_EQ(elevationAt(0, 0), tileValue(600, 4200));
    EXPECT_EQ(elevationAt(1, 599), tileValue(601, 4799));
    EXPECT_EQ(elevationAt(599, 17), tileValue(1199, 4217));
    EXPECT_EQ(elevationAt(300, 0), -9999.0f);
    EXPECT_EQ(elevationAt(300, 1), 3776.0f);
    const GridPoint& sea = grid.gridRowTable[300][0];
    const double drop = (double(sea.x) * sea.x + double(sea.y) * sea.y) * M_PI / 40000000.0;
    EXPECT_NEAR(sea.z, -drop, 1e-2);  // lifted by 9999
    EXPECT_EQ(grid.gridRowTable[300][0].sampleState, 0);

    EXPECT_EQ(grid.areaNorth, 35);
    EXPECT_EQ(grid.areaSouth, 30);
    EXPECT_EQ(grid.areaWest, 135);
    EXPECT_EQ(grid.areaEast, 140);
    EXPECT_EQ(grid.labelLift, 1000);
    EXPECT_EQ(grid.mountainShiftY, 0);
}

TEST(Srtm30Loader, BlocksAcrossATileEdgeOpenEachTileForItsOwnHalf)
{
    TempDir dir;
    const std::string west = dir.path() + "/w180n90.dem";
    const std::string east = dir.path() + "/w140n90.dem";
    writeSrtm30Row(west, 0, [](int col) { return col / 600; });
    writeSrtm30Row(east, 0, [](int col) { return 100 + col / 600; });
    const std::string out = captureStdout([&] { readsrtm30(dir.path(), 0, 7, 0, 8); });
    EXPECT_EQ(out, "Reading " + west + " ...\nReading " + east + " ...\n");
    ASSERT_EQ(grid.gridCols, 1200);
    EXPECT_EQ(elevationAt(0, 0), 7.0f);     // samples 4200.. of the western tile
    EXPECT_EQ(elevationAt(0, 599), 7.0f);
    EXPECT_EQ(elevationAt(0, 600), 100.0f); // samples 0.. of the eastern tile
    EXPECT_EQ(grid.areaWest, -145);
    EXPECT_EQ(grid.areaEast, -135);
}

TEST(Srtm30Loader, MissingAndShortTilesLeaveFlatLandAtZero)
{
    TempDir dir;
    const std::string tile = dir.path() + "/E100N40.DEM";  // the published spelling
    writeSrtm30Row(tile, 0, [](int) { return 250; });
    writeSrtm30Row(tile, 1, [](int) { return 251; });
    // End the tile inside its second row, in the middle of sample 4300.
    std::filesystem::resize_file(tile, 9600 + 4300 * 2 + 1);

    // Block row 9 lies in tile row 0 (n90), which is missing; block row 10
    // is the first of tile row 1 (n40).
    const std::string out = captureStdout([&] { readsrtm30(dir.path(), 9, 63, 10, 63); });
    EXPECT_EQ(out, "*** SRTM30 : " + dir.path() + "/e100n90.dem not found.\n"
                   "Reading " + tile + " ...\n");
    EXPECT_EQ(elevationAt(0, 0), 0.0f);
    const GridPoint& flat = grid.gridRowTable[0][300];
    const double drop = (double(flat.x) * flat.x + double(flat.y) * flat.y) * M_PI / 40000000.0;
    EXPECT_NEAR(flat.z, -drop, 1e-2);  // not lifted: land at 0 m
    EXPECT_EQ(elevationAt(600, 599), 250.0f);
    EXPECT_EQ(elevationAt(601, 99), 251.0f);
    EXPECT_EQ(elevationAt(601, 100), 0.0f);  // only one byte of it is there
    EXPECT_EQ(elevationAt(1199, 599), 0.0f);
}

TEST(Srtm30LoaderDeathTest, BlocksOutOfRangeOrReversedAreRefused)
{
    auto run = [](int p1, int p2, int p3, int p4) {
        std::fclose(stdin);
        readsrtm30("/nonexistent-orvex-dir", p1, p2, p3, p4);
    };
    const char* argument = "^\\*\\*\\* ERROR srtm30 : argument\\.\n$";
    EXPECT_EXIT(run(0, 0, 30, 0), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(0, 0, 0, 72), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(-1, 0, 0, 0), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(5, 0, 4, 0), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(run(0, 9, 0, 8), testing::ExitedWithCode(1), argument);
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            std::string path;
            dem30name("d", 3, 0, path);
        },
        testing::ExitedWithCode(1), "^\\*\\*\\* dem30name-1\\.\n$");
    EXPECT_EXIT(
        {
            std::fclose(stdin);
            std::string path;
            dem30name("d", 0, 9, path);
        },
        testing::ExitedWithCode(1), "^\\*\\*\\* dem30name-1\\.\n$");
}

}  // namespace
