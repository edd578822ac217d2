#pragma once
// Level of detail for the frames drawn while the view moves, as plain logic.
//
// Each block of cells (TerrainBlocks) is drawn at a step of its own: the
// coarsest whose largest height error, seen from the eye, stays within about
// a pixel. Far terrain becomes a few large triangles, near terrain keeps every
// point of the resolution step. A block drawn coarser is lifted by its error,
// so that it lies nowhere below the full-detail surface and its outline on
// the screen covers at least that one's. Where two neighbours differ in step
// or lift their edges no longer meet; a skirt hanging down from each such
// edge (and from a lifted block's edge on the grid's outline) closes the
// seam. Far away, square groups of 2 x 2, 4 x 4, ... blocks are drawn as
// one lifted and skirted cell each when their error allows, so that a
// frame's cost stops growing with the grid. Blocks that need the per-cell
// range or sample tests (on the edge of the range, or with void samples) keep
// the resolution step and its tests, so they show exactly the cells of the
// full-detail frame.
//
// The mesh is built anew for each moving frame from the grid's points: the
// positions and the lit colours are copied, nothing is computed per vertex.

#include <array>
#include <cstdint>
#include <vector>

#include "render/frame_cells.h"
#include "state/grid.h"

namespace orvex {

// Steps 1, 2, 4, ... up to a whole block.
inline constexpr int detailLevelCount = 6;
static_assert(1 << (detailLevelCount - 1) == TerrainBlocks::blockCells);

// The largest height difference between the block's points and the two
// triangles per cell of the block drawn at this step (the triangles of
// cellTriangleCorners). The block's last row and column close its lines when
// the step does not reach them.
float blockStepError(const ElevationGrid& grid, const CellBlock& block, int step);

// A square of 2^k x 2^k blocks (fewer on the grid's last rows and columns)
// drawn as one cell: its points' bounds, and its error, bounded by the error
// at the blocks' corners plus the largest error of its blocks as one cell.
struct BlockGroup {
    int firstRow, lastRow;
    int firstCol, lastCol;
    float low[3], high[3];
    bool allValid;
    float error;
};

// The height errors of every block at every step, and the groups of blocks,
// measured once per grid.
class DetailLevels {
  public:
    void build(const ElevationGrid& grid, const TerrainBlocks& blocks);
    // Error of block index (row * blockCols + col) at step 1 << level.
    float error(std::size_t block, int level) const { return errors_[block][level]; }

    // Group levels 1 .. groupLevels(); a group of level k holds the blocks
    // of rows r << k .. ((r + 1) << k) - 1 and the same columns.
    int groupLevels() const { return static_cast<int>(groups_.size()); }
    int groupRows(int k) const { return groupRows_[k - 1]; }
    int groupCols(int k) const { return groupCols_[k - 1]; }
    const BlockGroup& group(int k, int row, int col) const
    {
        return groups_[k - 1][static_cast<std::size_t>(row) * groupCols_[k - 1] + col];
    }

    std::size_t memoryBytes() const;

  private:
    std::vector<std::array<float, detailLevelCount>> errors_;
    std::vector<std::vector<BlockGroup>> groups_;
    std::vector<int> groupRows_, groupCols_;
};

struct MovingQuery {
    int step; // the resolution step: 1, 2 or 4
    float eye[3];
    double rangeSquared;
    const Frustum* frustum;  // null: no frustum test
    double pixelsPerUnit;    // pixels that one metre spans at one metre from the eye
    double pixelError = 1.0; // the largest height error allowed, in pixels
};

// The step at which a block is drawn: the coarsest power-of-two multiple of
// the resolution step (up to a whole block) whose error, projected from the
// given distance, stays within the query's pixel error.
int chooseBlockStep(const std::array<float, detailLevelCount>& errors, double distance,
                    const MovingQuery& query);

struct MovingVertex {
    float position[3];      // y, x, z
    std::uint8_t colour[4]; // the point's shadeColour; the fourth byte unused
};

struct MovingMesh {
    std::vector<MovingVertex> vertices;
    std::vector<std::uint32_t> indices; // triangles
    long long cells = 0;                // cells drawn, of any step
    std::vector<int> blockSteps;        // per block: 0 not drawn, else the step drawn
    std::size_t memoryBytes() const;
};

// Depth of a skirt below the edge it hangs from, beyond the height errors of
// the two blocks that meet there.
inline constexpr float skirtMargin = 1.0f;

// The mesh of one moving frame. The blocks and the levels must have been
// built from the same grid.
void buildMovingMesh(const ElevationGrid& grid, const TerrainBlocks& blocks, const DetailLevels& levels,
                     const MovingQuery& query, MovingMesh& out);

} // namespace orvex
