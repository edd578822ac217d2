// orvex-export as a user runs it, and what GDAL makes of its output.
#include <gtest/gtest.h>

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <filesystem>

#include "program_run.h"

using testing_support::fileText;

static const std::string exporter = "'" + std::string(ORVEX_EXPORT_PROGRAM) + "' ";

TEST(ExportProgram, UsageOrLoaderErrorsEndAtOnce)
{
    testing_support::ScratchDir dir;
    for (const char* words : {"", "-gsi50 d 533936 1 1", "out -gsi50 d 533936 1", "out -GSI250 d 5339 1 1"})
        EXPECT_EQ(runInShell(dir.path(), exporter + words).status, 2) << words;
    EXPECT_TRUE(runInShell(dir.path(), exporter).err.starts_with("usage: orvex-export OUT"));
    // Input is sent once the exporter has ended, or after five seconds: an
    // exporter that waited for Enter would log its end last.
    const ProgramRun run =
        runInShell(dir.path(), "{ " + waitInShellFor("1", "log") + "; echo sent >> log; } | { " + exporter +
                                   "out -srtm3 d 0 0 0 0 3 s; echo $? >> log; }");
    EXPECT_EQ(std::pair(run.out + run.err, fileText(dir.file("log"))),
              std::pair(std::string("*** ERROR srtm3 : argument.\n"), std::string("1\nsent\n")));
}

namespace {

// A raster's samples, no-data value, place and coordinate system as GDAL reads them.
struct Read {
    std::vector<float> samples;
    double noData = 0;
    std::vector<double> place;
    std::string datum;
};
Read readThroughGdal(const std::string& path)
{
    GDALAllRegister();
    GDALDatasetUniquePtr raster(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER));
    if (!raster)
        return {};
    Read read;
    const int width = raster->GetRasterXSize(), height = raster->GetRasterYSize();
    read.samples.resize(std::size_t(width) * height);
    GDALRasterBand* band = raster->GetRasterBand(1);
    if (band->RasterIO(GF_Read, 0, 0, width, height, read.samples.data(), width, height, GDT_Float32, 0, 0,
                       nullptr) != CE_None)
        return {};
    read.noData = band->GetNoDataValue();
    read.place.resize(6);
    raster->GetGeoTransform(read.place.data());
    for (double& value : read.place) // as exact as the EHdr label's text
        value = std::round(value * 1e12) / 1e12;
    const OGRSpatialReference* srs = raster->GetSpatialRef();
    read.datum = srs && srs->GetAttrValue("DATUM") ? srs->GetAttrValue("DATUM") : "";
    return read;
}

// The export of a source's sample: no data for its no-data and for sea.
float exported(float sample, float sourceNoData)
{
    return sample == sourceNoData || sample <= 0 ? -9999.0f : sample;
}

} // namespace

TEST(ExportProgram, GdalSourceBecomesAGeoTiffThatGdalReadsSampleForSample)
{
    testing_support::ScratchDir dir; // 0.5-degree float pixels with a hole and sea; the box snaps outward
    {
        GDALAllRegister();
        GDALDatasetUniquePtr source(GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
            dir.file("dem.tif").c_str(), 8, 6, 1, GDT_Float32, nullptr));
        const double place[6] = {-10, 0.5, 0, 50, 0, -0.5};
        source->SetGeoTransform(const_cast<double*>(place));
        OGRSpatialReference wgs84;
        wgs84.importFromEPSG(4326);
        source->SetSpatialRef(&wgs84);
        std::vector<float> samples(48);
        for (int n = 0; n < 48; ++n)
            samples[n] = n == 17 ? -1e30f : n == 18 ? 0.0f : n == 19 ? -2.5f : 10.25f * n;
        source->GetRasterBand(1)->SetNoDataValue(-1e30);
        ASSERT_EQ(source->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 8, 6, samples.data(), 8, 6, GDT_Float32,
                                                     0, 0, nullptr),
                  CE_None);
    }
    const ProgramRun run = runInShell(dir.path(), exporter + "out.tif -gdal dem.tif 49.2 -9.3 47.5 -7.5");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "Reading dem.tif ...\nWrote out.tif (4 x 4)\n");
    const Read source = readThroughGdal(dir.file("dem.tif")), ours = readThroughGdal(dir.file("out.tif"));
    ASSERT_EQ(ours.samples.size(), 16u); // rows 1 to 4 and columns 1 to 4 of the source
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(ours.samples[n], exported(source.samples[(n / 4 + 1) * 8 + n % 4 + 1], -1e30f)) << n;
    EXPECT_EQ(std::tuple(ours.noData, ours.place, ours.datum),
              std::tuple(-9999.0, std::vector<double>{-9.5, 0.5, 0, 49.5, 0, -0.5}, "WGS_1984"));
}

TEST(ExportProgram, RealSrtm3TileMatchesWhatGdalReads)
{
    const std::string tiles = std::string(SHARED_DATA_DIR) + "/srtm3-sample", tile = tiles + "/N44W072.hgt";
    if (!std::filesystem::exists(tile))
        GTEST_SKIP() << "needs " << tile;
    testing_support::ScratchDir dir; // 44 to 45 N, 72 to 71 W: blocks 90 .. 91 by 216 .. 217, no void filling
    const ProgramRun run = runInShell(dir.path(), exporter + "ours -srtm3 " + tiles + " 90 216 91 217 0 .");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const Read source = readThroughGdal(tile), ours = readThroughGdal(dir.file("ours.flt"));
    ASSERT_EQ(ours.samples.size(), 1201u * 1201u);
    int differences = 0;
    for (std::size_t n = 0; n < ours.samples.size(); ++n)
        differences += ours.samples[n] != exported(source.samples[n], -32768);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(std::tuple(ours.noData, ours.place, ours.datum),
              std::tuple(-9999.0, source.place, source.datum));
}
