#include <gtest/gtest.h>

#include <filesystem>

#include "data/loaders.h"
#include "loader_test_support.h"
#include "state/grid.h"

using namespace orvex;

namespace {

float at(int row, int col)
{
    return grid.gridRowTable[row][col].elevation;
}

TEST(SrtmTiles, BlockRowsAndColumnsNameTheTiles)
{
    using Namer = void(const std::string&, int, int, std::string&);
    const auto name = [](Namer namer, int row, int col) {
        std::string path;
        namer("D", row, col, path);
        return path;
    };
    EXPECT_EQ(name(dem30name, 0, 0), "D/w180n90.dem");
    EXPECT_EQ(name(dem30name, 2, 8), "D/e140s10.dem");
    EXPECT_EQ(name(dem3name, 90, 179), "D/s01w001.hgt");
    EXPECT_EQ(name(dem3name, 179, 359), "D/s90e179.hgt");
    EXPECT_EQ(name(dem3name, 89, 180), "D/n00e000.hgt");
}

TEST(Srtm30Loader, EachBlockComesFromItsPlaceInItsTile)
{
    // Block row 11, columns 63 and 64: tile rows 600 to 1199 of e100n40 and,
    // across the tile edge, samples 0 to 599 of e140n40.
    ScratchDir dir;
    const std::string west = dir.file("E100N40.DEM"); // the published spelling
    for (const int row : {600, 601, 1199, 1200})
        writeSrtm30Row(west, row, [row](int col) { return row + col % 1000; });
    writeSrtm30Row(dir.file("e140n40.dem"), 600, [](int col) { return -col; });
    EXPECT_EQ(printed(dir, [&] { readsrtm30(dir.path(), 11, 63, 11, 64); }),
              "Reading D/E100N40.DEM ...\nReading D/e140n40.dem ...\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(600, 1200));
    EXPECT_EQ(std::tuple(at(0, 0), at(1, 599), at(599, 17), at(0, 600), at(0, 1199)),
              std::tuple(600 + 200, 601 + 799, 1199 + 217, 0, -599));
    EXPECT_EQ(placement(), (std::vector<double>{35, 30, 135, 145, 0, 0, 1000, 925.9}));
}

TEST(Srtm30Loader, MissingAndShortTilesLeaveFlatLandAtZero)
{
    ScratchDir dir;
    const std::string tile = dir.file("e100n40.dem");
    writeSrtm30Row(tile, 0, [](int) { return 250; });
    writeSrtm30Row(tile, 1, [](int) { return 251; });
    std::filesystem::resize_file(tile, 9600 + 4300 * 2 + 1); // ends inside sample 4300 of row 1
    // Block row 9 lies in the missing tile row n90, block row 10 in n40.
    EXPECT_EQ(printed(dir, [&] { readsrtm30(dir.path(), 9, 63, 10, 63); }),
              "*** SRTM30 : D/e100n90.dem not found.\nReading D/e100n40.dem ...\n");
    EXPECT_EQ(at(0, 0), 0.0f);
    EXPECT_EQ(at(600, 599), 250.0f);
    EXPECT_EQ(at(601, 99), 251.0f);
    EXPECT_EQ(at(601, 100), 0.0f); // only one byte of it is there
    EXPECT_EQ(at(1199, 599), 0.0f);
}

} // namespace
