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

// A raster's samples, no-data value, place (as exact as an EHdr label's text)
// and datum as GDAL reads them.
struct Read {
    std::vector<float> samples;
    double noData = 0;
    std::vector<double> place = std::vector<double>(6);
    std::string datum;
};
Read readThroughGdal(const std::string& path)
{
    GDALAllRegister();
    GDALDatasetUniquePtr raster(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER));
    Read read;
    const int width = raster ? raster->GetRasterXSize() : 0, height = raster ? raster->GetRasterYSize() : 0;
    read.samples.resize(std::size_t(width) * height);
    if (!raster || raster->RasterIO(GF_Read, 0, 0, width, height, read.samples.data(), width, height,
                                    GDT_Float32, 1, nullptr, 0, 0, 0, nullptr) != CE_None)
        return {};
    read.noData = raster->GetRasterBand(1)->GetNoDataValue();
    raster->GetGeoTransform(read.place.data());
    for (double& value : read.place)
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
    // An ASCII grid of 0.5-degree pixels, no coordinate system (WGS 84 is
    // taken), a void, sea at 0 and -2.5 m; the box snaps outward.
    testing_support::ScratchDir dir;
    std::string grid = "ncols 8\nnrows 6\nxllcorner -10\nyllcorner 47\ncellsize 0.5\nNODATA_value -32768\n";
    for (int n = 0; n < 48; ++n)
        grid += (n == 17 ? "-32768" : n == 18 ? "0" : n == 19 ? "-2.5" : std::to_string(10.25 * n)) + " ";
    testing_support::writeFile(dir.file("dem.asc"), grid);
    const ProgramRun run = runInShell(dir.path(), exporter + "out.tif -gdal dem.asc 49.2 -9.3 47.5 -7.5");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "Reading dem.asc ...\nWrote out.tif (4 x 4)\n");
    const Read source = readThroughGdal(dir.file("dem.asc")), ours = readThroughGdal(dir.file("out.tif"));
    ASSERT_EQ(ours.samples.size(), 16u); // rows 1 to 4 and columns 1 to 4 of the source
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(ours.samples[n], exported(source.samples[(n / 4 + 1) * 8 + n % 4 + 1], -32768)) << n;
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
    EXPECT_EQ(std::tuple(differences, ours.noData, ours.place, ours.datum),
              std::tuple(0, -9999.0, source.place, source.datum));
}
