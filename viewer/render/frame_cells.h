#pragma once
// Which grid cells a frame draws, as plain logic. A cell at step s has the
// corners P(i - s, j - s), P(i, j - s), P(i, j), P(i - s, j) for i, j
// multiples of s; it is drawn when its corner P(i, j) lies within the
// horizontal range of the eye and all four corners hold valid samples.
//
// The fast path also drops whole blocks of cells that lie outside the view
// frustum: they would give no pixels. It lists the remaining cells in the same
// row-by-row order as the cell-by-cell path, as index triples into the grid's
// block of points.

#include <cstdint>
#include <vector>

#include "state/grid.h"

namespace orvex {

bool cornerInRange(const GridPoint& corner, const float eye[3], double rangeSquared);
bool cellCornersValid(const ElevationGrid& grid, int i, int j, int step);

// The two triangles a cell's polygon is split into, as offsets of its four
// corners c0 = P(i - s, j - s), c1 = P(i, j - s), c2 = P(i, j), c3 = P(i - s, j).
constexpr int cellTriangleCorners[6] = {1, 2, 0, 2, 3, 0};

// Six planes a y + b x + c z + d >= 0 bounding what the camera sees.
struct Frustum {
    double planes[6][4];
};

// From projection x model-view, both 4 x 4 and column-major as GL keeps them.
Frustum frustumFromMatrices(const double projection[16], const double modelView[16]);

// True when the box lies wholly outside one of the planes (a little margin
// keeps rounding from dropping a box that touches the view).
bool boxOutside(const Frustum& frustum, const float low[3], const float high[3]);

// Cells of one block: corners i in (firstRow, lastRow], j in (firstCol, lastCol],
// so the block's points are rows firstRow .. lastRow, columns firstCol .. lastCol.
struct CellBlock {
    int firstRow, lastRow;
    int firstCol, lastCol;
    float low[3], high[3]; // bounding box of the block's points
    bool allValid;         // every point of the block holds a valid sample
};

class TerrainBlocks {
  public:
    // A multiple of every step, so that no cell straddles two blocks.
    static constexpr int blockCells = 32;
    static_assert(blockCells % 4 == 0);

    // Bounding boxes and validity of the grid's blocks.
    void build(const ElevationGrid& grid);

    int blockRows() const { return blockRows_; }
    int blockCols() const { return blockCols_; }
    const CellBlock& block(int row, int col) const
    {
        return blocks_[static_cast<std::size_t>(row) * blockCols_ + col];
    }

  private:
    std::vector<CellBlock> blocks_;
    int blockRows_ = 0;
    int blockCols_ = 0;
};

// What one frame shows: one batch of triangles per row of blocks, indices into
// the grid's points; minIndex and maxIndex bound the points a batch uses.
struct CellBatch {
    std::size_t first; // offset into indices
    std::size_t count;
    std::uint32_t minIndex;
    std::uint32_t maxIndex;
};

struct VisibleCells {
    std::vector<std::uint32_t> indices;
    std::vector<CellBatch> batches;
};

struct CellQuery {
    int step;
    float eye[3];
    double rangeSquared;
    const Frustum* frustum; // null: no frustum test
};

// True when the grid's points can be addressed by 32-bit indices.
bool gridFitsIndices(const ElevationGrid& grid);

// The blocks must have been built from the same grid.
void collectVisibleCells(const ElevationGrid& grid, const TerrainBlocks& blocks, const CellQuery& query,
                         VisibleCells& out);

} // namespace orvex
