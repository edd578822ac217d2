#pragma once
// What the two SRTM loaders share: tiles of signed 16-bit samples in metres,
// high byte first, rows from north to south, no header.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

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

// Opens the tile at `path` as binary and reads `count` bytes from `offset`.
// Prints "Reading %s ...\n" with the path opened, or, when nothing opens,
// "*** <missingTag> : %s not found.\n" with the path as built and returns false.
bool readTileBytes(const std::string& path, const char* missingTag, std::int64_t offset, std::size_t count,
                   TileBytes& out);
