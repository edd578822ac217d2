#pragma once
// Void patches for the SRTM3 tiles, as the real data has them on steep
// ground: small ones that filling along a row or column closes, and larger
// ones that only the coarser SRTM30 data can fill. Patches are placed on
// land, away from the tile edges (neighbouring tiles share those), and apart
// from each other, by a fixed pseudo-random sequence.

#include <vector>

#include "terrain.h"

namespace demo {

struct VoidPatch {
    int row; // centre, in the area's lattice
    int col;
    int radiusRows; // half-axes of the ellipse, in samples
    int radiusCols;
};

// The largest void run across a small patch: filled by the line fill, which
// closes spans of up to 10 (runs of up to 9 voids).
constexpr int smallVoidMaxRadius = 4;
// The smallest half-axis of a large patch: its runs are far longer than 9.
constexpr int largeVoidMinRadius = 12;

// Places the patches for each tile of `tileSize` samples in the area (the
// area is a whole number of tiles, sharing edge rows and columns).
std::vector<VoidPatch> placeVoids(const Raster& area, int tileSize);

// One flag per sample of the area, 1 inside a patch.
std::vector<char> voidMask(const Raster& area, const std::vector<VoidPatch>& patches);

bool insidePatch(const VoidPatch& patch, int row, int col, int grow = 0);

} // namespace demo
