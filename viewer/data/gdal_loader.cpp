// Any elevation raster that GDAL reads (GeoTIFF, SRTM .hgt, VRT and the rest
// of its formats), or a folder of them mosaicked in memory as gdalbuildvrt
// would. The area is one geographic grid at the source's own resolution, its
// points on the source's pixel centres; a projected source is first warped to
// its geographic coordinate system through GDAL's warper. As in SRTM3, no-data
// is a void and samples at or below 0 m are sea.
#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <gdalwarper.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "data/loaders.h"
#include "state/fatal_error.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

// A box edge this close to a pixel edge (in pixels) counts as on it.
constexpr double snapTolerance = 1e-6;
constexpr int stripValues = 1 << 18; // 1 MiB of floats

[[noreturn]] void fail(const std::string& text)
{
    fatalError("*** GDAL : " + text);
}

// GDAL's own messages are kept for ours rather than printed.
class QuietErrors {
  public:
    QuietErrors()
    {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

    // GDAL's last message, as " (message)", or nothing.
    static std::string last()
    {
        const char* message = CPLGetLastErrorMsg();
        return message && *message ? std::string(" (") + message + ")" : std::string();
    }
};

struct Extent {
    double west;
    double south;
    double east;
    double north;

    bool meets(const GeoBox& box) const
    {
        return west <= box.east && box.west <= east && south <= box.north && box.south <= north;
    }
    std::string text() const
    {
        char line[160];
        std::snprintf(line, sizeof line, "north %.6f, west %.6f, south %.6f, east %.6f", north, west, south,
                      east);
        return line;
    }
};

bool usableGeoTransform(const double gt[6])
{
    return std::all_of(gt, gt + 6, [](double v) { return std::isfinite(v); }) && gt[1] != 0 && gt[5] != 0;
}

// The geographic coordinate system behind a source's: its own when it is
// geographic, the base of a projected one, WGS 84 when it names none.
OGRSpatialReference geographicOf(const OGRSpatialReference* srs)
{
    OGRSpatialReference geographic;
    if (!srs || srs->IsEmpty() || geographic.CopyGeogCSFrom(srs) != OGRERR_NONE)
        geographic.SetWellKnownGeogCS("WGS84");
    geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return geographic;
}

bool isGeographic(const OGRSpatialReference* srs)
{
    return !srs || srs->IsEmpty() || srs->IsGeographic();
}

// The dataset's extent in degrees of its geographic coordinate system.
std::optional<Extent> extentOf(GDALDataset& dataset)
{
    double gt[6];
    if (dataset.GetGeoTransform(gt) != CE_None || !usableGeoTransform(gt))
        return std::nullopt;
    const double w = dataset.GetRasterXSize(), h = dataset.GetRasterYSize();
    const double xs[4] = {gt[0], gt[0] + w * gt[1], gt[0] + h * gt[2], gt[0] + w * gt[1] + h * gt[2]};
    const double ys[4] = {gt[3], gt[3] + w * gt[4], gt[3] + h * gt[5], gt[3] + w * gt[4] + h * gt[5]};
    Extent extent{*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4), *std::max_element(xs, xs + 4),
                  *std::max_element(ys, ys + 4)};
    const OGRSpatialReference* srs = dataset.GetSpatialRef();
    if (isGeographic(srs))
        return extent;
    const OGRSpatialReference geographic = geographicOf(srs);
    const std::unique_ptr<OGRCoordinateTransformation> transform(
        OGRCreateCoordinateTransformation(srs, &geographic));
    Extent degrees{};
    if (!transform ||
        !transform->TransformBounds(extent.west, extent.south, extent.east, extent.north, &degrees.west,
                                    &degrees.south, &degrees.east, &degrees.north, 21))
        return std::nullopt;
    return degrees;
}

GDALDatasetUniquePtr openRaster(const std::string& path)
{
    return GDALDatasetUniquePtr(
        GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR));
}

// Files beside rasters that GDAL would open as rasters of their own.
bool isSidecar(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    for (const char* end : {".ovr", ".aux.xml", ".msk"})
        if (name.ends_with(end))
            return true;
    return false;
}

