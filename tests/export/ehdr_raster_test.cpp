#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

#include "child_process.h"
#include "ehdr_raster.h"

namespace {

std::string contents(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::map<std::string, std::string> headerFields(const std::string& header)
{
    std::map<std::string, std::string> fields;
    std::istringstream lines(header);
    std::string key, value;
    while (lines >> key >> value)
        fields[key] = value;
    return fields;
}

// 3 rows x 4 columns of an SRTM3 area whose first sample lies at 35.5 N, 139.5 E.
void makeSmallGrid()
{
    allocategrid(3, 4, srtm3Constants);
    grid.areaNorth = 35.5;
    grid.areaSouth = 35.5 - 2.0 / 1200;
    grid.areaWest = 139.5;
    grid.areaEast = 139.5 + 3.0 / 1200;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            grid.gridRowTable[r][c].elevation = static_cast<float>(100 * r + c) + 0.5f;
            grid.gridRowTable[r][c].sampleState = 0;
        }
    }
}

TEST(EhdrHeader, DescribesSizeLayoutPlaceAndNoData)
{
    makeSmallGrid();
    const auto fields = headerFields(ehdrHeader(grid, srtm3Constants));
    EXPECT_EQ(fields.at("NROWS"), "3");
    EXPECT_EQ(fields.at("NCOLS"), "4");
    EXPECT_EQ(fields.at("BYTEORDER"), "I");  // little-endian
    EXPECT_EQ(fields.at("LAYOUT"), "BIL");
    EXPECT_EQ(fields.at("NBANDS"), "1");
    EXPECT_EQ(fields.at("NBITS"), "32");
    EXPECT_EQ(fields.at("PIXELTYPE"), "FLOAT");
    EXPECT_EQ(fields.at("BANDROWBYTES"), "16");
    EXPECT_EQ(fields.at("TOTALROWBYTES"), "16");
    EXPECT_EQ(fields.at("NODATA"), "-32768");
    EXPECT_EQ(std::strtod(fields.at("ULXMAP").c_str(), nullptr), 139.5);
    EXPECT_EQ(std::strtod(fields.at("ULYMAP").c_str(), nullptr), 35.5);
    // The steps read back as exactly the loader's own steps.
    EXPECT_EQ(std::strtod(fields.at("XDIM").c_str(), nullptr), 1.0 / 1200);
    EXPECT_EQ(std::strtod(fields.at("YDIM").c_str(), nullptr), 1.0 / 1200);
}

TEST(EhdrHeader, StepsFollowTheDataSet)
{
    makeSmallGrid();
    grid.areaWest = -72.25;
    grid.areaNorth = 44.000000000000007;
    auto fields = headerFields(ehdrHeader(grid, gsi50Constants));
    EXPECT_EQ(std::strtod(fields.at("XDIM").c_str(), nullptr), 1.0 / 1600);
    EXPECT_EQ(std::strtod(fields.at("YDIM").c_str(), nullptr), 1.0 / 2400);
    EXPECT_EQ(std::strtod(fields.at("ULXMAP").c_str(), nullptr), -72.25);
    EXPECT_EQ(std::strtod(fields.at("ULYMAP").c_str(), nullptr), 44.000000000000007);
    fields = headerFields(ehdrHeader(grid, gsi250Constants));
    EXPECT_EQ(std::strtod(fields.at("XDIM").c_str(), nullptr), 1.0 / 320);
    EXPECT_EQ(std::strtod(fields.at("YDIM").c_str(), nullptr), 1.0 / 480);
    fields = headerFields(ehdrHeader(grid, srtm30Constants));
    EXPECT_EQ(std::strtod(fields.at("XDIM").c_str(), nullptr), 1.0 / 120);
}

TEST(EhdrRow, LittleEndianFloatsWithNoDataForInvalidSamples)
{
    GridPoint row[4]{};
    row[0].elevation = 1.5f;    // 0x3FC00000
    row[1].elevation = 3776.0f; // valid, any value
    row[1].sampleState = 0;
    row[2].elevation = 0.0f;    // an SRTM3 void
    row[2].sampleState = 1;
    row[3].elevation = -999.0f; // kept as loaded: only the state makes no-data
    const std::string bytes = ehdrRow(row, 4);
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\xC0\x3F", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string("\x00\x00\x6C\x45", 4));
    EXPECT_EQ(bytes.substr(8, 4), std::string("\x00\x00\x00\xC7", 4));  // -32768
    EXPECT_EQ(bytes.substr(12, 4), std::string("\x00\xC0\x79\xC4", 4));

    row[0].sampleState = 2;  // no tile was read here
    EXPECT_EQ(ehdrRow(row, 1), std::string("\x00\x00\x00\xC7", 4));
}

TEST(EhdrRaster, WritesRowZeroFirstAndLeavesNoTemporaryFiles)
{
    makeSmallGrid();
    grid.gridRowTable[1][2].sampleState = 1;
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error)) << error;

    const std::string samples = contents(dir.file("area.flt"));
    ASSERT_EQ(samples.size(), 3u * 4u * 4u);
    std::string expected;
    for (int r = 0; r < 3; ++r)
        expected += ehdrRow(grid.gridRowTable[r], 4);
    EXPECT_EQ(samples, expected);
    EXPECT_EQ(samples.substr(4 * 6, 4), std::string("\x00\x00\x00\xC7", 4));  // row 1, column 2
    EXPECT_EQ(contents(dir.file("area.hdr")), ehdrHeader(grid, srtm3Constants));

    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2);

    // Writing again replaces both.
    grid.gridRowTable[0][0].elevation = -1.0f;
    ASSERT_TRUE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error)) << error;
    EXPECT_EQ(contents(dir.file("area.flt")).substr(0, 4), std::string("\x00\x00\x80\xBF", 4));
}

TEST(EhdrRaster, AFailedWriteLeavesEarlierFilesAlone)
{
    makeSmallGrid();
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(writeEhdrRaster(dir.file("missing/area"), grid, srtm3Constants, error));
    EXPECT_NE(error.find("missing/area"), std::string::npos) << error;

    dir.write("area.flt", "old samples");
    dir.write("area.hdr", "old header");
    // Someone else's file in the way of the header's temporary name.
    dir.write("area.hdr.tmp" + std::to_string(getpid()), "busy");
    error.clear();
    EXPECT_FALSE(writeEhdrRaster(dir.file("area"), grid, srtm3Constants, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(contents(dir.file("area.flt")), "old samples");
    EXPECT_EQ(contents(dir.file("area.hdr")), "old header");
    EXPECT_FALSE(std::filesystem::exists(dir.file("area.flt.tmp" + std::to_string(getpid()))));
    EXPECT_EQ(contents(dir.file("area.hdr.tmp" + std::to_string(getpid()))), "busy");
}

}  // namespace
