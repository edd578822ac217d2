// Any bytes as a raster file that GDAL opens, read by the -gdal loader over
// 35 to 36 N, 139 to 140 E (where the seeds lie, one of them projected). The
// loader's own fatal errors are endings it promises; a grid it leaves must be
// whole. Rasters of more than 2048 x 2048 pixels are passed over: their grid
// may rightly take more memory than the fuzzer allows. GDAL's ASCII grid
// reader is left out: in GDAL 3.6 a grid with fewer rows than its header
// says loops without end (gdal_translate too).
#include <cpl_vsi.h>
#include <gdal_priv.h>

#include <cstddef>
#include <cstdint>

#include "data/loaders.h"
#include "fuzz_target.h"
#include "state/grid.h"
#include "viewer_fuzzing.h"

namespace {
const char inputPath[] = "/vsimem/fuzz-input";
constexpr long long maxPixels = 2048LL * 2048;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    throwOnFatalError();
    CPLSetConfigOption("GDAL_SKIP", "AAIGrid");
    GDALAllRegister();
    CPLSetConfigOption("GDAL_CACHEMAX", "64");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    VSILFILE* file = VSIFileFromMemBuffer(inputPath, const_cast<GByte*>(data), size, FALSE);
    if (!file)
        return 0;
    VSIFCloseL(file);
    bool small = false;
    {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        GDALDatasetUniquePtr raster(GDALDataset::Open(inputPath, GDAL_OF_RASTER | GDAL_OF_READONLY));
        CPLPopErrorHandler();
        small = !raster ||
                static_cast<long long>(raster->GetRasterXSize()) * raster->GetRasterYSize() <= maxPixels;
    }
    if (small) {
        try {
            orvex::readgdal(inputPath, {36, 139, 35, 140});
            requireGrid(orvex::grid.gridRows, orvex::grid.gridCols);
        } catch (const FatalErrorThrown&) {
            // a source that GDAL cannot open, that is no elevation, or that the area misses
        }
    }
    VSIUnlink(inputPath);
    return 0;
}
