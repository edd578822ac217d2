#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "ehdr_raster.h"
#include "scratch_dir.h"

using namespace orvex;
using namespace testing_support;

TEST(EhdrRaster, ReadsBackExactlyReplacingOlderFilesOnlyWhenComplete)
{
    ElevationGrid grid; // 3 rows x 4 columns of valid samples of -999 m
    allocategrid(grid, 3, 4, gsi50Constants);
    grid.areaNorth = 44.000000000000007, grid.areaWest = 139.5; // the first sample's centre
    // Place and steps in the shortest text that reads back as the same double.
    EXPECT_EQ(
        ehdrHeader(grid, gsi50Constants),
        "BYTEORDER I\nLAYOUT BIL\nNROWS 3\nNCOLS 4\nNBANDS 1\nNBITS 32\nPIXELTYPE FLOAT\nBANDROWBYTES 16\n"
        "TOTALROWBYTES 16\nULXMAP 139.5\nULYMAP 44.00000000000001\nXDIM 0.000625\n"
        "YDIM 0.0004166666666666667\nNODATA -32768\n");
    // Little-endian float32; -999 stays as loaded: only the state makes no data (-32768).
    GridPoint* row = grid.gridRowTable[1];
    row[0].elevation = 1.5f, row[2].sampleState = SampleState::dataVoid;
    row[3].sampleState = SampleState::noTile, grid.gridRowTable[2][0].elevation = 2.0f; // every row differs
    const std::string noData("\x00\x00\x00\xC7", 4), lost("\x00\xC0\x79\xC4", 4), two("\x00\x00\x00\x40", 4);
    EXPECT_EQ(ehdrRow(row, 4), std::string("\x00\x00\xC0\x3F", 4) + lost + noData + noData);

    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error)) << error;
    const std::string samples = fileText(dir.file("area.flt")); // row 0 first
    EXPECT_EQ(samples, lost + lost + lost + lost + ehdrRow(row, 4) + two + lost + lost + lost);
    EXPECT_EQ(fileText(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // no temporary files
    const std::string inTheWay = dir.file("area.hdr.tmp" + std::to_string(getpid()));
    writeFile(inTheWay, "someone else's");
    EXPECT_FALSE(writeEhdrRaster(dir.file("area"), grid, gsi50Constants, error));
    EXPECT_NE(error.find(inTheWay), std::string::npos) << error;
    EXPECT_EQ(std::pair(fileText(dir.file("area.flt")), fileText(dir.file("area.hdr"))),
              std::pair(samples, ehdrHeader(grid, srtm3Constants)));
}
