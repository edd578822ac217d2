// SRTM30: 30" samples in tiles of 40 x 50 degrees (6000 rows of 4800
// samples). The area is a rectangle of 5-degree blocks of 600 x 600 samples;
// blocks do not overlap.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/loaders.h"
#include "data/srtm_tiles.h"
#include "state/fatal_error.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

constexpr int blockSize = 600;
constexpr BlockShape blockShape{blockSize, blockSize};
constexpr int blockRowsPerTile = 10;
constexpr int blockColsPerTile = 8;
constexpr std::size_t tileRowBytes = 4800 * 2;
constexpr std::size_t blockBytes = blockSize * tileRowBytes;

constexpr std::array<std::string_view, 9> longitudeParts = {"w180", "w140", "w100", "w060", "w020",
                                                            "e020", "e060", "e100", "e140"};
constexpr std::array<std::string_view, 3> latitudeParts = {"n90", "n40", "s10"};

} // namespace

void dem30name(const std::string& dir, int tileRow, int tileCol, std::string& path)
{
    if (tileRow < 0 || tileRow >= static_cast<int>(latitudeParts.size()) || tileCol < 0 ||
        tileCol >= static_cast<int>(longitudeParts.size()))
        fatalError("*** dem30name-1.");
    path = dir + "/";
    path += longitudeParts[tileCol];
    path += latitudeParts[tileRow];
    path += ".dem";
}

void readsrtm30block(ElevationGrid& grid, const std::string& dir, int i, int j, int p1, int p2)
{
    std::int64_t rowOrigin = 0;
    std::int64_t colOrigin = 0;
    if (!blockOrigin(grid, blockShape, i, j, p1, p2, rowOrigin, colOrigin))
        return; // not a block of this grid
    std::string path;
    dem30name(dir, i / blockRowsPerTile, j / blockColsPerTile, path);
    TileBytes tile;
    if (!readTileBytes(path, "SRTM30", std::int64_t{i % blockRowsPerTile} * std::int64_t{blockBytes},
                       blockBytes, tile))
        return;
    // A tile that ends early leaves the rest at 0 m.
    copyBlock(grid, tile, blockShape, rowOrigin, colOrigin, tileRowBytes,
              std::size_t{2} * blockSize * (j % blockColsPerTile),
              [](GridPoint& point, std::int16_t sample) { point.elevation = sample; });
}

void readsrtm30(ElevationGrid& grid, const std::string& dir, int p1, int p2, int p3, int p4)
{
    if (!(0 <= p1 && p1 <= p3 && p3 < 30 && 0 <= p2 && p2 <= p4 && p4 < 72))
        fatalError("*** ERROR srtm30 : argument.");
    allocategrid(grid, std::int64_t{blockSize} * (p3 - p1 + 1), std::int64_t{blockSize} * (p4 - p2 + 1),
                 srtm30Constants);
    loadProgress().addFilesToRead(static_cast<long long>(p3 - p1 + 1) * (p4 - p2 + 1));
    for (int i = p1; i <= p3; ++i)
        for (int j = p2; j <= p4; ++j)
            readsrtm30block(grid, dir, i, j, p1, p2);

    grid.areaNorth = 90 - 5 * p1;
    grid.areaSouth = 85 - 5 * p3;
    grid.areaWest = 5 * p2 - 180;
    grid.areaEast = 5 * p4 - 175;
    grid.mountainShiftY = 0;
    grid.mountainShiftX = 0;
    grid.labelLift = 1000;
    finishgrid(grid, srtm30Constants);
}

void readsrtm30block(const std::string& dir, int i, int j, int p1, int p2)
{
    readsrtm30block(grid, dir, i, j, p1, p2);
}

void readsrtm30(const std::string& dir, int p1, int p2, int p3, int p4)
{
    readsrtm30(grid, dir, p1, p2, p3, p4);
}

} // namespace orvex
