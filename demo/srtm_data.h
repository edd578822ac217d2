#pragma once
// The SRTM samples: signed 16-bit metres, high byte first, no header.

#include <cstdint>
#include <string>
#include <vector>

#include "terrain.h"

namespace demo {

constexpr std::int16_t srtmVoid = -32768;
constexpr std::int16_t srtm30Ocean = -9999;
constexpr int srtm3TileSize = 1201;  // samples each way; neighbours share the edges
constexpr int srtm30TileCols = 4800; // 40 degrees of 1/120
constexpr int srtm30TileRows = 6000; // 50 degrees of 1/120

// Land heights in whole metres, at least 1 m so that no land reads as sea.
std::int16_t srtmMetres(float metres);

// An SRTM3 sample: 0 in the sea (as the data set has it).
std::int16_t srtm3Sample(float metres);

// An SRTM30 sample: -9999 in the ocean.
std::int16_t srtm30Sample(float metres);

void appendBigEndian(std::string& out, std::int16_t value);

// The bytes of the SRTM3 tile whose north-west sample is (row0, col0) of the
// area; samples under `voids` (one flag per area sample) are void.
std::string hgtTileBytes(const Raster& area, const std::vector<char>& voids, int row0, int col0);

// The bytes of one SRTM30 row segment: `area` row `row`, every column.
std::string srtm30RowBytes(const Raster& area, int row);

} // namespace demo