// The rasters of a folder that meet the box, mosaicked in an in-memory VRT;
// each is announced. Ends when none meets the box.
GDALDatasetUniquePtr openFolder(const std::string& folder, const GeoBox& box)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && !isSidecar(entry.path()))
            names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());

    std::vector<std::string> meeting;
    std::optional<Extent> all;
    for (const std::string& name : names) {
        GDALDatasetUniquePtr dataset = openRaster(name);
        if (!dataset)
            continue;
        const std::optional<Extent> extent = extentOf(*dataset);
        if (!extent)
            continue;
        all = all ? Extent{std::min(all->west, extent->west), std::min(all->south, extent->south),
                           std::max(all->east, extent->east), std::max(all->north, extent->north)}
                  : *extent;
        if (extent->meets(box))
            meeting.push_back(name);
    }
    if (!all)
        fail("no raster that GDAL opens in " + folder + ".");
    if (meeting.empty())
        fail("the area misses " + folder + ", whose rasters cover " + all->text() + ".");

    loadProgress().addFilesToRead(static_cast<long long>(meeting.size()));
    std::vector<const char*> paths;
    for (const std::string& name : meeting) {
        loadProgress().print("Reading " + name + " ...\n", 1);
        paths.push_back(name.c_str());
    }
    int usageError = 0;
    GDALDatasetUniquePtr mosaic(GDALDataset::FromHandle(
        GDALBuildVRT("", static_cast<int>(paths.size()), nullptr, paths.data(), nullptr, &usageError)));
    if (!mosaic)
        fail("cannot mosaic the rasters of " + folder + QuietErrors::last() + ".");
    return mosaic;
}

// A window of the source's pixels, [first, end) in each direction.
struct Window {
    std::int64_t row0, rowEnd, col0, colEnd;
};

// The pixels that the box touches, snapped outward, clipped to the raster.
std::optional<Window> windowOf(const double gt[6], int width, int height, const GeoBox& box)
{
    const auto pixel = [](double value, double origin, double step, int size) {
        return std::clamp((value - origin) / step, -1.0, size + 1.0);
    };
    const double c0 = pixel(box.west, gt[0], gt[1], width), c1 = pixel(box.east, gt[0], gt[1], width);
    const double r0 = pixel(box.north, gt[3], gt[5], height), r1 = pixel(box.south, gt[3], gt[5], height);
    Window window{static_cast<std::int64_t>(std::floor(std::min(r0, r1) + snapTolerance)),
                  static_cast<std::int64_t>(std::ceil(std::max(r0, r1) - snapTolerance)),
                  static_cast<std::int64_t>(std::floor(std::min(c0, c1) + snapTolerance)),
                  static_cast<std::int64_t>(std::ceil(std::max(c0, c1) - snapTolerance))};
    window.rowEnd = std::max(window.rowEnd, window.row0 + 1); // a box on one pixel row still takes it
    window.colEnd = std::max(window.colEnd, window.col0 + 1);
    window.row0 = std::max<std::int64_t>(window.row0, 0);
    window.col0 = std::max<std::int64_t>(window.col0, 0);
    window.rowEnd = std::min<std::int64_t>(window.rowEnd, height);
    window.colEnd = std::min<std::int64_t>(window.colEnd, width);
    if (window.row0 >= window.rowEnd || window.col0 >= window.colEnd)
        return std::nullopt;
    return window;
}

// Which read values are voids: the band's no-data value, anything not finite,
// and what its mask (if it has one of its own) marks as missing.
class VoidTest {
  public:
    explicit VoidTest(GDALRasterBand& band)
    {
        int hasNoData = 0;
        const double noData = band.GetNoDataValue(&hasNoData);
        comparable_ = hasNoData && std::isfinite(noData) && std::fabs(noData) <= FLT_MAX;
        noData_ = comparable_ ? static_cast<float>(noData) : 0.0f;
        const int flags = band.GetMaskFlags();
        if (!(flags & (GMF_ALL_VALID | GMF_NODATA)))
            mask_ = band.GetMaskBand();
    }
    bool isVoid(float value) const { return !std::isfinite(value) || (comparable_ && value == noData_); }
    GDALRasterBand* mask() const { return mask_; }

