#include "raster_file.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include "common/pending_file.h"

namespace orvex {

namespace {

constexpr int stripRows = 256; // the GeoTIFF's tile height

bool isTiff(const std::string& out)
{
    return out.ends_with(".tif") || out.ends_with(".tiff");
}

// The first failure that GDAL reports while it lives, kept for our message.
class FailureLog {
  public:
    FailureLog() { CPLPushErrorHandlerEx(&FailureLog::record, this); }
    ~FailureLog() { CPLPopErrorHandler(); }
    FailureLog(const FailureLog&) = delete;
    FailureLog& operator=(const FailureLog&) = delete;
    const std::string& first() const { return first_; }

  private:
    static void CPL_STDCALL record(CPLErr level, CPLErrorNum, const char* message)
    {
        auto* self = static_cast<FailureLog*>(CPLGetErrorHandlerUserData());
        if (level >= CE_Failure && self->first_.empty())
            self->first_ = message && *message ? message : "GDAL failed";
    }
    std::string first_;
};

// No .aux.xml beside what we write: everything goes into the files we name.
class NoAuxiliaryFiles {
  public:
    NoAuxiliaryFiles() { CPLSetThreadLocalConfigOption("GDAL_PAM_ENABLED", "NO"); }
    ~NoAuxiliaryFiles() { CPLSetThreadLocalConfigOption("GDAL_PAM_ENABLED", nullptr); }
    NoAuxiliaryFiles(const NoAuxiliaryFiles&) = delete;
    NoAuxiliaryFiles& operator=(const NoAuxiliaryFiles&) = delete;
};

// Writes the grid into the dataset made at `path`; false with the reason.
bool writeDataset(const std::string& path, bool tiff, const ElevationGrid& grid, const LoadedGrid& where,
                  std::string& error)
{
    const FailureLog log;
    const NoAuxiliaryFiles noAuxiliaryFiles;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(tiff ? "GTiff" : "EHdr");
    if (!driver) {
        error = std::string("GDAL has no ") + (tiff ? "GTiff" : "EHdr") + " driver";
        return false;
    }
    CPLStringList options;
    if (tiff)
        for (const char* option : geoTiffOptions)
            options.AddString(option);
    // GDAL does not always say why a file failed (a full disk); errno does.
    errno = 0;
    GDALDatasetUniquePtr dataset(
        driver->Create(path.c_str(), grid.gridCols, grid.gridRows, 1, GDT_Float32, options.List()));
    const bool created = dataset != nullptr;
    int systemError = errno;
    if (created) {
        const DataSetConstants& set = where.constants;
        double transform[6] = {grid.areaWest - set.colStep / 2,  set.colStep, 0,
                               grid.areaNorth + set.rowStep / 2, 0,           -set.rowStep};
        OGRSpatialReference srs;
        srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        GDALRasterBand* band = dataset->GetRasterBand(1);
        if (srs.SetFromUserInput(where.crs.c_str()) != OGRERR_NONE)
            CPLError(CE_Failure, CPLE_AppDefined, "unknown coordinate system %s", where.crs.c_str());
        else if (dataset->SetGeoTransform(transform) == CE_None && dataset->SetSpatialRef(&srs) == CE_None &&
                 band->SetNoDataValue(rasterNoData) == CE_None) {
            std::vector<float> strip(static_cast<std::size_t>(grid.gridCols) * stripRows);
            for (int r = 0; r < grid.gridRows && log.first().empty(); r += stripRows) {
                const int rows = std::min(stripRows, grid.gridRows - r);
                float* value = strip.data();
                for (int n = 0; n < rows; ++n)
                    for (const GridPoint* p = grid.gridRowTable[r + n];
                         p != grid.gridRowTable[r + n] + grid.gridCols; ++p)
                        *value++ = rasterValue(*p, where.constants);
                if (band->RasterIO(GF_Write, 0, r, grid.gridCols, rows, strip.data(), grid.gridCols, rows,
                                   GDT_Float32, 0, 0, nullptr) != CE_None)
                    break;
                dataset->FlushCache(false); // its tiles compress while the next strip is made
            }
        }
        errno = 0;
        dataset.reset(); // closes it: everything reaches the file or fails here
        systemError = errno;
        // A raw raster's last bytes reach the disk as it closes, unchecked.
        struct stat status {};
        const off_t rasterBytes = off_t{grid.gridCols} * grid.gridRows * off_t{sizeof(float)};
        if (!tiff && log.first().empty() &&
            (stat(path.c_str(), &status) != 0 || status.st_size != rasterBytes))
            CPLError(CE_Failure, CPLE_FileIO, "%s",
                     systemError ? std::strerror(systemError) : "the raster was not written whole");
    }
    if (!log.first().empty())
        error = log.first();
    else if (!created)
        error = systemError ? std::strerror(systemError) : "GDAL cannot create it";
    else
        error.clear();
    return error.empty();
}

} // namespace

float rasterValue(const GridPoint& point, const DataSetConstants& set)
{
    return point.sampleState == SampleState::valid && point.elevation >= set.seaTest ? point.elevation
                                                                                     : rasterNoData;
}

std::vector<std::string> rasterFiles(const std::string& out)
{
    if (isTiff(out))
        return {out};
    return {out + ".flt", out + ".hdr", out + ".prj"};
}

bool writeRaster(const std::string& out, const ElevationGrid& grid, const LoadedGrid& where,
                 std::string& error)
{
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    // The raster's file first; GDAL names the others after it.
    std::vector<std::unique_ptr<common::PendingFile>> files;
    for (const std::string& name : rasterFiles(out)) {
        files.push_back(std::make_unique<common::PendingFile>(name, common::PendingFile::ForOtherWriter{}));
        if (!files.back()->error().empty()) {
            error = files.back()->error();
            return false;
        }
    }
    std::string why;
    if (!writeDataset(files.front()->temporaryPath(), isTiff(out), grid, where, why)) {
        error = "cannot write " + files.front()->temporaryPath() + ": " + why;
        return false;
    }
    // All complete before any replaces an older file.
    for (const auto& file : files)
        if (!file->finish()) {
            error = file->error();
            return false;
        }
    for (const auto& file : files)
        if (!file->commit()) {
            error = file->error();
            return false;
        }
    return true;
}

} // namespace orvex
