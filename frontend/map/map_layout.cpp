#include "map/map_layout.h"

#include "core/map_cells.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace skyloom {

int cellCountForPixels(double pixels, double cellPixels)
{
    // nearbyint rounds ties to even under the default rounding mode.
    const double cells = std::nearbyint(std::fabs(pixels) / cellPixels);
    if (std::isnan(cells))
        return 0;
    if (!(cells < static_cast<double>(std::numeric_limits<int>::max())))
        return std::numeric_limits<int>::max();
    return static_cast<int>(cells);
}

bool isPrimaryEdge(std::int64_t mapLine)
{
    return mapLine % kSecondaryPerPrimary == 0;
}

double nameLeft(int i, int bytes)
{
    return i + 0.5 - kNameCellsPerByte / 2 * bytes;
}

double nameTop(int k)
{
    return k + kNameTopInCell;
}

namespace {

std::optional<float> toSingle(double value)
{
    if (!(std::fabs(value) <= FLT_MAX))
        return std::nullopt;
    return static_cast<float>(value);
}

} // namespace

std::optional<SurfaceSegment> coastOnSurface(const CoastSegment& segment, Mesh mesh, int originX, int originY,
                                             int viewCols, int viewRows)
{
    const auto x1 = toSingle(mapUnitX(mesh, segment.lon1) - originX);
    const auto y1 = toSingle(mapUnitY(mesh, segment.lat1) - originY);
    const auto x2 = toSingle(mapUnitX(mesh, segment.lon2) - originX);
    const auto y2 = toSingle(mapUnitY(mesh, segment.lat2) - originY);
    if (!x1 || !y1 || !x2 || !y2)
        return std::nullopt;
    if (*x1 >= 0 && *x2 <= viewCols && *y1 >= 0 && *y2 <= viewRows)
        return SurfaceSegment{*x1, *y1, *x2, *y2};
    return std::nullopt;
}

int cellUnder(double coordinate)
{
    const double cell = std::floor(coordinate);
    if (!(cell >= std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(cell <= std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(cell);
}

int addClamped(std::int64_t a, std::int64_t b)
{
    const std::int64_t sum = a + b;
    if (sum < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (sum > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(sum);
}

} // namespace skyloom
