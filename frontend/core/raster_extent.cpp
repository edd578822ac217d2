#include "core/raster_extent.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <gdal.h>
#include <memory>
#include <mutex>
#include <ogr_srs_api.h>

namespace skyloom {

namespace {

struct DatasetCloser {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
struct SrsReleaser {
    void operator()(void* srs) const { OSRDestroySpatialReference(srs); }
};
struct TransformReleaser {
    void operator()(void* transform) const { OCTDestroyCoordinateTransformation(transform); }
};

// GDAL's messages stay quiet on this thread while it lives: a file that does
// not open is no error of the map's.
class QuietErrors {
  public:
    QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
};

bool inDegrees(double lon, double lat)
{
    return std::isfinite(lon) && std::isfinite(lat) && std::abs(lon) <= 180 && std::abs(lat) <= 90;
}

} // namespace

std::optional<LonLatBox> rasterExtent(const QString& path)
{
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    const QuietErrors quiet;
    const QByteArray name = QFile::encodeName(path);
    const std::unique_ptr<void, DatasetCloser> dataset(
        GDALOpenEx(name.constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset)
        return std::nullopt;
    std::array<double, 6> g{};
    if (GDALGetGeoTransform(dataset.get(), g.data()) != CE_None)
        return std::nullopt;
    const double cols = GDALGetRasterXSize(dataset.get());
    const double rows = GDALGetRasterYSize(dataset.get());
    std::array<double, 4> x{}, y{};
    const std::array<std::pair<double, double>, 4> corners{{{0, 0}, {cols, 0}, {0, rows}, {cols, rows}}};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const auto [c, r] = corners[i];
        x[i] = g[0] + c * g[1] + r * g[2];
        y[i] = g[3] + c * g[4] + r * g[5];
    }

    const OGRSpatialReferenceH source = GDALGetSpatialRef(dataset.get());
    if (source && !OSRIsGeographic(source)) {
        const std::unique_ptr<void, SrsReleaser> wgs84(OSRNewSpatialReference(nullptr));
        if (OSRImportFromEPSG(wgs84.get(), 4326) != OGRERR_NONE)
            return std::nullopt;
        OSRSetAxisMappingStrategy(wgs84.get(), OAMS_TRADITIONAL_GIS_ORDER);
        const std::unique_ptr<void, SrsReleaser> from(OSRClone(source));
        OSRSetAxisMappingStrategy(from.get(), OAMS_TRADITIONAL_GIS_ORDER);
        const std::unique_ptr<void, TransformReleaser> transform(
            OCTNewCoordinateTransformation(from.get(), wgs84.get()));
        if (!transform || !OCTTransform(transform.get(), 4, x.data(), y.data(), nullptr))
            return std::nullopt;
    }
    for (std::size_t i = 0; i < x.size(); ++i)
        if (!inDegrees(x[i], y[i]))
            return std::nullopt;
    return LonLatBox{*std::min_element(x.begin(), x.end()), *std::min_element(y.begin(), y.end()),
                     *std::max_element(x.begin(), x.end()), *std::max_element(y.begin(), y.end())};
}

} // namespace skyloom