  private:
    bool comparable_ = false;
    float noData_ = 0;
    GDALRasterBand* mask_ = nullptr;
};

// One read value into its point: a void, sea, or land.
void store(GridPoint& point, float value, bool masked, const VoidTest& voids)
{
    if (masked || voids.isVoid(value)) {
        point.elevation = 0;
        point.sampleState = SampleState::dataVoid;
    } else {
        point.elevation = value <= 0 ? seaElevation : value;
        point.sampleState = SampleState::valid;
    }
}

// Reads every step-th pixel of the window into the grid: full rows of the
// window, a strip small enough to stay in the cache at a time.
void readWindow(ElevationGrid& grid, GDALRasterBand& band, const Window& window, int step,
                const std::string& source)
{
    const VoidTest voids(band);
    const int sampleBytes = GDALGetDataTypeSizeBytes(band.GetRasterDataType());
    const int col0 = static_cast<int>(window.col0);
    const int windowCols = static_cast<int>(window.colEnd - window.col0);
    const int stripHeight = step == 1 ? std::max(1, stripValues / windowCols) : 1;
    std::vector<float> values(static_cast<std::size_t>(windowCols) * stripHeight);
    std::vector<GByte> mask(voids.mask() ? values.size() : 0);
    for (int r = 0; r < grid.gridRows; r += stripHeight) {
        const int rows = std::min(stripHeight, grid.gridRows - r);
        const int sourceRow = static_cast<int>(window.row0 + std::int64_t{r} * step);
        if (band.RasterIO(GF_Read, col0, sourceRow, windowCols, rows, values.data(), windowCols, rows,
                          GDT_Float32, 0, 0, nullptr) != CE_None ||
            (voids.mask() && voids.mask()->RasterIO(GF_Read, col0, sourceRow, windowCols, rows, mask.data(),
                                                    windowCols, rows, GDT_Byte, 0, 0, nullptr) != CE_None))
            fail("cannot read " + source + QuietErrors::last() + ".");
        loadProgress().addBytesRead(static_cast<std::uint64_t>(windowCols) * rows * sampleBytes);
        for (int n = 0; n < rows; ++n) {
            GridPoint* row = grid.gridRowTable[r + n];
            const float* line = values.data() + std::size_t(n) * windowCols;
            const GByte* lineMask = mask.empty() ? nullptr : mask.data() + std::size_t(n) * windowCols;
            for (int c = 0, s = 0; c < grid.gridCols; ++c, s += step)
                store(row[c], line[s], lineMask && lineMask[s] == 0, voids);
        }
    }
}

} // namespace

int decimationFor(std::int64_t rows, std::int64_t cols, std::int64_t maxPoints)
{
    maxPoints = std::max<std::int64_t>(maxPoints, 1);
    const auto points = [&](std::int64_t step) { return ((rows - 1) / step + 1) * ((cols - 1) / step + 1); };
    std::int64_t step = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::sqrt(static_cast<double>(rows) * cols / maxPoints)) - 1);
    while (points(step) > maxPoints) // the estimate is never above the answer
        ++step;
    return static_cast<int>(std::min<std::int64_t>(step, std::max(rows, cols)));
}

