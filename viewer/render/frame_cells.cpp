#include "render/frame_cells.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvex {

namespace {

// Relative margin of the frustum test: far above the rounding of GL's
// single-precision transform, far below anything that would keep many
// hidden blocks.
constexpr double frustumMargin = 1e-5;

const GridPoint& pointAt(const ElevationGrid& grid, int row, int col)
{
    return grid.gridRowTable[row][col];
}

// Smallest and largest horizontal squared distance from the eye to a box.
double nearestSquared(const CellBlock& block, const float eye[3])
{
    const double dy = static_cast<double>(std::clamp(eye[0], block.low[0], block.high[0])) - eye[0];
    const double dx = static_cast<double>(std::clamp(eye[1], block.low[1], block.high[1])) - eye[1];
    return dy * dy + dx * dx;
}

double farthestSquared(const CellBlock& block, const float eye[3])
{
    const double dy = std::max(std::abs(static_cast<double>(block.low[0]) - eye[0]),
                               std::abs(static_cast<double>(block.high[0]) - eye[0]));
    const double dx = std::max(std::abs(static_cast<double>(block.low[1]) - eye[1]),
                               std::abs(static_cast<double>(block.high[1]) - eye[1]));
    return dy * dy + dx * dx;
}

CellBlock measureBlock(const ElevationGrid& grid, int firstRow, int lastRow, int firstCol, int lastCol)
{
    CellBlock block{firstRow, lastRow, firstCol, lastCol, {}, {}, true};
    const float huge = std::numeric_limits<float>::max();
    std::fill(block.low, block.low + 3, huge);
    std::fill(block.high, block.high + 3, -huge);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const GridPoint& point = pointAt(grid, row, col);
            const float position[3] = {point.y, point.x, point.z};
            for (int axis = 0; axis < 3; ++axis) {
                block.low[axis] = std::min(block.low[axis], position[axis]);
                block.high[axis] = std::max(block.high[axis], position[axis]);
            }
            block.allValid = block.allValid && point.sampleState == SampleState::valid;
        }
    }
    return block;
}

// A block that passed the block tests, and whether its cells still need the
// per-cell range and state tests.
struct ShownBlock {
    const CellBlock* block;
    bool testRange;
    bool testState;
};

int firstCorner(int edge, int step)
{
    return edge + step;
}

void emitCell(const ElevationGrid& grid, int i, int j, int step, std::vector<std::uint32_t>& indices)
{
    const std::uint32_t cols = static_cast<std::uint32_t>(grid.gridCols);
    const std::uint32_t top = static_cast<std::uint32_t>(i - step) * cols;
    const std::uint32_t bottom = static_cast<std::uint32_t>(i) * cols;
    const std::uint32_t left = static_cast<std::uint32_t>(j - step);
    const std::uint32_t right = static_cast<std::uint32_t>(j);
    const std::uint32_t corners[4] = {top + left, bottom + left, bottom + right, top + right};
    for (const int corner : cellTriangleCorners)
        indices.push_back(corners[corner]);
}

void emitBlockRow(const ElevationGrid& grid, int i, int step, const ShownBlock& shown, const CellQuery& query,
                  std::vector<std::uint32_t>& indices)
{
    const CellBlock& block = *shown.block;
    const GridPoint* row = grid.gridRowTable[i];
    for (int j = firstCorner(block.firstCol, step); j <= block.lastCol; j += step) {
        if (shown.testRange && !cornerInRange(row[j], query.eye, query.rangeSquared))
            continue;
        if (shown.testState && !cellCornersValid(grid, i, j, step))
            continue;
        emitCell(grid, i, j, step, indices);
    }
}

} // namespace

bool cornerInRange(const GridPoint& corner, const float eye[3], double rangeSquared)
{
    const double dy = static_cast<double>(corner.y) - eye[0];
    const double dx = static_cast<double>(corner.x) - eye[1];
    return !(dy * dy + dx * dx > rangeSquared);
}

bool cellCornersValid(const ElevationGrid& grid, int i, int j, int step)
{
    const auto valid = [&](int row, int col) {
        return pointAt(grid, row, col).sampleState == SampleState::valid;
    };
    return valid(i - step, j - step) && valid(i, j - step) && valid(i, j) && valid(i - step, j);
}

