#include "srtm_voids.h"

#include <cstdint>

namespace demo {

namespace {

// SplitMix64: a fixed, portable sequence (the standard distributions are not
// the same across libraries).
class Sequence {
  public:
    explicit Sequence(std::uint64_t seed) : state_(seed) {}

    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

    int between(int low, int high) { return low + below(high - low + 1); }

  private:
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

constexpr int smallPerTile = 5;
constexpr int largePerTile = 2;
constexpr int largeVoidMaxRadius = 28;
constexpr int attemptsPerPatch = 4000;
constexpr int clearance = 3;       // land and no other void this far around a patch
constexpr float steepGround = 250; // metres; preferred for the first attempts

bool fits(const Raster& area, const std::vector<VoidPatch>& placed, const VoidPatch& p, bool wantHigh)
{
    if (wantHigh && area.at(p.row, p.col) < steepGround)
        return false;
    for (int r = p.row - p.radiusRows - clearance; r <= p.row + p.radiusRows + clearance; ++r) {
        for (int c = p.col - p.radiusCols - clearance; c <= p.col + p.radiusCols + clearance; ++c) {
            if (!insidePatch(p, r, c, clearance))
                continue;
            if (isSea(area.at(r, c)))
                return false;
            for (const VoidPatch& other : placed)
                if (insidePatch(other, r, c, clearance))
                    return false;
        }
    }
    return true;
}

// Tries to place one patch with half-axes drawn from [minRadius, maxRadius]
// in the tile whose north-west sample is (row0, col0).
void placeOne(const Raster& area, std::vector<VoidPatch>& placed, Sequence& sequence, int row0, int col0,
              int tileSize, int minRadius, int maxRadius)
{
    for (int attempt = 0; attempt < attemptsPerPatch; ++attempt) {
        VoidPatch p{0, 0, sequence.between(minRadius, maxRadius), sequence.between(minRadius, maxRadius)};
        // Keep the patch and its clearance strictly inside the tile.
        const int marginRows = p.radiusRows + clearance + 1;
        const int marginCols = p.radiusCols + clearance + 1;
        p.row = row0 + sequence.between(marginRows, tileSize - marginRows);
        p.col = col0 + sequence.between(marginCols, tileSize - marginCols);
        if (fits(area, placed, p, attempt < attemptsPerPatch / 2)) {
            placed.push_back(p);
            return;
        }
    }
}

} // namespace

bool insidePatch(const VoidPatch& patch, int row, int col, int grow)
{
    const double u = static_cast<double>(row - patch.row) / (patch.radiusRows + grow);
    const double v = static_cast<double>(col - patch.col) / (patch.radiusCols + grow);
    return u * u + v * v <= 1.0;
}

std::vector<VoidPatch> placeVoids(const Raster& area, int tileSize)
{
    std::vector<VoidPatch> placed;
    const int tileRows = (area.lattice.rows - 1) / tileSize;
    const int tileCols = (area.lattice.cols - 1) / tileSize;
    for (int tr = 0; tr < tileRows; ++tr) {
        for (int tc = 0; tc < tileCols; ++tc) {
            Sequence sequence(0xD0A1D5ULL + static_cast<std::uint64_t>(tr * 31 + tc));
            for (int k = 0; k < largePerTile; ++k)
                placeOne(area, placed, sequence, tr * tileSize, tc * tileSize, tileSize, largeVoidMinRadius,
                         largeVoidMaxRadius);
            for (int k = 0; k < smallPerTile; ++k)
                placeOne(area, placed, sequence, tr * tileSize, tc * tileSize, tileSize, 1,
                         smallVoidMaxRadius);
        }
    }
    return placed;
}

std::vector<char> voidMask(const Raster& area, const std::vector<VoidPatch>& patches)
{
    std::vector<char> mask(area.metres.size(), 0);
    for (const VoidPatch& p : patches)
        for (int r = p.row - p.radiusRows; r <= p.row + p.radiusRows; ++r)
            for (int c = p.col - p.radiusCols; c <= p.col + p.radiusCols; ++c)
                if (insidePatch(p, r, c))
                    mask[static_cast<std::size_t>(r) * area.lattice.cols + c] = 1;
    return mask;
}

} // namespace demo
