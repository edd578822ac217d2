#include "core/map_cells.h"

namespace skyloom {

Grid gridOf(Mesh mesh)
{
    switch (mesh) {
    case Mesh::gsi250:
        return Grid::primary250;
    case Mesh::srtm:
        return Grid::block;
    default:
        return Grid::sheet50;
    }
}

std::int64_t MeshCode(Mesh mesh, std::int64_t x, std::int64_t y)
{
    if (mesh == Mesh::gsi250)
        return (y + kSouthLatitudeCode) * 100 + (x + kWestLongitudeCode);
    // C++ division truncates toward zero and % keeps the dividend's sign,
    // which is exactly how the codes of cells off the grid are formed.
    const std::int64_t primary = (y / kSecondaryPerPrimary + kSouthLatitudeCode) * 100 +
                                 (x / kSecondaryPerPrimary + kWestLongitudeCode);
    return primary * 100 + (y % kSecondaryPerPrimary) * 10 + (x % kSecondaryPerPrimary);
}

std::optional<MapCell> cellOfCode50(std::int64_t code)
{
    const std::int64_t latitudeCode = code / 10000;
    const std::int64_t longitudeCode = (code % 10000) / 100;
    const std::int64_t rowDigit = (code % 100) / 10;
    const std::int64_t columnDigit = code % 10;
    const std::int64_t x = (longitudeCode - kWestLongitudeCode) * kSecondaryPerPrimary + columnDigit;
    const std::int64_t y = (latitudeCode - kSouthLatitudeCode) * kSecondaryPerPrimary + rowDigit;
    if (x < 0 || x >= kCols50 || y < 0 || y >= kRows50)
        return std::nullopt;
    return MapCell{static_cast<int>(x), static_cast<int>(y)};
}

std::optional<MapCell> cellOfCode250(std::int64_t code)
{
    const std::int64_t x = code % 100 - kWestLongitudeCode;
    const std::int64_t y = code / 100 - kSouthLatitudeCode;
    if (x < 0 || x >= kCols250 || y < 0 || y >= kRows250)
        return std::nullopt;
    return MapCell{static_cast<int>(x), static_cast<int>(y)};
}

double mapUnitX(Mesh mesh, double longitude)
{
    const double x = longitude - kWestLongitude;
    switch (gridOf(mesh)) {
    case Grid::primary250:
        return x;
    case Grid::block:
        return kBlocksPerDegree * x;
    default:
        return kSecondaryPerPrimary * x;
    }
}

double mapUnitY(Mesh mesh, double latitude)
{
    const double y = kLatitudeCodesPerDegree * latitude - kSouthLatitudeCode;
    switch (gridOf(mesh)) {
    case Grid::primary250:
        return y;
    case Grid::block:
        return kBlocksPerDegree * (latitude - kSouthLatitudeCode / kLatitudeCodesPerDegree);
    default:
        return kSecondaryPerPrimary * y;
    }
}

} // namespace skyloom