Frustum frustumFromMatrices(const double projection[16], const double modelView[16])
{
    double clip[16]; // column-major: clip[col * 4 + row]
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + row] * modelView[col * 4 + k];
            clip[col * 4 + row] = sum;
        }
    const auto rowOf = [&](int row, int col) { return clip[col * 4 + row]; };
    Frustum frustum{};
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            const double sign = side == 0 ? 1 : -1;
            double* plane = frustum.planes[axis * 2 + side];
            for (int col = 0; col < 4; ++col)
                plane[col] = rowOf(3, col) + sign * rowOf(axis, col);
        }
    }
    return frustum;
}

bool boxOutside(const Frustum& frustum, const float low[3], const float high[3])
{
    for (const auto& plane : frustum.planes) {
        double best = plane[3];
        double scale = std::abs(plane[3]);
        for (int axis = 0; axis < 3; ++axis) {
            const double a = plane[axis] * low[axis];
            const double b = plane[axis] * high[axis];
            best += std::max(a, b);
            scale += std::max(std::abs(a), std::abs(b));
        }
        if (best < -frustumMargin * scale)
            return true;
    }
    return false;
}

void TerrainBlocks::build(const ElevationGrid& grid)
{
    blocks_.clear();
    blockRows_ = grid.gridRows > 1 ? (grid.gridRows - 2) / blockCells + 1 : 0;
    blockCols_ = grid.gridCols > 1 ? (grid.gridCols - 2) / blockCells + 1 : 0;
    if (blockRows_ == 0 || blockCols_ == 0) {
        blockRows_ = blockCols_ = 0;
        return;
    }
    blocks_.reserve(static_cast<std::size_t>(blockRows_) * blockCols_);
    for (int br = 0; br < blockRows_; ++br) {
        const int firstRow = br * blockCells;
        const int lastRow = std::min(firstRow + blockCells, grid.gridRows - 1);
        for (int bc = 0; bc < blockCols_; ++bc) {
            const int firstCol = bc * blockCells;
            const int lastCol = std::min(firstCol + blockCells, grid.gridCols - 1);
            blocks_.push_back(measureBlock(grid, firstRow, lastRow, firstCol, lastCol));
        }
    }
}

bool gridFitsIndices(const ElevationGrid& grid)
{
    const std::uint64_t count =
        static_cast<std::uint64_t>(grid.gridRows) * static_cast<std::uint64_t>(grid.gridCols);
    return count <= std::numeric_limits<std::uint32_t>::max();
}

void collectVisibleCells(const ElevationGrid& grid, const TerrainBlocks& blocks, const CellQuery& query,
                         VisibleCells& out)
{
    out.indices.clear();
    out.batches.clear();
    const int step = query.step;
    std::vector<ShownBlock> shown;
    for (int br = 0; br < blocks.blockRows(); ++br) {
        shown.clear();
        for (int bc = 0; bc < blocks.blockCols(); ++bc) {
            const CellBlock& block = blocks.block(br, bc);
            if (nearestSquared(block, query.eye) > query.rangeSquared)
                continue;
            if (query.frustum && boxOutside(*query.frustum, block.low, block.high))
                continue;
            shown.push_back(
                {&block, !(farthestSquared(block, query.eye) <= query.rangeSquared), !block.allValid});
        }
        if (shown.empty())
            continue;
        const CellBlock& first = blocks.block(br, 0);
        const std::size_t start = out.indices.size();
        for (int i = firstCorner(first.firstRow, step); i <= first.lastRow; i += step)
            for (const ShownBlock& block : shown)
                emitBlockRow(grid, i, step, block, query, out.indices);
        if (out.indices.size() == start)
            continue;
        const std::uint32_t cols = static_cast<std::uint32_t>(grid.gridCols);
        out.batches.push_back({start, out.indices.size() - start,
                               static_cast<std::uint32_t>(first.firstRow) * cols,
                               static_cast<std::uint32_t>(first.lastRow) * cols + cols - 1});
    }
}

} // namespace orvex
