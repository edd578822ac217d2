#include <gtest/gtest.h>

#include <charconv>

#include "data/loaders.h"
#include "fgd_test_files.h"
#include "loader_test_support.h"
#include "state/grid.h"

namespace {

using orvex::FgdResolution;
using orvex::MeshCode;

std::string metres(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Sheet n's value at (x, y): every sheet, row and column its own, exact in
// single precision.
float value(int n, int x, int y)
{
    return static_cast<float>(n * 1000 + y * 0.5 + x * 0.25);
}
TupleAt ground(int n)
{
    return [n](int x, int y) { return "地表面," + metres(value(n, x, y)); };
}

const GridPoint& at(int row, int col)
{
    return grid.gridRowTable[row][col];
}

TEST(FgdLoader, TenMetreSheetsLieEdgeToEdgeWithVoidsWhereNothingWasRead)
{
    // From 533907, two by two: east into 5340 (missing), south into 5239.
    ScratchDir dir;
    writeFile(dir.file("x/fg-gml-5339-07-dem10b-20161001.xml"),
              fgdXml({FgdResolution::metres10, {53, 39, 0, 7}, ground(1)}));
    const MeshCode south{52, 39, 7, 7};
    const TupleAt special = [](int x, int y) -> std::string {
        if (y > 0 || x > 3)
            return "地表面," + metres(value(3, x, y));
        return std::vector<std::string>{"海水面,-9999.", "内水面,12.5", "データなし,-9999.",
                                        "地表面,-9999."}[x];
    };
    writeFile(
        dir.file("FG-GML-5239-77-DEM10B.zip"),
        zipBytes({{fgdName(south, "10B", "20090101"), "older: never read"},
                  {fgdName(south, "10A", "20200101"),
                   fgdXml({FgdResolution::metres10, {52, 39, 7, 6}, ground(2)})},
                  {fgdName(south, "10B", "20161001"), fgdXml({FgdResolution::metres10, south, special})}}));
    const MeshCode southEast{52, 40, 7, 0};
    writeFile(
        dir.file("bulk.zip"),
        zipBytes({{"FG-GML-5240-70-DEM10B.zip",
                   zipBytes({{fgdName(southEast, "10B", "20161001"),
                              fgdXml({FgdResolution::metres10, southEast, ground(4), 5, 2, 1000})}})}}));

    EXPECT_EQ(
        printed(dir, [&] { readfgd10(dir.path(), 533907, 2, 2); }),
        "Reading D/x/fg-gml-5339-07-dem10b-20161001.xml ...\n"
        "*** FGD10M : D/FG-GML-5340-00-DEM10 not found.\n"
        "Reading D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10A-20200101.xml ...\n"
        "*** FGD10M : D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10A-20200101.xml skipped: the mesh code "
        "differs from the file name.\n"
        "Reading D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10B-20161001.xml ...\n"
        "Reading D/bulk.zip:FG-GML-5240-70-DEM10B.zip:FG-GML-5240-70-DEM10B-20161001.xml ...\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(1500, 2250));
    const struct {
        int row, col;
        float elevation;
        int state;
        bool inlandWater;
    } points[] = {
        {0, 0, value(1, 0, 0), 0, false},
        {749, 1124, value(1, 1124, 749), 0, false},
        {0, 1125, 0, 2, false},    // no file
        {750, 0, -9999, 0, false}, // sea
        {750, 1, 12.5f, 0, true},  // inland water
        {750, 2, 0, 1, false},     // no data
        {750, 3, 0, 1, false},     // no value
        {750, 4, value(3, 4, 0), 0, false},
        {1499, 1124, value(3, 1124, 749), 0, false},
        {752, 1129, 0, 1, false}, // before the start point
        {752, 1130, value(4, 5, 2), 0, false},
        {752, 2129, value(4, 1004, 2), 0, false},
        {752, 2130, 0, 1, false}, // after the last tuple
        {1499, 2249, 0, 1, false},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(std::to_string(p.row) + ", " + std::to_string(p.col));
        EXPECT_EQ(at(p.row, p.col).elevation, p.elevation);
        EXPECT_EQ(at(p.row, p.col).sampleState, p.state);
        EXPECT_EQ(at(p.row, p.col).inlandWater, p.inlandWater);
    }
    const double north = 53 * 0.6666666666666666 + 1 / 12.0, southEdge = north - 2 / 12.0;
    EXPECT_EQ(placement(), (std::vector<double>{north, southEdge, 139.875, 140.125,
                                                700 - (north + southEdge) * 5, 270, 500, 12.3}));
}

TEST(FgdLoader, FiveMetreVoidsAreFilledFromTenMetres)
{
    // 10 m: 100 m + a quarter metre a column across both sheets; sea from row 700.
    ScratchDir dir;
    for (const int sheet : {0, 1}) {
        const TupleAt tuple = [sheet](int x, int y) {
            return y >= 700 ? std::string("海水面,-9999.")
                            : "地表面," + metres(100 + 0.25 * (sheet * 1125 + x));
        };
        const MeshCode code{53, 39, 4, 5 + sheet};
        writeFile(dir.file("tenm/" + fgdName(code, "10B", "20161001")),
                  fgdXml({FgdResolution::metres10, code, tuple}));
    }
    // 5 m: the north-west tertiary mesh only, one point without a value.
    const MeshCode tertiary{53, 39, 4, 5, 9, 0};
    const TupleAt five = [](int x, int y) { return x == 10 && y == 10 ? "地表面,-9999." : "地表面,7.5"; };
    writeFile(
        dir.file("FG-GML-5339-45-DEM5A.zip"),
        zipBytes({{fgdName(tertiary, "5A", "20200101"), fgdXml({FgdResolution::metres5, tertiary, five})}}));

    EXPECT_EQ(printed(dir, [&] { readfgd5(dir.path(), 533945, 1, 2); }),
              "Reading D/FG-GML-5339-45-DEM5A.zip:FG-GML-5339-45-90-DEM5A-20200101.xml ...\n"
              "*** FGD5M : D/FG-GML-5339-46-DEM5 not found.\n"
              "Reading D/tenm/FG-GML-5339-45-DEM10B-20161001.xml ...\n"
              "Reading D/tenm/FG-GML-5339-46-DEM10B-20161001.xml ...\n");
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(1500, 4500));
    // A 5 m point (R, C) lies at 10 m point (R / 2 - 1/4, C / 2 - 1/4).
    const struct {
        int row, col;
        float elevation;
    } points[] = {
        {0, 0, 7.5f},          {149, 224, 7.5f},   {10, 10, 101.1875f},    {0, 225, 128.0625f},
        {0, 2249, 381.0625f},  {0, 4499, 662.25f}, {1399, 300, 137.4375f}, // the nearest is land
        {1400, 300, -9999.0f},                                             // the nearest is sea
    };
    for (const auto& p : points) {
        SCOPED_TRACE(std::to_string(p.row) + ", " + std::to_string(p.col));
        EXPECT_EQ(at(p.row, p.col).elevation, p.elevation);
        EXPECT_EQ(at(p.row, p.col).sampleState, 0);
    }
    EXPECT_EQ(placement()[7], 6.2); // metres from row to row
}

TEST(FgdLoader, AnAreaWithNothingToReadEndsTheViewer)
{
    ScratchDir dir;
    writeFile(dir.file("FG-GML-5339-45-DEM10B-20161001.xml"), "<Dataset>");
    const struct {
        const char* label;
        std::function<void()> load;
        const char* message;
    } cases[] = {
        {"malformed 10 m", [&] { readfgd10(dir.path(), 533945, 1, 1); }, "*** FGD10M : No DEM files."},
        {"no 5 m or 10 m", [&] { readfgd5(dir.path(), 533946, 1, 1); }, "*** FGD5M : No DEM files."},
        {"no rows", [&] { readfgd5(dir.path(), 533945, 0, 1); }, "*** FGD5M : No DEM files."},
        {"column 8", [&] { readfgd10(dir.path(), 533948, 1, 1); }, "*** ERROR fgd10 : argument."},
        // Refused while the first files are read, and before any is.
        {"too large", [&] { readfgd10(dir.path(), 533945, 200, 200); },
         "*** ERROR : the area is too large for this machine's memory."},
        {"far too large", [&] { readfgd5(dir.path(), 533945, 1000, 1000); },
         "*** ERROR : the area is too large for this machine's memory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(fatalMessageOf(c.load), c.message);
    }
}

} // namespace
