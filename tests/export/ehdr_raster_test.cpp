#include <gtest/gtest.h>

#include "ehdr_raster.h"
#include "program_run.h"

using namespace orvex;

namespace {

const std::string noData("\x00\x00\x00\xC7", 4); // -32768 as little-endian float32

// 3 rows x 4 columns whose first sample lies at 44.000000000000007 N, 139.5 E.
void makeSmallGrid()
{
    allocategrid(3, 4, srtm3Constants);
    grid.areaNorth = 44.000000000000007;
    grid.areaWest = 139.5;
    for (int i = 0; i < 12; ++i)
        grid.points[i].elevation = 100.0f * (i / 4) + i % 4, grid.points[i].sampleState = SampleState::valid;
}

TEST(EhdrRaster, HeaderRowsAndPlaceReadBackExactly)
{
    makeSmallGrid();
    // Place and steps in the shortest text that reads back as the same double.
    EXPECT_EQ(
        ehdrHeader(grid, gsi50Constants),
        "BYTEORDER I\nLAYOUT BIL\nNROWS 3\nNCOLS 4\nNBANDS 1\nNBITS 32\nPIXELTYPE FLOAT\nBANDROWBYTES 16\n"
        "TOTALROWBYTES 16\nULXMAP 139.5\nULYMAP 44.00000000000001\nXDIM 0.000625\n"
        "YDIM 0.0004166666666666667\nNODATA -32768\n");
    GridPoint row[4] = {};
    row[0].elevation = 1.5f, row[1].elevation = -999.0f; // kept as loaded: only the state makes no data
    row[2].sampleState = SampleState::srtm3Void, row[3].sampleState = SampleState::noTile;
    EXPECT_EQ(ehdrRow(row, 4), std::string("\x00\x00\xC0\x3F\x00\xC0\x79\xC4", 8) + noData + noData);
}

TEST(EhdrRaster, WritesRowZeroFirstAndReplacesOlderFilesOnlyWhenBothAreComplete)
{
    makeSmallGrid();
    grid.gridRowTable[1][2].sampleState = SampleState::srtm3Void;
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error)) << error;
    const std::string samples = fileText(dir.file("area.flt"));
    EXPECT_EQ(samples, ehdrRow(grid.gridRowTable[0], 4) + ehdrRow(grid.gridRowTable[1], 4) +
                           ehdrRow(grid.gridRowTable[2], 4));
    EXPECT_EQ(samples.substr(4 * 6, 4), noData); // row 1, column 2
    EXPECT_EQ(fileText(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // no temporary files

    // A header that cannot be written leaves both older files as they were.
    const std::string inTheWay = dir.file("area.hdr.tmp" + std::to_string(getpid()));
    writeFile(inTheWay, "someone else's");
    EXPECT_FALSE(writeEhdrRaster(dir.file("area"), grid, gsi50Constants, error));
    EXPECT_NE(error.find(inTheWay), std::string::npos) << error;
    EXPECT_EQ(fileText(dir.file("area.flt")), samples);
    EXPECT_EQ(fileText(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

} // namespace
