#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

#include "ehdr_raster.h"
#include "program_run.h"

namespace {

const std::string noData("\x00\x00\x00\xC7", 4);  // -32768 as little-endian float32

GridPoint point(float elevation, int state)
{
    GridPoint p{};
    p.elevation = elevation;
    p.sampleState = static_cast<std::int8_t>(state);
    return p;
}

// 3 rows x 4 columns of an SRTM3 area whose first sample lies at 35.5 N, 139.5 E.
void makeSmallGrid()
{
    allocategrid(3, 4, srtm3Constants);
    grid.areaNorth = 35.5;
    grid.areaWest = 139.5;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            grid.gridRowTable[r][c] = point(100.0f * r + c, 0);
}

TEST(EhdrHeader, DescribesSizeLayoutPlaceStepsAndNoData)
{
    makeSmallGrid();
    grid.areaNorth = 44.000000000000007;
    std::map<std::string, std::string> fields;
    std::istringstream lines(ehdrHeader(grid, gsi50Constants));
    for (std::string key, value; lines >> key >> value;)
        fields[key] = value;
    const std::map<std::string, std::string> fixed = {
        {"NROWS", "3"},       {"NCOLS", "4"},          {"BYTEORDER", "I"},      {"LAYOUT", "BIL"},
        {"NBANDS", "1"},      {"NBITS", "32"},         {"PIXELTYPE", "FLOAT"},  {"BANDROWBYTES", "16"},
        {"TOTALROWBYTES", "16"}, {"NODATA", "-32768"},
    };
    for (const auto& [key, value] : fixed)
        EXPECT_EQ(fields[key], value) << key;
    // Place and steps read back as exactly the grid's own values.
    EXPECT_EQ(std::strtod(fields["ULXMAP"].c_str(), nullptr), 139.5);
    EXPECT_EQ(std::strtod(fields["ULYMAP"].c_str(), nullptr), 44.000000000000007);
    EXPECT_EQ(std::strtod(fields["XDIM"].c_str(), nullptr), 1.0 / 1600);
    EXPECT_EQ(std::strtod(fields["YDIM"].c_str(), nullptr), 1.0 / 2400);
}

TEST(EhdrRow, LittleEndianFloatsWithNoDataWhereTheStateIsNotZero)
{
    const GridPoint row[4] = {point(1.5f, 0),
                              point(-999.0f, 0),  // kept as loaded: only the state makes no-data
                              point(0.0f, 1), point(7.0f, 2)};
    EXPECT_EQ(ehdrRow(row, 4), std::string("\x00\x00\xC0\x3F\x00\xC0\x79\xC4", 8) + noData + noData);
}

TEST(EhdrRaster, WritesRowZeroFirstAndReplacesOlderFilesWhole)
{
    makeSmallGrid();
    grid.gridRowTable[1][2].sampleState = 1;
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error)) << error;
    const std::string samples = contents(dir.file("area.flt"));
    EXPECT_EQ(samples, ehdrRow(grid.gridRowTable[0], 4) + ehdrRow(grid.gridRowTable[1], 4) +
                           ehdrRow(grid.gridRowTable[2], 4));
    EXPECT_EQ(samples.substr(4 * 6, 4), noData);  // row 1, column 2
    EXPECT_EQ(contents(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary files

    // A write that cannot finish leaves the older files as they were.
    const std::string inTheWay = dir.file("area.hdr.tmp" + std::to_string(getpid()));
    std::ofstream(inTheWay) << "someone else's";
    EXPECT_FALSE(writeEhdrRaster(dir.file("area"), grid, gsi50Constants, error));
    EXPECT_NE(error.find(inTheWay), std::string::npos) << error;
    EXPECT_EQ(contents(dir.file("area.flt")), samples);
    EXPECT_EQ(contents(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    EXPECT_FALSE(writeEhdrRaster(dir.file("missing/area"), grid, srtm3Constants, error));
}

}  // namespace
