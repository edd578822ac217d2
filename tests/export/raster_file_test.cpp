#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <filesystem>
#include <set>
#include <unistd.h>

#include "raster_file.h"
#include "scratch_dir.h"

using namespace orvex;
using namespace testing_support;

TEST(RasterFile, GeoTiffAndEhdrReadBackThroughGdalWithNoDataPlaceAndDatum)
{
    ElevationGrid grid; // 3 rows x 4 columns of GSI points that no sheet covered (-999)
    allocategrid(grid, 3, 4, gsi50Constants);
    grid.areaNorth = 36, grid.areaWest = 139.5; // the first sample's centre
    GridPoint* row = grid.gridRowTable[1];
    row[0].elevation = 1.5f, row[1].elevation = -999.9f /* GSI sea */,
    row[2].sampleState = SampleState::dataVoid;
    row[3].sampleState = SampleState::noTile, grid.gridRowTable[2][0].elevation = 2.0f;
    grid.gridRowTable[2][1].elevation = -50.0f; // land below sea level
    grid.gridRowTable[2][2].elevation = seaElevation;
    const float none = rasterNoData;
    const std::vector<float> expected{none, none, none, none,   1.5f, none,
                                      none, none, 2.0f, -50.0f, none, none};

    ScratchDir dir;
    GDALAllRegister();
    for (const auto& [out, file, crs] :
         {std::tuple("area.tif", "area.tif", "EPSG:6668"), std::tuple("area", "area.flt", "EPSG:4301")}) {
        std::string error;
        ASSERT_TRUE(writeRaster(dir.file(out), grid, {gsi50Constants, crs}, error)) << error;
        GDALDatasetUniquePtr raster(GDALDataset::Open(dir.file(file).c_str(), GDAL_OF_RASTER));
        ASSERT_TRUE(raster) << file;
        std::vector<float> values(12);
        GDALRasterBand* band = raster->GetRasterBand(1);
        ASSERT_EQ(band->RasterIO(GF_Read, 0, 0, 4, 3, values.data(), 4, 3, GDT_Float32, 0, 0, nullptr),
                  CE_None);
        int hasNoData = 0;
        EXPECT_EQ(std::tuple(values, band->GetNoDataValue(&hasNoData), hasNoData, band->GetRasterDataType()),
                  std::tuple(expected, double(none), 1, GDT_Float32))
            << file;
        double transform[6];
        raster->GetGeoTransform(transform);
        const double place[6] = {139.5 - 0.000625 / 2, 0.000625, 0, 36 + 1 / 4800.0, 0, -1 / 2400.0};
        for (int n = 0; n < 6; ++n)
            EXPECT_NEAR(transform[n], place[n], 1e-14) << file << " " << n;
        OGRSpatialReference datum;
        datum.SetFromUserInput(crs);
        const char* const sameDatum[] = {"CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS",
                                         "IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
        const OGRSpatialReference* srs = raster->GetSpatialRef();
        EXPECT_TRUE(srs && srs->IsSame(&datum, sameDatum)) << file;
    }
    std::set<std::string> names; // nothing beside them: no temporaries, no .aux.xml
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"area.tif", "area.flt", "area.hdr", "area.prj"}));

    // A file in the way of one temporary name: nothing is replaced.
    const std::string header = fileText(dir.file("area.hdr")), samples = fileText(dir.file("area.flt"));
    const std::string inTheWay = dir.file("area.tmp" + std::to_string(getpid()) + ".prj");
    writeFile(inTheWay, "someone else's");
    std::string error;
    grid.gridRowTable[0][0].elevation = 7;
    EXPECT_FALSE(writeRaster(dir.file("area"), grid, {gsi50Constants, "EPSG:4301"}, error));
    EXPECT_NE(error.find(inTheWay), std::string::npos) << error;
    EXPECT_EQ(std::tuple(fileText(dir.file("area.hdr")), fileText(dir.file("area.flt")), fileText(inTheWay)),
              std::tuple(header, samples, std::string("someone else's")));
}
