#include "srtm_data.h"

#include <algorithm>
#include <cmath>

namespace demo {

std::int16_t srtmMetres(float metres)
{
    const long rounded = std::lround(metres);
    return static_cast<std::int16_t>(std::clamp(rounded, 1L, 32767L));
}

std::int16_t srtm3Sample(float metres)
{
    return isSea(metres) ? std::int16_t{0} : srtmMetres(metres);
}

std::int16_t srtm30Sample(float metres)
{
    return isSea(metres) ? srtm30Ocean : srtmMetres(metres);
}

void appendBigEndian(std::string& out, std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    out += static_cast<char>(bits >> 8);
    out += static_cast<char>(bits & 0xFF);
}

std::string hgtTileBytes(const Raster& area, const std::vector<char>& voids, int row0, int col0)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(srtm3TileSize) * srtm3TileSize * 2);
    for (int r = row0; r < row0 + srtm3TileSize; ++r) {
        for (int c = col0; c < col0 + srtm3TileSize; ++c) {
            const bool isVoid = voids[static_cast<std::size_t>(r) * area.lattice.cols + c] != 0;
            appendBigEndian(out, isVoid ? srtmVoid : srtm3Sample(area.at(r, c)));
        }
    }
    return out;
}

std::string srtm30RowBytes(const Raster& area, int row)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(area.lattice.cols) * 2);
    for (int c = 0; c < area.lattice.cols; ++c)
        appendBigEndian(out, srtm30Sample(area.at(row, c)));
    return out;
}

} // namespace demo
