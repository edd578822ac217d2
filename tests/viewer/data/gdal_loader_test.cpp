// The -gdal loader on rasters made through GDAL here: every grid point is
// compared with what GDAL reads from the source at that point's place.
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>

#include "../viewer_test.h"
#include "data/loaders.h"
#include "state/grid.h"

using namespace orvex;
using namespace testing_support;

namespace {

using Values = std::function<double(int row, int col)>;

// A raster of width x height samples value(row, col) in the format of
// `driver`, made in memory and copied there (some drivers only copy).
void makeRaster(const std::string& path, const char* driver, int width, int height, std::array<double, 6> gt,
                int epsg, std::optional<double> noData, const Values& value, GDALDataType type = GDT_Float32,
                int bands = 1)
{
    GDALAllRegister();
    GDALDatasetUniquePtr memory(
        GetGDALDriverManager()->GetDriverByName("MEM")->Create("", width, height, bands, type, nullptr));
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    memory->SetSpatialRef(&srs);
    memory->SetGeoTransform(gt.data());
    std::vector<double> samples(static_cast<std::size_t>(width) * height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            samples[std::size_t(r) * width + c] = value(r, c);
    for (int b = 1; b <= bands; ++b) {
        if (noData)
            memory->GetRasterBand(b)->SetNoDataValue(*noData);
        ASSERT_EQ(memory->GetRasterBand(b)->RasterIO(GF_Write, 0, 0, width, height, samples.data(), width,
                                                     height, GDT_Float64, 0, 0, nullptr),
                  CE_None);
    }
    GDALDatasetUniquePtr copy(GetGDALDriverManager()->GetDriverByName(driver)->CreateCopy(
        path.c_str(), memory.get(), false, nullptr, nullptr, nullptr));
    ASSERT_TRUE(copy) << CPLGetLastErrorMsg();
}

// How many grid points differ from GDAL's reading of `source` at their place
// (the pixel that holds the point, through the coordinate transformation for
// a projected source): a void where GDAL reads no-data, sea at or below 0 m,
// else the value to within `tolerance`.
int differences(const ElevationGrid& g, const GdalArea& area, const std::string& source, double tolerance)
{
    GDALDatasetUniquePtr dataset(GDALDataset::Open(source.c_str(), GDAL_OF_RASTER));
    double gt[6];
    dataset->GetGeoTransform(gt);
    const int width = dataset->GetRasterXSize(), height = dataset->GetRasterYSize();
    std::vector<double> samples(std::size_t(width) * height);
    GDALRasterBand* band = dataset->GetRasterBand(1);
    EXPECT_EQ(band->RasterIO(GF_Read, 0, 0, width, height, samples.data(), width, height, GDT_Float64, 0, 0,
                             nullptr),
              CE_None);
    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    OGRSpatialReference geographic;
    geographic.SetFromUserInput(area.crs.c_str());
    geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const std::unique_ptr<OGRCoordinateTransformation> toSource(
        OGRCreateCoordinateTransformation(&geographic, dataset->GetSpatialRef()));
    int count = 0;
    for (int r = 0; r < g.gridRows; ++r)
        for (int c = 0; c < g.gridCols; ++c) {
            double x = g.areaWest + c * area.constants.colStep, y = g.areaNorth - r * area.constants.rowStep;
            toSource->Transform(1, &x, &y);
            const auto col = static_cast<int>(std::floor((x - gt[0]) / gt[1]));
            const auto row = static_cast<int>(std::floor((y - gt[3]) / gt[5]));
            const GridPoint& point = g.gridRowTable[r][c];
            const bool inside = row >= 0 && row < height && col >= 0 && col < width;
            const double value = inside ? samples[std::size_t(row) * width + col] : NAN;
            const bool same = !inside                        ? false
                              : hasNoData && value == noData ? point.sampleState == SampleState::dataVoid
                              : value <= 0
                                  ? point.sampleState == SampleState::valid && point.elevation == seaElevation
                                  : point.sampleState == SampleState::valid &&
                                        std::fabs(point.elevation - value) <= tolerance;
            count += !same;
        }
    return count;
}

// What `action` prints, or its fatal message, with the scratch folder as D.
std::string said(const ScratchDir& dir, const std::function<void()>& action, bool fatal = false)
{
    std::string text = fatal ? fatalMessageOf(action) : captureStdout(action);
    for (std::size_t at; (at = text.find(dir.path())) != std::string::npos;)
        text.replace(at, dir.path().size(), "D");
    return text;
}

// The grid's size, and its edges north, west, south, east to 1e-9 degree.
std::vector<double> shapeOf(const ElevationGrid& g)
{
    std::vector<double> shape{double(g.gridRows), double(g.gridCols)};
    for (double edge : {g.areaNorth, g.areaWest, g.areaSouth, g.areaEast})
        shape.push_back(std::round(edge * 1e9) / 1e9);
    return shape;
}

} // namespace

TEST(GdalLoader, GeographicRasterIsReadAtItsPixelsSnappedOutwardWithVoidsAndSea)
{
    // 0.01-degree pixels from 36 N, 139 E; a 3 x 3 hole, a 0 m and a -3 m sample.
    ScratchDir dir;
    const std::string tif = dir.file("geo.tif");
    makeRaster(tif, "GTiff", 60, 50, {139.0, 0.01, 0, 36.0, 0, -0.01}, 4326, -32768, [](int r, int c) {
        if (r >= 12 && r <= 14 && c >= 4 && c <= 6)
            return -32768.0;
        return r == 10 && c == 3 ? 0.0 : r == 10 && c == 4 ? -3.0 : 100 + r * 10 + c * 0.5;
    });
    ElevationGrid g;
    GdalArea area{};
    // The box's edges inside pixels 9 (row) and 2 (column), its south-east
    // corner on pixel edges: the points lie on the centres of rows 9 to 19
    // and columns 2 to 9.
    EXPECT_EQ(said(dir,
                   [&] {
                       area = readgdal(g, tif, {35.905, 139.023, 35.8, 139.1});
                   }),
              "Reading D/geo.tif ...\n");
    EXPECT_EQ(shapeOf(g), (std::vector<double>{11, 8, 35.905, 139.025, 35.805, 139.095}));
    EXPECT_EQ(differences(g, area, tif, 0), 0);
    EXPECT_EQ(std::tuple(area.constants.rowStep, area.constants.colStep, g.gridRowTable[1][2].elevation,
                         g.gridRowTable[4][3].sampleState, g.gridRowTable[4][3].elevation),
              std::tuple(0.01, 0.01, seaElevation, SampleState::dataVoid, 0.0f));
    EXPECT_NE(area.crs.find("WGS 84"), std::string::npos);

    // More points than allowed: every 2nd sample, the first on the box's corner.
    EXPECT_EQ(
        said(dir,
             [&] {
                 area = readgdal(g, tif, {36, 139, 35.5, 139.6}, 1000);
             }),
        "Reading D/geo.tif ...\n*** GDAL : the area needs more points than this machine's memory holds; "
        "every 2nd sample is read.\n");
    EXPECT_EQ(shapeOf(g), (std::vector<double>{25, 30, 35.995, 139.005, 35.515, 139.585}));
    EXPECT_EQ(differences(g, area, tif, 0), 0);

    // A box partly outside keeps what lies inside; one wholly outside, a
    // source GDAL cannot open, one of three bands, a reversed box: fatal.
    readgdal(g, tif, {37, 138.5, 35.95, 139.02});
    EXPECT_EQ(shapeOf(g), (std::vector<double>{5, 2, 35.995, 139.005, 35.955, 139.015}));
    makeRaster(
        dir.file("rgb.tif"), "GTiff", 4, 4, {139.0, 0.01, 0, 36.0, 0, -0.01}, 4326, std::nullopt,
        [](int, int) { return 1; }, GDT_Byte, 3);
    writeFile(dir.file("text.tif"), "not a raster");
    const auto fatal = [&](const std::string& source, const GeoBox& box) {
        return said(
            dir, [&] { readgdal(g, source, box); }, true);
    };
    EXPECT_EQ(fatal(tif, {35, 140, 34, 141}),
              "*** GDAL : the area misses D/geo.tif, which covers north "
              "36.000000, west 139.000000, south 35.500000, east 139.600000.");
    EXPECT_TRUE(
        fatal(dir.file("text.tif"), {36, 139, 35, 140}).starts_with("*** GDAL : cannot open D/text.tif ("));
    EXPECT_EQ(fatal(dir.file("rgb.tif"), {36, 139, 35, 140}),
              "*** GDAL : D/rgb.tif is not single-band elevation: it has 3 bands.");
    EXPECT_EQ(fatal(tif, {35, 139, 36, 140}), "*** ERROR gdal : argument.");
}

TEST(GdalLoader, ProjectedRasterIsWarpedToGeographicAtItsEquivalentResolution)
{
    // 30 m pixels in UTM zone 54 N near 35.65 N, 139.95 E, with a 20 x 20 hole.
    ScratchDir dir;
    const std::string tif = dir.file("utm.tif");
    makeRaster(tif, "GTiff", 300, 300, {400000, 30, 0, 3950000, 0, -30}, 32654, -9999, [](int r, int c) {
        return r >= 100 && r < 120 && c >= 150 && c < 170 ? -9999 : 200 + r + 2 * c;
    });
    ElevationGrid g;
    const GdalArea area = readgdal(g, tif, {35.68, 139.905, 35.62, 139.985});
    // Square pixels of about 30 m; every point but a few on the edges of the
    // hole within one pixel of where GDAL's nearest sample lies (rows step
    // 1 m, columns 2 m), the hole open (400 pixels, as many points).
    EXPECT_NEAR(area.constants.rowStep, 0.0003, 0.00005);
    EXPECT_DOUBLE_EQ(area.constants.rowStep, area.constants.colStep);
    EXPECT_NEAR(g.gridRows * area.constants.rowStep, 0.06, 0.001);
    EXPECT_LT(differences(g, area, tif, 3.01), g.gridRows * g.gridCols / 2000);
}

TEST(GdalLoader, SrtmTileFolderOfTilesAndVrtAreReadAlike)
{
    ScratchDir dir;
    // An SRTM1 tile of 3601 x 3601, read at its south-west corner: the
    // corner sample lies on 35 N, 139 E.
    const std::string hgt = dir.file("N35E139.hgt");
    const double step = 1.0 / 3600;
    makeRaster(
        hgt, "SRTMHGT", 3601, 3601, {139 - step / 2, step, 0, 36 + step / 2, 0, -step}, 4326, -32768,
        [](int r, int c) { return (r * 7 + c * 3) % 97 == 0 ? -32768 : (r * 7 + c * 3) % 3000 - 100; },
        GDT_Int16);
    ElevationGrid g;
    GdalArea area = readgdal(g, hgt, {35.01, 139, 35, 139.01});
    EXPECT_EQ(shapeOf(g), (std::vector<double>{37, 37, 35.01, 139, 35, 139.01}));
    EXPECT_EQ(differences(g, area, hgt, 0), 0);

    // Four 1-degree tiles of 0.1-degree pixels meeting at 36 N, 140 E, one far
    // away and a file that is no raster; then the four as a VRT.
    const std::string tiles = dir.file("tiles");
    std::filesystem::create_directory(tiles);
    std::vector<std::string> names;
    for (const auto& [name, north, west] :
         {std::tuple("a.tif", 37, 139), std::tuple("b.tif", 37, 140), std::tuple("c.tif", 36, 139),
          std::tuple("d.tif", 36, 140), std::tuple("e.tif", 41, 145)}) {
        const int tile = name[0] - 'a' + 1;
        names.push_back(tiles + "/" + name);
        makeRaster(
            names.back(), "GTiff", 10, 10, {double(west), 0.1, 0, double(north), 0, -0.1}, 4326, -32768,
            [tile](int r, int c) { return r == 9 && c == 0 ? -32768 : 1000 * tile + 10 * r + c; }, GDT_Int16);
    }
    writeFile(tiles + "/readme.txt", "tiles");
    const GeoBox corner{36.15, 139.85, 35.85, 140.15}; // edges on pixel centres: two of each tile each way
    EXPECT_EQ(said(dir, [&] { area = readgdal(g, tiles, corner); }),
              "Reading D/tiles/a.tif ...\nReading D/tiles/b.tif ...\nReading D/tiles/c.tif ...\n"
              "Reading D/tiles/d.tif ...\n");
    EXPECT_EQ(shapeOf(g), (std::vector<double>{4, 4, 36.15, 139.85, 35.85, 140.15}));
    EXPECT_EQ(std::tuple(g.gridRowTable[0][0].elevation, g.gridRowTable[1][1].elevation,
                         g.gridRowTable[2][1].elevation, g.gridRowTable[2][2].elevation,
                         g.gridRowTable[1][2].sampleState), // b's south-west sample
              std::tuple(1088.0f, 1099.0f, 3009.0f, 4000.0f, SampleState::dataVoid));

    const std::string vrt = dir.file("tiles.vrt");
    std::vector<const char*> paths;
    for (int n = 0; n < 4; ++n)
        paths.push_back(names[n].c_str());
    GDALClose(GDALBuildVRT(vrt.c_str(), 4, nullptr, paths.data(), nullptr, nullptr));
    ElevationGrid fromVrt;
    EXPECT_EQ(said(dir, [&] { readgdal(fromVrt, vrt, corner); }), "Reading D/tiles.vrt ...\n");
    ASSERT_EQ(shapeOf(fromVrt), shapeOf(g));
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(std::pair(fromVrt.points[n].elevation, fromVrt.points[n].z),
                  std::pair(g.points[n].elevation, g.points[n].z));
}

TEST(GdalLoader, AnAreaTooLargeIsDecimatedByTheSmallestWholeStepThatFits)
{
    EXPECT_EQ(decimationFor(100, 100, 10000), 1);
    EXPECT_EQ(decimationFor(101, 101, 10000), 2); // 51 x 51
    EXPECT_EQ(decimationFor(3601, 3601, 1801 * 1801), 2);
    EXPECT_EQ(decimationFor(3601, 3601, 1801 * 1801 - 1), 3); // 1201 x 1201
    EXPECT_EQ(decimationFor(10, 1000000, 10), 100000);        // 1 x 10 points
    EXPECT_EQ(decimationFor(10, 10, 1), 10);
}
