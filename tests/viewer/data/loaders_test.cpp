// Each loader's placement of samples: files written into a scratch folder,
// what the loader prints, the grid's size, samples at telling places, and
// where the grid lies.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "../viewer_test.h"
#include "data/fgd_loader.h"
#include "data/loaders.h"
#include "fgd_test_files.h"
#include "state/grid.h"

using namespace orvex;
using namespace testing_support;

namespace {

// GSI file n's value at (row, col), in metres: five digits of tenths, so
// that no field runs into the next, telling the file and the place.
float metres(int n, int row, int col)
{
    return (10000 + n * 9000 + row * 40 + col % 40) / 10.0f;
}

// A record: a "%6d%3d" head (the row zero-padded, as published), then
// `count` "%5d" values, a line end after every 10 (none when lineEnd is empty).
std::string gsiRecord(int row, int count, const std::function<int(int)>& tenths,
                      const std::string& lineEnd = "\n")
{
    char head[16];
    std::snprintf(head, sizeof head, "%6d%03d", 533945, row);
    std::string text = head;
    for (int m = 0; m < count; ++m)
        text += (std::string(5, ' ') + std::to_string(tenths(m))).substr(std::to_string(tenths(m)).size()) +
                (m % 10 == 9 ? lineEnd : "");
    return text;
}

// File n as a mesh of side x side values: the header line, then a record for
// every row whose flag (the header's character 224 + row) is not '0'.
std::string meshFile(int n, int side, const std::string& header)
{
    std::string text = header + "\n";
    for (int k = 0; k < side; ++k)
        if (header.size() <= 224u + k || header[224 + k] != '0')
            text += gsiRecord(k, side, [&](int m) { return int(std::lround(metres(n, k, m) * 10)); });
    return text;
}
const std::string sheetHeader = "533945 sheet header  1 2 3",
                  cellHeader = std::string(224, 'H') + std::string(320, '1');

// SRTM samples: 16 bits, high byte first. An SRTM3 tile of 1201 x 1201
// samples, `sample(row, col)` each; an SRTM30 tile's row of 4800 samples
// written into a sparse file of 6000 rows.
std::string sampleBytes(int value)
{
    return {static_cast<char>((value >> 8) & 0xff), static_cast<char>(value & 0xff)};
}
std::string hgtTile(const std::function<int(int, int)>& sample)
{
    std::string bytes;
    for (int n = 0; n < 1201 * 1201; ++n)
        bytes += sampleBytes(sample(n / 1201, n % 1201));
    return bytes;
}
void writeSrtm30Row(const std::string& path, int row, const std::function<int(int)>& sample)
{
    if (!std::filesystem::exists(path))
        writeFile(path, ""), std::filesystem::resize_file(path, 6000 * 9600);
    std::string bytes;
    for (int c = 0; c < 4800; ++c)
        bytes += sampleBytes(sample(c));
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(row * 9600) << bytes;
}

// What `load` prints, with the scratch folder shown as D.
std::string printed(const ScratchDir& dir, const std::function<void()>& load)
{
    std::string text = captureStdout(load);
    for (std::size_t at; (at = text.find(dir.path())) != std::string::npos;)
        text.replace(at, dir.path().size(), "D");
    return text;
}

// Checks the grid's size and its elevations at (row, column).
using Samples = std::vector<std::tuple<int, int, float>>;
void expectGrid(const ElevationGrid& g, int rows, int cols, const Samples& samples)
{
    ASSERT_EQ(std::pair(g.gridRows, g.gridCols), std::pair(rows, cols));
    for (const auto& [row, col, elevation] : samples)
        EXPECT_EQ(g.gridRowTable[row][col].elevation, elevation) << row << ", " << col;
}

// areaNorth, areaSouth, areaWest, areaEast, mountainShiftY, mountainShiftX,
// labelLift to 1e-6, and the metres from row 0 to row 1 to 0.1.
std::vector<double> placementOf(const ElevationGrid& g)
{
    std::vector<double> values{g.areaNorth,      g.areaSouth,      g.areaWest, g.areaEast,
                               g.mountainShiftY, g.mountainShiftX, g.labelLift};
    for (double& value : values)
        value = std::round(value * 1e6) / 1e6;
    values.push_back(std::round((double(g.gridRowTable[1][0].y) - g.gridRowTable[0][0].y) * 10) / 10);
    return values;
}

TEST(Gsi50Loader, SheetsWalkAcrossPrimaryCellsWhateverTheirLayout)
{
    // From 533906, two by three: q = 7 walks east into 5340, p = 0 south into 5239.
    ScratchDir dir;
    writeFile(dir.file("data/5339/533906.mem"), meshFile(1, 200, sheetHeader)); // lower-case copies
    // Published sheets: one record a line in fixed columns, where a
    // blank-padded value touches a five-digit neighbour (" 9995" "10002"), CR
    // LF; 534000 has a broken field in row 7.
    for (const int n : {0, 1}) {
        std::string column = "533945 published layout\r\n";
        for (int k = 0; k < 200; ++k)
            column += gsiRecord(
                          k, 200, [&](int m) { return m % 2 ? 10000 + k : 9999 - k - n; }, "") +
                      "\r\n";
        if (n == 1)
            column[column.find("533945007") + 9 + 5 * 3 + 2] = 'x';
        writeFile(dir.file(n ? "data/5340/534000.MEM" : "data/5339/533907.MEM"), column);
    }
    // A header far longer than any line buffer, then all records on one line;
    // and every field on a line of its own, CR LF, cut inside record 100 after value 37.
    std::string packed = std::string(5000, '#') + "\n", spread = "header\r\n";
    for (int k = 0; k < 200; ++k) {
        packed += gsiRecord(
            k, 200, [&](int m) { return int(std::lround(metres(2, k, m) * 10)); }, "");
        spread += "533945\r\n" + std::to_string(k) + "\r\n";
        for (int m = 0; m < 200; ++m)
            spread += std::to_string(std::lround(metres(3, k, m) * 10)) + "\r\n";
    }
    writeFile(dir.file("data/5239/523976.MEM"), packed);
    writeFile(dir.file("data/5239/523977.mem"), spread.substr(0, spread.find("\r\n100\r\n") + 7 + 38 * 7));
    ElevationGrid g;
    EXPECT_EQ(printed(dir, [&] { readgsi50(g, dir.path(), 533906, 2, 3); }),
              "Reading D/data/5339/533906.mem ...\nReading D/data/5339/533907.MEM ...\n"
              "Reading D/data/5340/534000.MEM ...\nReading D/data/5239/523976.MEM ...\n"
              "Reading D/data/5239/523977.mem ...\n*** GSI50M : D/DATA/5240/524070.MEM not found.\n");
    // 533907 is read by column up to the broken line, then " 9991" runs into
    // "10007" and the x ends the file; 523977 ends after value 37 of record 100.
    const Samples north = {{0, 0, metres(1, 0, 0)},    {199, 199, metres(1, 199, 199)},
                           {0, 200, 999.9f},           {199, 399, 1019.9f},
                           {6, 404, 999.2f},           {7, 400, 9991.1f},
                           {7, 404, noSheetElevation}, {8, 400, noSheetElevation}};
    const Samples south = {{200, 0, metres(2, 0, 0)},      {399, 199, metres(2, 199, 199)},
                           {299, 399, metres(3, 99, 199)}, {300, 237, metres(3, 100, 37)},
                           {300, 238, noSheetElevation},   {200, 400, noSheetElevation}};
    expectGrid(g, 400, 600, north);
    expectGrid(g, 400, 600, south);
    // 53 / 1.5 + 1/12 degrees north, 139 + 6/8 east; 2400 rows a degree.
    EXPECT_EQ(placementOf(g),
              (std::vector<double>{35.416667, 35.25, 139.75, 140.125, 346.666667, 270, 500, 46.3}));
    // "%4d": a primary cell below 1000 is padded with blanks.
    writeFile(dir.file("DATA/ 523/ 52300.MEM"), meshFile(4, 200, sheetHeader));
    EXPECT_EQ(printed(dir, [&] { readgsi50(g, dir.path(), 52300, 1, 1); }),
              "Reading D/DATA/ 523/ 52300.MEM ...\n");
}

TEST(Gsi250Loader, CellsAreReadNorthToSouthWestToEastAsTheirHeaderFlagsSay)
{
    ScratchDir dir;
    // Five flags, then CR LF: the CR ends the line and is no sixth flag.
    writeFile(dir.file("DATA/250M/5339.SEM"),
              meshFile(1, 320, std::string(224, 'H') + "11111\r").substr(0, 231 + 6 * 1409));
    // A header far longer than 224 + 320 characters; rows 17 and 318 without record.
    std::string flags = cellHeader + std::string(4000, '9');
    flags[224 + 17] = flags[224 + 318] = '0';
    writeFile(dir.file("DATA/250M/5340.SEM"), meshFile(2, 320, flags));
    // A header shorter than its 224 skipped characters: no rows at all.
    writeFile(dir.file("DATA/250M/5341.SEM"), meshFile(3, 320, "short"));
    // Whole, and ending inside record 7 after 5 values.
    writeFile(dir.file("DATA/250M/5239.SEM"), meshFile(4, 320, cellHeader));
    writeFile(dir.file("DATA/250M/5240.SEM"),
              meshFile(5, 320, cellHeader).substr(0, 545 + 7 * 1641 + 9 + 25));
    ElevationGrid g;
    EXPECT_EQ(printed(dir, [&] { readgsi250(g, dir.path(), 5339, 2, 3); }),
              "Reading D/DATA/250M/5339.SEM ...\nReading D/DATA/250M/5340.SEM ...\nReading "
              "D/DATA/250M/5341.SEM ...\n"
              "Reading D/DATA/250M/5239.SEM ...\nReading D/DATA/250M/5240.SEM ...\n"
              "*** GSI250M : D/DATA/250M/5241.SEM not found.\n");
    const Samples north = {{4, 100, metres(1, 4, 100)},     {5, 100, noSheetElevation},
                           {16, 323, metres(2, 16, 3)},     {17, 323, noSheetElevation},
                           {18, 323, metres(2, 18, 3)},     {318, 320, noSheetElevation},
                           {319, 639, metres(2, 319, 319)}, {0, 640, noSheetElevation}};
    const Samples south = {{320, 0, metres(4, 0, 0)},     {639, 319, metres(4, 319, 319)},
                           {326, 639, metres(5, 6, 319)}, {327, 324, metres(5, 7, 4)},
                           {327, 325, noSheetElevation},  {320, 640, noSheetElevation}};
    expectGrid(g, 640, 960, north);
    expectGrid(g, 640, 960, south);
    // (53 + 1) / 1.5 degrees north, 139 east; 480 rows a degree.
    EXPECT_EQ(placementOf(g), (std::vector<double>{36, 34.666667, 139, 142, 346.666667, 270, 500, 231.5}));
    // 5399 + 1 is 5400, not the next primary cell to the east.
    writeFile(dir.file("DATA/250M/5399.SEM"), meshFile(1, 320, cellHeader));
    EXPECT_EQ(printed(dir, [&] { readgsi250(g, dir.path(), 5399, 1, 2); }),
              "Reading D/DATA/250M/5399.SEM ...\n*** GSI250M : D/DATA/250M/5400.SEM not found.\n");
}

TEST(SrtmLoaders, BlocksNameTheirTiles)
{
    const auto name = [](auto namer, int row, int col) {
        std::string path;
        namer("D", row, col, path);
        return path;
    };
    EXPECT_EQ(std::tuple(name(dem30name, 0, 0), name(dem30name, 2, 8)),
              std::tuple("D/w180n90.dem", "D/e140s10.dem"));
    EXPECT_EQ(std::tuple(name(dem3name, 90, 179), name(dem3name, 179, 359), name(dem3name, 89, 180)),
              std::tuple("D/s01w001.hgt", "D/s90e179.hgt", "D/n00e000.hgt"));
    for (const auto& [row, col] : {std::pair(3, 0), std::pair(0, 9), std::pair(-1, 0)})
        EXPECT_EQ(fatalMessageOf([&] { name(dem30name, row, col); }), "*** dem30name-1.")
            << row << ", " << col;
    for (const auto& [row, col] : {std::pair(180, 0), std::pair(0, 360), std::pair(-1, 0)})
        EXPECT_EQ(fatalMessageOf([&] { name(dem3name, row, col); }), "*** dem3name-1.") << row << ", " << col;
}

TEST(Srtm30Loader, EachBlockComesFromItsPlaceInItsTile)
{
    // Block rows 10 and 11, columns 63 and 64: tile rows 0 to 1199 of e100n40
    // (samples 4200 to 4799) and, across the tile edge, of e140n40 (samples 0 to 599).
    ScratchDir dir;
    for (const int row : {0, 599, 600, 1199})
        writeSrtm30Row(dir.file("e100n40.dem"), row, [row](int col) { return row + col % 1000; });
    writeSrtm30Row(dir.file("E100N40.DEM"), 0, [](int) { return 99; }); // the exact spelling wins
    writeSrtm30Row(dir.file("E140N40.DEM"), 600,
                   [](int col) { return -col; }); // the published spelling is found
    writeSrtm30Row(dir.file("E140N40.DEM"), 601, [](int) { return 251; });
    std::filesystem::resize_file(dir.file("E140N40.DEM"),
                                 601 * 9600 + 300 * 2 + 1); // inside sample 300 of row 601
    ElevationGrid g;
    EXPECT_EQ(printed(dir, [&] { readsrtm30(g, dir.path(), 10, 63, 11, 64); }),
              "Reading D/e100n40.dem ...\nReading D/E140N40.DEM ...\nReading D/e100n40.dem ...\n"
              "Reading D/E140N40.DEM ...\n");
    const Samples samples = {{0, 0, 200},         {0, 599, 799},           {599, 17, 599 + 217},
                             {600, 0, 600 + 200}, {1199, 599, 1199 + 799}, {0, 600, 0},
                             {600, 600, 0},       {600, 1199, -599},       {601, 899, 251},
                             {601, 900, 0},       {1199, 1199, 0}};
    expectGrid(g, 1200, 1200, samples);
    EXPECT_EQ(placementOf(g), (std::vector<double>{40, 30, 135, 145, 0, 0, 1000, 925.9}));
    // A missing tile leaves flat land at 0 m.
    EXPECT_EQ(printed(dir, [&] { readsrtm30(g, dir.path(), 9, 63, 9, 63); }),
              "*** SRTM30 : D/e100n90.dem not found.\n");
    expectGrid(g, 600, 600, Samples{{0, 0, 0}, {599, 599, 0}});
}

// A sample that tells its tile and its place.
int sampleOf(int tile, int row, int col)
{
    return tile * 8000 + (row % 80) * 100 + col % 100 + 1;
}

TEST(Srtm3Loader, BlocksReadTheirQuarterOfATileMarkingSeaVoidsMissingSamples)
{
    // Blocks 109 .. 110 by 639 .. 640: 35.5 to 34.5 N, 139.5 to 140.5 E.
    ScratchDir dir;
    writeFile(dir.file("N35E139.hgt"), hgtTile([](int r, int c) { // the published spelling
                  const int row610[] = {0, 1, -5, -32768, -600};
                  return r == 610 && c >= 610 && c < 615 ? row610[c - 610] : sampleOf(1, r, c);
              }));
    writeFile(dir.file("n35e140.hgt"), hgtTile([](int r, int c) { return sampleOf(2, r, c); }));
    writeFile(dir.file("n34e139.hgt"), hgtTile([](int r, int c) { return sampleOf(3, r, c); }));
    std::filesystem::resize_file(dir.file("n34e139.hgt"),
                                 100 * 2402 + 650 * 2 + 1); // inside sample 650 of row 100
    ElevationGrid g;
    EXPECT_EQ(printed(dir, [&] { readsrtm3(g, dir.path(), 109, 639, 110, 640, 0, dir.path()); }),
              "Reading D/N35E139.hgt ...\nReading D/n35e140.hgt ...\nReading D/n34e139.hgt ...\n"
              "*** SRTM3 : D/n34e140.hgt not found.\n");
    // The south-east quarter of n35e139; in a shared column the eastern block
    // is later, in a shared row the southern one; the missing block's edge;
    // a valid 0 m is sea.
    const Samples samples = {{0, 0, sampleOf(1, 600, 600)},
                             {300, 599, sampleOf(1, 900, 1199)},
                             {300, 600, sampleOf(2, 900, 0)},
                             {600, 300, sampleOf(3, 0, 900)},
                             {600, 900, sampleOf(2, 1200, 300)},
                             {10, 10, seaElevation},
                             {10, 11, 1},
                             {10, 12, seaElevation},
                             {10, 14, seaElevation}};
    expectGrid(g, 1201, 1201, samples);
    const auto state = [&](int row, int col) { return g.gridRowTable[row][col].sampleState; };
    EXPECT_EQ(std::tuple(state(10, 13), state(10, 14), state(700, 49), state(700, 50), state(900, 900)),
              std::tuple(SampleState::dataVoid, SampleState::valid, SampleState::valid, SampleState::noTile,
                         SampleState::noTile)); // a void, and half a sample or no tile: holes at 0 m
    EXPECT_EQ(std::tuple(g.gridRowTable[10][13].elevation, g.gridRowTable[900][900].elevation),
              std::tuple(0.0f, 0.0f));
    EXPECT_EQ(placementOf(g), (std::vector<double>{35.5, 34.5, 139.5, 140.5, 0, 0, 500, 92.6}));
    EXPECT_NEAR(g.gridRowTable[1200][0].y, 55555.6, 0.1); // the last row lies on the southern edge
}

// Block 109, 639 takes its SRTM30 patch from e100n40.dem: rows 540 to 599,
// samples 4740 to 4799, which lie at block offsets 5, 15, ..., 595. The patch
// is bilinear, so that interpolation and the extrapolation past its outer
// samples reproduce it exactly; one sea sample in its middle counts as 0 m.
double patchAt(int m, int k)
{
    const double x = (m - 5) / 10.0, y = (k - 5) / 10.0;
    return x * y + 2 * x + 5 * y;
}

TEST(Srtm3Fill, ThePatchIsSpreadOverTheBlocksMissingSamples)
{
    ScratchDir dir;
    for (int r = 0; r < 60; ++r)
        writeSrtm30Row(dir.file("e100n40.dem"), 540 + r, [=](int col) {
            const int c = col - 4740;
            return col < 4740 ? 7777 : (r == 30 && c == 30 ? -9999 : r * c + 2 * r + 5 * c);
        });
    ElevationGrid g;
    allocategrid(g, 601, 601, srtm3Constants);
    g.gridRowTable[3][3].elevation = 123, g.gridRowTable[3][3].sampleState = SampleState::valid;
    g.gridRowTable[4][4].sampleState = SampleState::dataVoid;
    EXPECT_EQ(printed(dir, [&] { fillsrtm3block(g, dir.path(), 109, 639, 109, 639); }),
              "Reading D/e100n40.dem ...\n");
    for (int m : {0, 4, 5, 6, 100, 594, 595, 599, 600})
        for (int k : {0, 4, 17, 300, 596, 600})
            EXPECT_EQ(std::pair(std::round(g.gridRowTable[m][k].elevation * 100.0),
                                g.gridRowTable[m][k].sampleState),
                      std::pair(std::round(patchAt(m, k) * 100), SampleState::valid))
                << m << ", " << k;
    expectGrid(g, 601, 601, Samples{{3, 3, 123}, {305, 305, 0}}); // a valid sample is kept; sea counts as 0 m

    // Mode 2: short voids are line-filled, the rest comes from SRTM30, or stays a hole without it.
    writeFile(dir.file("n35e139.hgt"), hgtTile([](int r, int c) {
                  return (r == 650 && c == 650) || (r >= 700 && r < 720 && c >= 700 && c < 720) ? -32768
                                                                                                : 100;
              }));
    EXPECT_EQ(printed(dir, [&] { readsrtm3(g, dir.path(), 109, 639, 109, 639, 2, dir.path()); }),
              "Reading D/n35e139.hgt ...\nReading D/e100n40.dem ...\n");
    EXPECT_EQ(
        std::pair(g.gridRowTable[50][50].elevation, std::round(g.gridRowTable[110][105].elevation * 100.0)),
        std::pair(100.0f, std::round(patchAt(110, 105) * 100)));
    EXPECT_EQ(printed(dir, [&] { readsrtm3(g, dir.path(), 109, 639, 109, 639, 2, dir.file("none")); }),
              "Reading D/n35e139.hgt ...\n*** WARNING : D/none/e100n40.dem not found.\n");
    EXPECT_EQ(std::pair(g.gridRowTable[50][50].elevation, g.gridRowTable[110][105].sampleState),
              std::pair(100.0f, SampleState::dataVoid));
}

// The GSI 10 m and 5 m DEM.

// Sheet n's value at (x, y): every sheet, row and column its own, exact in
// single precision.
float fgdValue(int n, int x, int y)
{
    return static_cast<float>(n * 1000 + y * 0.5 + x * 0.25);
}
TupleAt ground(int n)
{
    return [n](int x, int y) { return "地表面," + std::to_string(fgdValue(n, x, y)); };
}

// Checks the viewer's grid's size and its points.
void expectPoints(int rows, int cols, const auto& points)
{
    ASSERT_EQ(std::pair(grid.gridRows, grid.gridCols), std::pair(rows, cols));
    for (const auto& [row, col, elevation, state, inlandWater] : points) {
        const GridPoint& p = grid.gridRowTable[row][col];
        EXPECT_EQ(std::tuple(p.elevation, int(p.sampleState), p.inlandWater),
                  std::tuple(elevation, state, inlandWater))
            << row << ", " << col;
    }
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
            return "地表面," + std::to_string(fgdValue(3, x, y));
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
    writeFile(dir.file(fgdName(southEast, "10B", "20161001")),
              fgdXml({FgdResolution::metres10, southEast, ground(4), 5, 2, 1000}));

    EXPECT_EQ(
        printed(dir, [&] { readfgd10(dir.path(), 533907, 2, 2); }),
        "Reading D/x/fg-gml-5339-07-dem10b-20161001.xml ...\n"
        "*** FGD10M : D/FG-GML-5340-00-DEM10 not found.\n"
        "Reading D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10A-20200101.xml ...\n"
        "*** FGD10M : D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10A-20200101.xml skipped: the mesh code "
        "differs from the file name.\n"
        "Reading D/FG-GML-5239-77-DEM10B.zip:FG-GML-5239-77-DEM10B-20161001.xml ...\n"
        "Reading D/FG-GML-5240-70-DEM10B-20161001.xml ...\n");
    // Elevation, state (0 valid, 1 void, 2 no tile) and inland water at (row,
    // column): no file at (0, 1125); sea, inland water, no data and no value
    // at (750, 0 .. 3); before the start point and after the last tuple on row 752.
    const std::tuple<int, int, float, int, bool> points[] = {{0, 0, fgdValue(1, 0, 0), 0, false},
                                                             {749, 1124, fgdValue(1, 1124, 749), 0, false},
                                                             {0, 1125, 0, 2, false},
                                                             {750, 0, -9999, 0, false},
                                                             {750, 1, 12.5f, 0, true},
                                                             {750, 2, 0, 1, false},
                                                             {750, 3, 0, 1, false},
                                                             {750, 4, fgdValue(3, 4, 0), 0, false},
                                                             {1499, 1124, fgdValue(3, 1124, 749), 0, false},
                                                             {752, 1129, 0, 1, false},
                                                             {752, 1130, fgdValue(4, 5, 2), 0, false},
                                                             {752, 2129, fgdValue(4, 1004, 2), 0, false},
                                                             {752, 2130, 0, 1, false},
                                                             {1499, 2249, 0, 1, false}};
    expectPoints(1500, 2250, points);
    // North edge 35 25' (row 0 of sheet 07 of 5339), two sheets of 5' south.
    EXPECT_EQ(placementOf(grid),
              (std::vector<double>{35.416667, 35.25, 139.875, 140.125, 346.666667, 270, 500, 12.3}));
}

TEST(FgdLoader, FiveMetreVoidsAreFilledFromTenMetres)
{
    // 10 m: 100 m + a quarter metre a column across both sheets; sea from row 700.
    ScratchDir dir;
    for (const int sheet : {0, 1}) {
        const TupleAt tuple = [sheet](int x, int y) {
            return y >= 700 ? std::string("海水面,-9999.")
                            : "地表面," + std::to_string(100 + 0.25 * (sheet * 1125 + x));
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
    // A 5 m point (R, C) lies at 10 m point (R / 2 - 1/4, C / 2 - 1/4); at
    // row 1399 the nearest is land, at 1400 sea.
    const std::tuple<int, int, float, int, bool> points[] = {
        {0, 0, 7.5f, 0, false},           {149, 224, 7.5f, 0, false},     {10, 10, 101.1875f, 0, false},
        {0, 225, 128.0625f, 0, false},    {0, 2249, 381.0625f, 0, false}, {0, 4499, 662.25f, 0, false},
        {1399, 300, 137.4375f, 0, false}, {1400, 300, -9999.0f, 0, false}};
    expectPoints(1500, 4500, points);
    EXPECT_EQ(placementOf(grid)[7], 6.2); // metres from row to row
}

} // namespace
