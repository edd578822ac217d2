// SRTM3: 3" samples in 1 x 1 degree tiles of 1201 x 1201. The area is a
// rectangle of half-degree blocks of 601 x 601 samples; neighbouring blocks
// share their edge row and column, and the block read later wins there.
// Voids can be filled along lines and then from SRTM30.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/data_file.h"
#include "data/loaders.h"
#include "data/srtm3_line_fill.h"
#include "data/srtm_tiles.h"
#include "state/fatal_error.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

constexpr int blockStep = 600;
constexpr int blockSize = blockStep + 1;
constexpr BlockShape blockShape{blockStep, blockSize};
constexpr std::size_t tileRowBytes = 1201 * 2;
constexpr std::int16_t voidSample = -32768;

// The SRTM30 patch behind one block: 60 x 60 samples of 30".
constexpr int patchSize = 60;
constexpr std::size_t srtm30RowBytes = 4800 * 2;
constexpr int blockRowsPerSrtm30Tile = 100;
constexpr int blockColsPerSrtm30Tile = 80;

using Patch = float[patchSize][patchSize];

// Reads the patch of block (i, j); samples below -500 (sea, no data) and
// samples past an early end of the tile count as 0 m.
bool readPatch(const std::string& srtm30Dir, int i, int j, Patch& patch)
{
    std::string path;
    dem30name(srtm30Dir, i / blockRowsPerSrtm30Tile, j / blockColsPerSrtm30Tile, path);
    TileBytes tile;
    const std::int64_t offset =
        std::int64_t{i % blockRowsPerSrtm30Tile} * patchSize * std::int64_t{srtm30RowBytes};
    if (!readTileBytes(path, "WARNING", offset, patchSize * srtm30RowBytes, tile))
        return false;
    const std::size_t firstSampleByte = std::size_t{2} * patchSize * (j % blockColsPerSrtm30Tile);
    for (int r = 0; r < patchSize; ++r) {
        for (int c = 0; c < patchSize; ++c) {
            const std::size_t sampleOffset = r * srtm30RowBytes + firstSampleByte + 2 * c;
            const int value = tile.has(sampleOffset) ? tile.sample(sampleOffset) : 0;
            patch[r][c] = value < -500 ? 0.0f : static_cast<float>(value);
        }
    }
    return true;
}

// The patch cell for block offset n (0 to 600) and the weight of the next
// cell. The patch samples lie at offsets 5, 15, ..., 595; outside them the
// nearest cell is extrapolated (weights below 0 or above 1).
void patchCell(int n, int& cell, double& weight)
{
    cell = (n - 5) / 10; // truncates toward zero, so 0 to 4 give 0
    if (cell == patchSize - 1)
        cell = patchSize - 2;
    weight = (n - 5) / 10.0 - cell;
}

// Every valid sample at or below 0 m is sea; every point still without a
// valid sample is set to 0 m and keeps its state, so it stays undrawn.
void markSea(ElevationGrid& grid)
{
    const std::int64_t count = std::int64_t{grid.gridRows} * grid.gridCols;
    GridPoint* points = grid.points.get();
    for (std::int64_t n = 0; n < count; ++n) {
        GridPoint& point = points[n];
        if (point.sampleState == SampleState::valid) {
            if (point.elevation <= 0)
                point.elevation = seaElevation;
        } else {
            point.elevation = 0;
        }
    }
}

} // namespace

void dem3name(const std::string& dir, int degreeRow, int degreeCol, std::string& path)
{
    if (degreeRow < 0 || degreeRow > 179 || degreeCol < 0 || degreeCol > 359)
        fatalError("*** dem3name-1.");
    path = dir + "/" + (degreeRow < 90 ? "n" : "s") + padNumber(std::abs(89 - degreeRow), 2, '0') +
           (degreeCol < 180 ? "w" : "e") + padNumber(std::abs(180 - degreeCol), 3, '0') + ".hgt";
}

