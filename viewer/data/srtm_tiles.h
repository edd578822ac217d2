#pragma once
// What the two SRTM loaders share: tiles of signed 16-bit samples in metres,
// high byte first, rows from north to south, no header, read a block of the
// area at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "state/grid.h"

namespace orvex {

// Consecutive bytes read from a tile: as many as were asked for, unless the
// tile ended early.
struct TileBytes {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t available = 0;

    // Whether the whole sample at `offset` was read.
    bool has(std::size_t offset) const { return offset + 2 <= available; }
    std::int16_t sample(std::size_t offset) const
    {
        return static_cast<std::int16_t>(
            static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]));
    }
};

// Opens the tile at `path` as binary, announced as openAnnounced does, and
// reads `count` bytes from `offset`; false when it does not open.
bool readTileBytes(const std::string& path, const char* missingTag, std::int64_t offset, std::size_t count,
                   TileBytes& out);

// A square block of `size` points a side whose origin lies `step` points
// from its neighbours' (blocks of 600 points, or of 601 sharing an edge).
struct BlockShape {
    int step;
    int size;
};

// The grid position of block (i, j)'s first point in an area whose first
// block is (p1, p2); false when the block does not lie inside the grid.
bool blockOrigin(const ElevationGrid& grid, const BlockShape& shape, int i, int j, int p1, int p2,
                 std::int64_t& row, std::int64_t& col);

// Hands every sample of a block to store(point, sample), row by row, from the
// block's origin in the grid: the
// block's rows lie `rowBytes` apart in `tile`, its first sample at
// `firstByte`. Stops where the tile ended early.
template <typename Store>
void copyBlock(ElevationGrid& grid, const TileBytes& tile, const BlockShape& shape, std::int64_t rowOrigin,
               std::int64_t colOrigin, std::size_t rowBytes, std::size_t firstByte, Store store)
{
    for (int n = 0; n < shape.size; ++n) {
        GridPoint* row = grid.gridRowTable[rowOrigin + n] + colOrigin;
        const std::size_t rowStart = n * rowBytes + firstByte;
        for (int s = 0; s < shape.size; ++s) {
            const std::size_t offset = rowStart + 2 * s;
            if (!tile.has(offset))
                return;
            store(row[s], tile.sample(offset));
        }
    }
}

} // namespace orvex
