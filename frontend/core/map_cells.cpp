#include "core/map_cells.h"

namespace skyloom {

std::int64_t MeshCode(int meshFlag, std::int64_t x, std::int64_t y)
{
    if (meshFlag == kMesh250)
        return (y + 39) * 100 + (x + 20);
    // C++ division truncates toward zero and % keeps the dividend's sign,
    // which is exactly how the codes of cells off the grid are formed.
    return (y / 8 + 39) * 10000 + (x / 8 + 20) * 100 + (y % 8) * 10 + (x % 8);
}

std::optional<MapCell> cellOfCode50(std::int64_t code)
{
    const std::int64_t latitudeCode = code / 10000;
    const std::int64_t longitudeCode = (code % 10000) / 100;
    const std::int64_t rowDigit = (code % 100) / 10;
    const std::int64_t columnDigit = code % 10;
    const std::int64_t x = (longitudeCode - 20) * 8 + columnDigit;
    const std::int64_t y = (latitudeCode - 39) * 8 + rowDigit;
    if (x < 0 || x >= kCols50 || y < 0 || y >= kRows50)
        return std::nullopt;
    return MapCell{static_cast<int>(x), static_cast<int>(y)};
}

std::optional<MapCell> cellOfCode250(std::int64_t code)
{
    const std::int64_t longitudeCode = code % 100;
    const std::int64_t latitudeCode = code / 100;
    if (longitudeCode < 20 || longitudeCode >= 50 || latitudeCode < 39 || latitudeCode > 74)
        return std::nullopt;
    return MapCell{static_cast<int>(longitudeCode - 20), static_cast<int>(latitudeCode - 39)};
}

double mapUnitX(int meshFlag, double longitude)
{
    const double x = longitude - 120.0;
    return meshFlag == kMesh250 ? x : 8.0 * x;
}

double mapUnitY(int meshFlag, double latitude)
{
    const double y = 1.5 * latitude - 39.0;
    return meshFlag == kMesh250 ? y : 8.0 * y;
}

} // namespace skyloom