void readsrtm3block(ElevationGrid& grid, const std::string& dir, int i, int j, int p1, int p2)
{
    std::int64_t rowOrigin = 0;
    std::int64_t colOrigin = 0;
    if (!blockOrigin(grid, blockShape, i, j, p1, p2, rowOrigin, colOrigin))
        return;
    std::string path;
    dem3name(dir, i / 2, j / 2, path);
    TileBytes tile;
    const std::int64_t offset = std::int64_t{i % 2} * blockStep * std::int64_t{tileRowBytes};
    if (!readTileBytes(path, "SRTM3", offset, blockSize * tileRowBytes, tile))
        return;

    // A tile that ends early leaves the rest without a tile's sample.
    copyBlock(grid, tile, blockShape, rowOrigin, colOrigin, tileRowBytes,
              std::size_t{2} * blockStep * (j % 2), [](GridPoint& point, std::int16_t sample) {
                  point.elevation = sample;
                  point.sampleState = sample == voidSample ? SampleState::dataVoid : SampleState::valid;
              });
}

void fillsrtm3block(ElevationGrid& grid, const std::string& srtm30Dir, int i, int j, int p1, int p2)
{
    std::int64_t rowOrigin = 0;
    std::int64_t colOrigin = 0;
    if (!blockOrigin(grid, blockShape, i, j, p1, p2, rowOrigin, colOrigin))
        return;
    Patch patch;
    if (!readPatch(srtm30Dir, i, j, patch))
        return;

    for (int m = 0; m < blockSize; ++m) {
        int o = 0;
        double w = 0;
        patchCell(m, o, w);
        GridPoint* row = grid.gridRowTable[rowOrigin + m] + colOrigin;
        for (int k = 0; k < blockSize; ++k) {
            if (row[k].sampleState == SampleState::valid)
                continue;
            int t = 0;
            double v = 0;
            patchCell(k, t, v);
            row[k].elevation =
                static_cast<float>((1 - w) * (1 - v) * patch[o][t] + w * (1 - v) * patch[o + 1][t] +
                                   (1 - w) * v * patch[o][t + 1] + w * v * patch[o + 1][t + 1]);
            row[k].sampleState = SampleState::valid;
        }
    }
}

void readsrtm3(ElevationGrid& grid, const std::string& dir, int p1, int p2, int p3, int p4, int mode,
               const std::string& srtm30Dir)
{
    if (!(0 <= p1 && p1 <= p3 && p3 < 300 && 0 <= p2 && p2 <= p4 && p4 < 720))
        fatalError("*** ERROR srtm3 : argument.");
    if (mode < 0 || mode > 2)
        fatalError("*** ERROR srtm3 : argument.");
    allocategrid(grid, std::int64_t{blockStep} * (p3 - p1) + blockSize,
                 std::int64_t{blockStep} * (p4 - p2) + blockSize, srtm3Constants);
    // The SRTM30 files of mode 2 are read only where voids are left: not counted ahead.
    loadProgress().addFilesToRead(static_cast<long long>(p3 - p1 + 1) * (p4 - p2 + 1));

    for (int i = p1; i <= p3; ++i)
        for (int j = p2; j <= p4; ++j)
            readsrtm3block(grid, dir, i, j, p1, p2);
    if (mode == 1 || mode == 2)
        fillsrtm3lines(grid, mode);
    if (mode == 2) {
        for (int i = p1; i <= p3; ++i)
            for (int j = p2; j <= p4; ++j)
                fillsrtm3block(grid, srtm30Dir, i, j, p1, p2);
    }
    markSea(grid);

    grid.areaNorth = 90 - p1 / 2.0;
    grid.areaSouth = 90 - (p3 + 1) / 2.0;
    grid.areaWest = p2 / 2.0 - 180;
    grid.areaEast = (p4 + 1) / 2.0 - 180;
    grid.mountainShiftY = 0;
    grid.mountainShiftX = 0;
    grid.labelLift = 500;
    finishgrid(grid, srtm3Constants);
}

void readsrtm3block(const std::string& dir, int i, int j, int p1, int p2)
{
    readsrtm3block(grid, dir, i, j, p1, p2);
}

void fillsrtm3block(const std::string& srtm30Dir, int i, int j, int p1, int p2)
{
    fillsrtm3block(grid, srtm30Dir, i, j, p1, p2);
}

void readsrtm3(const std::string& dir, int p1, int p2, int p3, int p4, int mode, const std::string& srtm30Dir)
{
    readsrtm3(grid, dir, p1, p2, p3, p4, mode, srtm30Dir);
}

} // namespace orvex
