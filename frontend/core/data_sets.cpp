#include "core/data_sets.h"

#include "core/map_state.h"
#include "core/text_fields.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace skyloom {

namespace {

constexpr std::int64_t kHalfMinutesPerDegree = 120;
constexpr std::int64_t kMinutesPerDegree = 60;
constexpr double kSouthLatitude = kSouthLatitudeCode / kLatitudeCodesPerDegree; // 26 N
// Block row 0 begins at 90 N and block column 0 at 180 W; the map's row 0 at
// 26 N and column 0 at 120 E.
constexpr std::int64_t kBlockRowOfMapNorth = (90 - 26) * kBlocksPerDegree - 1;
constexpr std::int64_t kBlockColumnOfMapWest = (180 + 120) * kBlocksPerDegree;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return floorDivide(a, b);
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
}

bool fitsInt(std::int64_t v)
{
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

int clampedInt(double value)
{
    const double limited =
        std::clamp(value, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    return static_cast<int>(
        *roundHalfEven(limited, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int clampedSum(std::int64_t a, std::int64_t b)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(a + b, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// One axis from 50 m sheets to primary squares: the sheet under the middle,
// its square, then the origin that puts it back under the middle.
int originTo250(int origin, double half)
{
    const std::int64_t centre = clampedInt(half + origin);
    const std::int64_t coarse = centre / kSecondaryPerPrimary; // truncated toward zero
    return clampedInt(double(coarse) - half);
}

int originTo50(int origin, double half)
{
    return clampedInt((half + origin) * kSecondaryPerPrimary - half);
}

// Any other pair of grids: the ground under the middle stays there.
int originAcross(int origin, double half, int fromUnits, int toUnits)
{
    return clampedInt((half + origin) * fromUnits / toUnits - half);
}

void shiftView(MapState& state, int originX, int originY)
{
    const std::int64_t dx = std::int64_t{originX} - state.originX;
    const std::int64_t dy = std::int64_t{originY} - state.originY;
    state.originX = originX;
    state.originY = originY;
    state.selX1 = clampedSum(state.selX1, -dx);
    state.selX2 = clampedSum(state.selX2, -dx);
    state.selY1 = clampedSum(state.selY1, -dy);
    state.selY2 = clampedSum(state.selY2, -dy);
}

} // namespace

std::int64_t floorDivide(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

GridUnits unitsOf(Grid grid)
{
    switch (grid) {
    case Grid::primary250:
        return {120, 40, kCols250, kRows250};
    case Grid::block:
        return {60, 30, kColsBlock, kRowsBlock};
    default:
        return {15, 5, kCols50, kRows50};
    }
}

CellRange carryCells(const CellRange& range, Grid from, Grid to)
{
    const GridUnits a = unitsOf(from);
    const GridUnits b = unitsOf(to);
    return {floorDiv(range.x1 * a.lonPerCell, b.lonPerCell), floorDiv(range.y1 * a.latPerCell, b.latPerCell),
            ceilDiv(range.x2 * a.lonPerCell, b.lonPerCell), ceilDiv(range.y2 * a.latPerCell, b.latPerCell)};
}

void switchDataSet(MapState& state, Mesh newMesh)
{
    const Grid from = gridOf(state.meshFlag);
    const Grid to = gridOf(newMesh);
    state.meshFlag = newMesh;
    if (from == to)
        return;
    if (state.selState == Selection::startCell)
        state.selState = Selection::none;
    const CellRange mapRange{
        std::int64_t{state.selX1} + state.originX, std::int64_t{state.selY1} + state.originY,
        std::int64_t{state.selX2} + state.originX, std::int64_t{state.selY2} + state.originY};

    const double halfCols = state.viewCols / 2.0;
    const double halfRows = state.viewRows / 2.0;
    if (from == Grid::sheet50 && to == Grid::primary250) {
        state.originX = originTo250(state.originX, halfCols);
        state.originY = originTo250(state.originY, halfRows);
    } else if (from == Grid::primary250 && to == Grid::sheet50) {
        state.originX = originTo50(state.originX, halfCols);
        state.originY = originTo50(state.originY, halfRows);
    } else {
        const GridUnits a = unitsOf(from);
        const GridUnits b = unitsOf(to);
        state.originX = originAcross(state.originX, halfCols, a.lonPerCell, b.lonPerCell);
        state.originY = originAcross(state.originY, halfRows, a.latPerCell, b.latPerCell);
    }

    if (state.selState != Selection::range)
        return;
    const CellRange carried = carryCells(mapRange, from, to);
    const std::int64_t x1 = carried.x1 - state.originX, x2 = carried.x2 - state.originX;
    const std::int64_t y1 = carried.y1 - state.originY, y2 = carried.y2 - state.originY;
    if (!fitsInt(x1) || !fitsInt(x2) || !fitsInt(y1) || !fitsInt(y2)) {
        state.selState = Selection::none;
        return;
    }
    state.selX1 = int(x1), state.selX2 = int(x2), state.selY1 = int(y1), state.selY2 = int(y2);
}

std::int64_t srtmBlockRow(std::int64_t mapY)
{
    return kBlockRowOfMapNorth - mapY;
}

std::int64_t srtmBlockColumn(std::int64_t mapX)
{
    return kBlockColumnOfMapWest + mapX;
}

DegreeBox degreesOf(const CellRange& range, Grid grid)
{
    const GridUnits u = unitsOf(grid);
    auto lon = [&](std::int64_t x) {
        return kWestLongitude + double(x * u.lonPerCell) / kHalfMinutesPerDegree;
    };
    auto lat = [&](std::int64_t y) { return kSouthLatitude + double(y * u.latPerCell) / kMinutesPerDegree; };
    return {lat(range.y2), lon(range.x1), lat(range.y1), lon(range.x2)};
}

MapCell cellAt(Grid grid, double longitude, double latitude)
{
    const GridUnits u = unitsOf(grid);
    auto cell = [](double v) {
        return int(std::clamp(std::floor(v), double(std::numeric_limits<int>::min()),
                              double(std::numeric_limits<int>::max())));
    };
    return {cell((longitude - kWestLongitude) * kHalfMinutesPerDegree / u.lonPerCell),
            cell((latitude - kSouthLatitude) * kMinutesPerDegree / u.latPerCell)};
}

std::optional<GroundPoint> parsePlace(const QString& text)
{
    const QString place = text.trimmed();
    static const QRegularExpression code(QStringLiteral("^(\\d\\d)(\\d\\d)(?:-?([0-7])([0-7]))?$"));
    if (const QRegularExpressionMatch m = code.match(place); m.hasMatch()) {
        double latitude = m.captured(1).toInt() / kLatitudeCodesPerDegree;
        double longitude = m.captured(2).toInt() + 100.0;
        if (m.hasCaptured(3)) {
            const GridUnits sheet = unitsOf(Grid::sheet50);
            latitude += (m.captured(3).toInt() + 0.5) * sheet.latPerCell / kMinutesPerDegree;
            longitude += (m.captured(4).toInt() + 0.5) * sheet.lonPerCell / double(kHalfMinutesPerDegree);
        } else {
            latitude += 0.5 / kLatitudeCodesPerDegree;
            longitude += 0.5;
        }
        return GroundPoint{longitude, latitude};
    }
    static const QRegularExpression degrees(
        QStringLiteral("^([-+]?\\d+(?:\\.\\d*)?)\\s*(?:,|\\s)\\s*([-+]?\\d+(?:\\.\\d*)?)$"));
    if (const QRegularExpressionMatch m = degrees.match(place); m.hasMatch()) {
        const double latitude = m.captured(1).toDouble();
        const double longitude = m.captured(2).toDouble();
        if (std::abs(latitude) <= 90 && std::abs(longitude) <= 180)
            return GroundPoint{longitude, latitude};
    }
    return std::nullopt;
}

void centreViewOn(MapState& state, const GroundPoint& place)
{
    const MapCell cell = cellAt(gridOf(state.meshFlag), place.longitude, place.latitude);
    shiftView(state, clampedSum(cell.x, -(state.viewCols / 2)), clampedSum(cell.y, -(state.viewRows / 2)));
}

const QString& dataDirOf(const MapState& state, Mesh mesh)
{
    switch (mesh) {
    case Mesh::gsi250:
        return state.dataDir250;
    case Mesh::dem10:
        return state.dataDir10;
    case Mesh::dem5:
        return state.dataDir5;
    case Mesh::srtm:
        return state.dataDirSrtm;
    default:
        return state.dataDir50;
    }
}

QString& dataDirOf(MapState& state, Mesh mesh)
{
    return const_cast<QString&>(dataDirOf(std::as_const(state), mesh));
}

} // namespace skyloom
