#include "data/srtm_tiles.h"

#include "data/data_file.h"

namespace orvex {

bool readTileBytes(const std::string& path, const char* missingTag, std::int64_t offset, std::size_t count,
                   TileBytes& out)
{
    const FileHandle file = openAnnounced(path, "rb", missingTag);
    if (!file)
        return false;
    out.bytes = std::make_unique_for_overwrite<unsigned char[]>(count);
    out.available = readBytesAt(file.get(), offset, out.bytes.get(), count);
    return true;
}

bool blockOrigin(const ElevationGrid& grid, const BlockShape& shape, int i, int j, int p1, int p2,
                 std::int64_t& row, std::int64_t& col)
{
    row = std::int64_t{shape.step} * (std::int64_t{i} - p1);
    col = std::int64_t{shape.step} * (std::int64_t{j} - p2);
    return i >= 0 && j >= 0 && row >= 0 && col >= 0 && row + shape.size <= grid.gridRows &&
           col + shape.size <= grid.gridCols;
}

} // namespace orvex