GdalArea readgdal(ElevationGrid& grid, const std::string& source, const GeoBox& box, std::int64_t maxPoints)
{
    const bool boxValid = std::isfinite(box.north) && std::isfinite(box.south) && std::isfinite(box.west) &&
                          std::isfinite(box.east) && -90 <= box.south && box.south <= box.north &&
                          box.north <= 90 && -180 <= box.west && box.west <= box.east && box.east <= 180;
    if (!boxValid)
        fatalError("*** ERROR gdal : argument.");
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    const QuietErrors quiet;

    std::error_code error;
    GDALDatasetUniquePtr dataset;
    if (std::filesystem::is_directory(source, error)) {
        dataset = openFolder(source, box);
    } else {
        dataset = openRaster(source);
        if (!dataset)
            fail("cannot open " + source + QuietErrors::last() + ".");
        loadProgress().addFilesToRead(1);
        loadProgress().print("Reading " + source + " ...\n", 1);
    }
    // One band, or one and its alpha band (which then marks the voids).
    const int bands = dataset->GetRasterCount();
    if (bands != 1 && !(bands == 2 && dataset->GetRasterBand(2)->GetColorInterpretation() == GCI_AlphaBand))
        fail(source + " is not single-band elevation: it has " + std::to_string(bands) + " bands.");
    GDALRasterBand* band = dataset->GetRasterBand(1);
    if (GDALDataTypeIsComplex(band->GetRasterDataType()) ||
        band->GetColorInterpretation() == GCI_PaletteIndex)
        fail(source + " is not single-band elevation: its band holds colours or complex values.");
    double gt[6];
    if (dataset->GetGeoTransform(gt) != CE_None || !usableGeoTransform(gt))
        fail(source + " has no georeferencing.");

    // A projected, rotated or south-up source goes through the warper to a
    // north-up geographic grid at its equivalent resolution.
    const OGRSpatialReference* srs = dataset->GetSpatialRef();
    const OGRSpatialReference geographic = geographicOf(srs);
    GDALDatasetUniquePtr warped;
    if (!isGeographic(srs) || gt[2] != 0 || gt[4] != 0 || gt[1] < 0 || gt[5] > 0) {
        char* wkt = nullptr;
        geographic.exportToWkt(&wkt);
        const std::string target = wkt ? wkt : "";
        CPLFree(wkt);
        warped.reset(GDALDataset::FromHandle(GDALAutoCreateWarpedVRT(GDALDataset::ToHandle(dataset.get()),
                                                                     nullptr, target.c_str(),
                                                                     GRA_NearestNeighbour, 0.125, nullptr)));
        if (!warped || warped->GetGeoTransform(gt) != CE_None || !usableGeoTransform(gt))
            fail("cannot warp " + source + " to geographic coordinates" + QuietErrors::last() + ".");
        band = warped->GetRasterBand(1);
    }
    GDALDataset& raster = warped ? *warped : *dataset;
    if (std::fabs(gt[1]) > 360 || std::fabs(gt[5]) > 180) // no pixel is larger than the globe
        fail(source + " has no georeferencing.");

    const std::optional<Window> window = windowOf(gt, raster.GetRasterXSize(), raster.GetRasterYSize(), box);
    if (!window) {
        const std::optional<Extent> extent = extentOf(raster);
        fail("the area misses " + source + ", which covers " + (extent ? extent->text() : "nothing") + ".");
    }
    const std::int64_t windowRows = window->rowEnd - window->row0, windowCols = window->colEnd - window->col0;
    const int step = decimationFor(windowRows, windowCols, maxPoints);
    if (step > 1) {
        const char* suffix = step == 2 ? "nd" : step == 3 ? "rd" : "th";
        loadProgress().print(
            "*** GDAL : the area needs more points than this machine's memory holds; every " +
            std::to_string(step) + suffix + " sample is read.\n");
    }

    const double rowStep = step * std::fabs(gt[5]), colStep = step * gt[1];
    GdalArea area{{rowStep, colStep, rowStep * metresPerDegree, colStep * metresPerDegree, 0.0f,
                   SampleState::noTile, -500, -seaElevation},
                  {}};
    allocategrid(grid, (windowRows - 1) / step + 1, (windowCols - 1) / step + 1, area.constants);
    readWindow(grid, *band, *window, step, source);

    grid.areaNorth = gt[3] + (window->row0 + 0.5) * gt[5];
    grid.areaWest = gt[0] + (window->col0 + 0.5) * gt[1];
    grid.areaSouth = grid.areaNorth - (grid.gridRows - 1) * rowStep;
    grid.areaEast = grid.areaWest + (grid.gridCols - 1) * colStep;
    grid.mountainShiftY = 0;
    grid.mountainShiftX = 0;
    grid.labelLift = 500;
    finishgrid(grid, area.constants);

    char* wkt = nullptr;
    geographic.exportToWkt(&wkt);
    area.crs = wkt ? wkt : "";
    CPLFree(wkt);
    return area;
}

GdalArea readgdal(const std::string& source, const GeoBox& box)
{
    return readgdal(grid, source, box);
}

} // namespace orvex
