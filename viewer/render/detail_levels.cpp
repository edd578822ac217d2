#include "render/detail_levels.h"

#include <algorithm>
#include <cmath>

namespace orvex {

namespace {

const GridPoint& pointAt(const ElevationGrid& grid, int row, int col)
{
    return grid.gridRowTable[row][col];
}

// The lines (rows or columns) a block is drawn on: first, first + step, ...
// and last, which closes the block whatever the step.
void blockLines(int first, int last, int step, std::vector<int>& out)
{
    out.clear();
    for (int line = first; line < last; line += step)
        out.push_back(line);
    out.push_back(last);
}

// The last line the resolution step reaches: only the grid's last block can
// end off the step (the others end on a multiple of every step).
int lastLineAtStep(int last, int step)
{
    return last - last % step;
}

// Boxes: CellBlock and BlockGroup.
template <typename Box> double distanceToBox(const Box& block, const float eye[3])
{
    double sum = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double d =
            static_cast<double>(std::clamp(eye[axis], block.low[axis], block.high[axis])) - eye[axis];
        sum += d * d;
    }
    return std::sqrt(sum);
}

double horizontalSquared(double dy, double dx)
{
    return dy * dy + dx * dx;
}

template <typename Box> double nearestSquared(const Box& block, const float eye[3])
{
    return horizontalSquared(static_cast<double>(std::clamp(eye[0], block.low[0], block.high[0])) - eye[0],
                             static_cast<double>(std::clamp(eye[1], block.low[1], block.high[1])) - eye[1]);
}

template <typename Box> double farthestSquared(const Box& block, const float eye[3])
{
    const auto far = [&](int axis) {
        return std::max(std::abs(static_cast<double>(block.low[axis]) - eye[axis]),
                        std::abs(static_cast<double>(block.high[axis]) - eye[axis]));
    };
    return horizontalSquared(far(0), far(1));
}

// The height of the cell's two triangles (cellTriangleCorners, the diagonal
// from z0 to z2) at u down and v across, both 0 .. 1: below the diagonal
// (u >= v) the plane through z0, z1, z2, above it through z0, z2, z3.
double cellPlane(double z0, double z1, double z2, double z3, double u, double v)
{
    return u >= v ? z0 + u * (z1 - z0) + v * (z2 - z1) : z0 + v * (z3 - z0) + u * (z2 - z3);
}

int levelOfStep(int step)
{
    int level = 0;
    while ((1 << level) < step)
        ++level;
    return level;
}

// How one block is drawn in this frame.
struct BlockPlan {
    int step = 0; // 0: not drawn; inGroup: as part of a group's cell
    bool testRange = false;
    bool testState = false;
};

constexpr int inGroup = -1;

class MeshBuilder {
  public:
    MeshBuilder(const ElevationGrid& grid, const TerrainBlocks& blocks, const DetailLevels& levels,
                const MovingQuery& query, MovingMesh& out)
        : grid_(grid), blocks_(blocks), levels_(levels), query_(query), out_(out)
    {
    }

    void build()
    {
        out_.vertices.clear();
        out_.indices.clear();
        out_.cells = 0;
        plans_.assign(static_cast<std::size_t>(blocks_.blockRows()) * blocks_.blockCols(), BlockPlan{});
        lifts_.assign(plans_.size(), 0.0f);
        out_.blockSteps.assign(plans_.size(), 0);
        groupsShown_.clear();
        const int top = levels_.groupLevels();
        if (top == 0) {
            for (int br = 0; br < blocks_.blockRows(); ++br)
                for (int bc = 0; bc < blocks_.blockCols(); ++bc)
                    planBlock(br, bc);
        } else {
            for (int r = 0; r < levels_.groupRows(top); ++r)
                for (int c = 0; c < levels_.groupCols(top); ++c)
                    planGroup(top, r, c);
        }
        for (std::size_t n = 0; n < plans_.size(); ++n)
            if (plans_[n].step > 0) {
                out_.blockSteps[n] = plans_[n].step;
                lifts_[n] = lift(n);
            }
        for (int br = 0; br < blocks_.blockRows(); ++br)
            for (int bc = 0; bc < blocks_.blockCols(); ++bc)
                if (plans_[index(br, bc)].step > 0)
                    emitBlock(br, bc);
        for (const auto& [group, raise] : groupsShown_)
            emitGroup(*group, raise);
    }

  private:
    std::size_t index(int br, int bc) const
    {
        return static_cast<std::size_t>(br) * blocks_.blockCols() + bc;
    }

    void planBlock(int br, int bc) { plans_[index(br, bc)] = plan(blocks_.block(br, bc), index(br, bc)); }

    // A group seen from far enough is drawn as one cell; else its quarters.
    void planGroup(int k, int r, int c)
    {
        if (k == 0) {
            planBlock(r, c);
            return;
        }
        const BlockGroup& group = levels_.group(k, r, c);
        if (nearestSquared(group, query_.eye) > query_.rangeSquared)
            return;
        if (query_.frustum && boxOutside(*query_.frustum, group.low, group.high))
            return;
        const double allowed = query_.pixelError * distanceToBox(group, query_.eye) / query_.pixelsPerUnit;
        const bool whole = group.allValid && farthestSquared(group, query_.eye) <= query_.rangeSquared &&
                           group.error <= allowed &&
                           lastLineAtStep(group.lastRow, query_.step) > group.firstRow &&
                           lastLineAtStep(group.lastCol, query_.step) > group.firstCol;
        if (whole) {
            groupsShown_.push_back({&group, group.error});
            const int rows = std::min(blocks_.blockRows(), (r + 1) << k);
            const int cols = std::min(blocks_.blockCols(), (c + 1) << k);
            for (int br = r << k; br < rows; ++br)
                for (int bc = c << k; bc < cols; ++bc) {
                    plans_[index(br, bc)].step = inGroup;
                    lifts_[index(br, bc)] = group.error;
                    out_.blockSteps[index(br, bc)] = TerrainBlocks::blockCells << k;
                }
            return;
        }
        const int rows = k == 1 ? blocks_.blockRows() : levels_.groupRows(k - 1);
        const int cols = k == 1 ? blocks_.blockCols() : levels_.groupCols(k - 1);
        for (int cr = 2 * r; cr < std::min(rows, 2 * r + 2); ++cr)
            for (int cc = 2 * c; cc < std::min(cols, 2 * c + 2); ++cc)
                planGroup(k - 1, cr, cc);
    }

    // One cell over the group, lifted by its error, with a skirt on every
    // side reaching down to the full-detail surface (which no neighbour's
    // edge lies below).
    void emitGroup(const BlockGroup& group, float raise)
    {
        const int lastRow = lastLineAtStep(group.lastRow, query_.step);
        const int lastCol = lastLineAtStep(group.lastCol, query_.step);
        const std::uint32_t base = static_cast<std::uint32_t>(out_.vertices.size());
        const int corners[4][2] = {{group.firstRow, group.firstCol},
                                   {lastRow, group.firstCol},
                                   {lastRow, lastCol},
                                   {group.firstRow, lastCol}};
        for (const auto& [row, col] : corners)
            pushVertex(pointAt(grid_, row, col), raise);
        for (const int corner : cellTriangleCorners)
            out_.indices.push_back(base + static_cast<std::uint32_t>(corner));
        ++out_.cells;
        const float depth = 2 * raise + skirtMargin;
        for (std::uint32_t side = 0; side < 4; ++side) {
            MovingVertex low[2] = {out_.vertices[base + side], out_.vertices[base + (side + 1) % 4]};
            low[0].position[2] -= depth, low[1].position[2] -= depth;
            const std::uint32_t lowBase = static_cast<std::uint32_t>(out_.vertices.size());
            out_.vertices.insert(out_.vertices.end(), low, low + 2);
            const std::uint32_t quad[6] = {base + side,           base + (side + 1) % 4, lowBase,
                                           base + (side + 1) % 4, lowBase + 1,           lowBase};
            out_.indices.insert(out_.indices.end(), quad, quad + 6);
        }
    }

    BlockPlan plan(const CellBlock& block, std::size_t n) const
    {
        const int step = query_.step;
        if (lastLineAtStep(block.lastRow, step) <= block.firstRow ||
            lastLineAtStep(block.lastCol, step) <= block.firstCol)
            return {};
        if (nearestSquared(block, query_.eye) > query_.rangeSquared)
            return {};
        if (query_.frustum && boxOutside(*query_.frustum, block.low, block.high))
            return {};
        BlockPlan plan{step, !(farthestSquared(block, query_.eye) <= query_.rangeSquared), !block.allValid};
        if (!plan.testRange && !plan.testState) {
            std::array<float, detailLevelCount> errors{};
            for (int level = 0; level < detailLevelCount; ++level)
                errors[level] = levels_.error(n, level);
            plan.step = chooseBlockStep(errors, distanceToBox(block, query_.eye), query_);
        }
        return plan;
    }

    // A block drawn coarser than the resolution step is lifted by its error:
    // it then lies nowhere below the full-detail surface, so that its
    // outline on the screen covers at least that surface's.
    float lift(std::size_t n) const
    {
        const BlockPlan& plan = plans_[n];
        return plan.step > query_.step ? levels_.error(n, levelOfStep(plan.step)) : 0.0f;
    }

    // A point on a block's edge takes the largest lift of the blocks it
    // belongs to, so that neighbours of one step meet exactly.
    float pointLift(int br, int bc, int row, int col) const
    {
        const CellBlock& block = blocks_.block(br, bc);
        const int rowSide = row == block.firstRow ? -1 : row == block.lastRow ? 1 : 0;
        const int colSide = col == block.firstCol ? -1 : col == block.lastCol ? 1 : 0;
        float most = lifts_[index(br, bc)];
        for (const int r : {br, br + rowSide})
            for (const int c : {bc, bc + colSide})
                if (r >= 0 && c >= 0 && r < blocks_.blockRows() && c < blocks_.blockCols())
                    most = std::max(most, lifts_[index(r, c)]);
        return most;
    }

    void pushVertex(const GridPoint& point, float raise)
    {
        out_.vertices.push_back({{point.y, point.x, point.z + raise},
                                 {point.shadeColour[0], point.shadeColour[1], point.shadeColour[2], 255}});
    }

    bool pointShown(const BlockPlan& plan, const GridPoint& point) const
    {
        if (plan.testState && point.sampleState != SampleState::valid)
            return false;
        return !plan.testRange || cornerInRange(point, query_.eye, query_.rangeSquared);
    }

    void emitBlock(int br, int bc)
    {
        const CellBlock& block = blocks_.block(br, bc);
        const BlockPlan& plan = plans_[index(br, bc)];
        const int step = plan.step;
        blockLines(block.firstRow, lastLineAtStep(block.lastRow, query_.step), step, rows_);
        blockLines(block.firstCol, lastLineAtStep(block.lastCol, query_.step), step, cols_);
        const std::uint32_t base = static_cast<std::uint32_t>(out_.vertices.size());
        const std::uint32_t width = static_cast<std::uint32_t>(cols_.size());
        const float raise = lifts_[index(br, bc)];
        for (std::size_t ri = 0; ri < rows_.size(); ++ri) {
            const bool edgeRow = ri == 0 || ri + 1 == rows_.size();
            for (std::size_t ci = 0; ci < cols_.size(); ++ci) {
                const bool edge = edgeRow || ci == 0 || ci + 1 == cols_.size();
                pushVertex(pointAt(grid_, rows_[ri], cols_[ci]),
                           edge ? pointLift(br, bc, rows_[ri], cols_[ci]) : raise);
            }
        }
        for (std::size_t ri = 1; ri < rows_.size(); ++ri) {
            for (std::size_t ci = 1; ci < cols_.size(); ++ci) {
                const int i = rows_[ri];
                const int j = cols_[ci];
                if (plan.testRange && !cornerInRange(pointAt(grid_, i, j), query_.eye, query_.rangeSquared))
                    continue;
                if (plan.testState && !cellCornersValid(grid_, i, j, step))
                    continue;
                const std::uint32_t top = base + static_cast<std::uint32_t>(ri - 1) * width;
                const std::uint32_t bottom = top + width;
                const std::uint32_t left = static_cast<std::uint32_t>(ci - 1);
                const std::uint32_t corners[4] = {top + left, bottom + left, bottom + left + 1,
                                                  top + left + 1};
                for (const int corner : cellTriangleCorners)
                    out_.indices.push_back(corners[corner]);
                ++out_.cells;
            }
        }
        // Skirts towards neighbours drawn otherwise, and on the grid's outline.
        const std::uint32_t last = static_cast<std::uint32_t>(rows_.size() - 1) * width;
        const std::uint32_t lastCol = width - 1;
        skirt(br, bc, br - 1, bc, rows_.front(), -1, base, 1);
        skirt(br, bc, br + 1, bc, rows_.back(), -1, base + last, 1);
        skirt(br, bc, br, bc - 1, -1, cols_.front(), base, width);
        skirt(br, bc, br, bc + 1, -1, cols_.back(), base + lastCol, width);
    }

    // The edge runs along row (col -1) over the block's columns, or along col
    // (row -1) over its rows; its vertices start at first, stride apart. Each
    // side lies within its height error and the lifts above the full-detail
    // surface: the skirt reaches down past the other side's edge.
    void skirt(int br, int bc, int nbr, int nbc, int row, int col, std::uint32_t first, std::uint32_t stride)
    {
        const std::size_t n = index(br, bc);
        const BlockPlan& plan = plans_[n];
        const bool inside = nbr >= 0 && nbc >= 0 && nbr < blocks_.blockRows() && nbc < blocks_.blockCols();
        const float neighbourLift = inside ? lifts_[index(nbr, nbc)] : 0.0f; // a group's too
        const std::vector<int>& along = row >= 0 ? cols_ : rows_;
        const auto pointOf = [&](std::size_t k) -> const GridPoint& {
            return row >= 0 ? pointAt(grid_, row, along[k]) : pointAt(grid_, along[k], col);
        };
        const auto endLift = [&](std::size_t k) {
            return row >= 0 ? pointLift(br, bc, row, along[k]) : pointLift(br, bc, along[k], col);
        };
        const float mostLift = std::max({lifts_[n], neighbourLift, endLift(0), endLift(along.size() - 1)});
        if (inside && (plans_[index(nbr, nbc)].step == 0 || plans_[index(nbr, nbc)].step == plan.step))
            return; // nothing beside it, or the same points at the same heights
        if (!inside && mostLift == 0)
            return; // the outline of the full-detail surface itself
        const float depth = lifts_[n] + neighbourLift + mostLift + skirtMargin;
        std::uint32_t previousLow = 0;
        bool previousShown = false;
        for (std::size_t k = 0; k < along.size(); ++k) {
            const bool shown = pointShown(plan, pointOf(k));
            const std::uint32_t high = first + static_cast<std::uint32_t>(k) * stride;
            const std::uint32_t low = static_cast<std::uint32_t>(out_.vertices.size());
            if (shown) {
                MovingVertex lowered = out_.vertices[high];
                lowered.position[2] -= depth;
                out_.vertices.push_back(lowered);
            }
            if (shown && previousShown) {
                const std::uint32_t previousHigh = high - stride;
                const std::uint32_t quad[6] = {previousHigh, high, previousLow, high, low, previousLow};
                out_.indices.insert(out_.indices.end(), quad, quad + 6);
            }
            previousLow = low;
            previousShown = shown;
        }
    }

    const ElevationGrid& grid_;
    const TerrainBlocks& blocks_;
    const DetailLevels& levels_;
    const MovingQuery& query_;
    MovingMesh& out_;
    std::vector<BlockPlan> plans_;
    std::vector<float> lifts_;
    std::vector<std::pair<const BlockGroup*, float>> groupsShown_;
    std::vector<int> rows_;
    std::vector<int> cols_;
};

} // namespace

float blockStepError(const ElevationGrid& grid, const CellBlock& block, int step)
{
    std::vector<int> rows, cols;
    blockLines(block.firstRow, block.lastRow, step, rows);
    blockLines(block.firstCol, block.lastCol, step, cols);
    double largest = 0;
    for (std::size_t ri = 1; ri < rows.size(); ++ri) {
        const int r0 = rows[ri - 1], r1 = rows[ri];
        const double rowScale = 1.0 / (r1 - r0);
        for (std::size_t ci = 1; ci < cols.size(); ++ci) {
            const int c0 = cols[ci - 1], c1 = cols[ci];
            const double colScale = 1.0 / (c1 - c0);
            // Corners as in cellTriangleCorners: the diagonal runs from z0 to z2.
            const double z0 = pointAt(grid, r0, c0).z, z1 = pointAt(grid, r1, c0).z;
            const double z2 = pointAt(grid, r1, c1).z, z3 = pointAt(grid, r0, c1).z;
            for (int r = r0; r <= r1; ++r) {
                const double u = (r - r0) * rowScale;
                const GridPoint* line = grid.gridRowTable[r];
                for (int c = c0; c <= c1; ++c)
                    largest = std::max(
                        largest, std::abs(line[c].z - cellPlane(z0, z1, z2, z3, u, (c - c0) * colScale)));
            }
        }
    }
    return static_cast<float>(largest);
}

namespace {

// The group of blocks rows firstBlockRow .. lastBlockRow, columns likewise.
BlockGroup measureGroup(const ElevationGrid& grid, const TerrainBlocks& blocks,
                        const std::vector<std::array<float, detailLevelCount>>& errors, int firstBlockRow,
                        int lastBlockRow, int firstBlockCol, int lastBlockCol)
{
    const CellBlock& first = blocks.block(firstBlockRow, firstBlockCol);
    const CellBlock& last = blocks.block(lastBlockRow, lastBlockCol);
    BlockGroup group{first.firstRow, last.lastRow, first.firstCol, last.lastCol, {}, {}, true, 0};
    std::copy(first.low, first.low + 3, group.low);
    std::copy(first.high, first.high + 3, group.high);
    const GridPoint& p0 = pointAt(grid, group.firstRow, group.firstCol);
    const GridPoint& p1 = pointAt(grid, group.lastRow, group.firstCol);
    const GridPoint& p2 = pointAt(grid, group.lastRow, group.lastCol);
    const GridPoint& p3 = pointAt(grid, group.firstRow, group.lastCol);
    double atCorners = 0;
    float blockError = 0;
    for (int br = firstBlockRow; br <= lastBlockRow; ++br) {
        for (int bc = firstBlockCol; bc <= lastBlockCol; ++bc) {
            const CellBlock& block = blocks.block(br, bc);
            for (int axis = 0; axis < 3; ++axis) {
                group.low[axis] = std::min(group.low[axis], block.low[axis]);
                group.high[axis] = std::max(group.high[axis], block.high[axis]);
            }
            group.allValid = group.allValid && block.allValid;
            blockError =
                std::max(blockError, errors[static_cast<std::size_t>(br) * blocks.blockCols() + bc].back());
            for (const int row : {block.firstRow, block.lastRow})
                for (const int col : {block.firstCol, block.lastCol}) {
                    const double u =
                        static_cast<double>(row - group.firstRow) / (group.lastRow - group.firstRow);
                    const double v =
                        static_cast<double>(col - group.firstCol) / (group.lastCol - group.firstCol);
                    const double plane = cellPlane(p0.z, p1.z, p2.z, p3.z, u, v);
                    atCorners = std::max(atCorners, std::abs(pointAt(grid, row, col).z - plane));
                }
        }
    }
    group.error = static_cast<float>(atCorners) + blockError;
    return group;
}

} // namespace

void DetailLevels::build(const ElevationGrid& grid, const TerrainBlocks& blocks)
{
    errors_.assign(static_cast<std::size_t>(blocks.blockRows()) * blocks.blockCols(), {});
    std::size_t n = 0;
    for (int br = 0; br < blocks.blockRows(); ++br)
        for (int bc = 0; bc < blocks.blockCols(); ++bc, ++n)
            for (int level = 1; level < detailLevelCount; ++level)
                errors_[n][level] = blockStepError(grid, blocks.block(br, bc), 1 << level);
    groups_.clear();
    groupRows_.clear();
    groupCols_.clear();
    for (int k = 1; (1 << (k - 1)) < std::max(blocks.blockRows(), blocks.blockCols()); ++k) {
        const int size = 1 << k;
        groupRows_.push_back((blocks.blockRows() + size - 1) / size);
        groupCols_.push_back((blocks.blockCols() + size - 1) / size);
        std::vector<BlockGroup>& level = groups_.emplace_back();
        for (int r = 0; r < groupRows_.back(); ++r)
            for (int c = 0; c < groupCols_.back(); ++c)
                level.push_back(measureGroup(grid, blocks, errors_, r * size,
                                             std::min(blocks.blockRows(), (r + 1) * size) - 1, c * size,
                                             std::min(blocks.blockCols(), (c + 1) * size) - 1));
    }
}

std::size_t DetailLevels::memoryBytes() const
{
    std::size_t bytes = errors_.capacity() * sizeof(errors_[0]);
    for (const std::vector<BlockGroup>& level : groups_)
        bytes += level.capacity() * sizeof(BlockGroup);
    return bytes;
}

int chooseBlockStep(const std::array<float, detailLevelCount>& errors, double distance,
                    const MovingQuery& query)
{
    const double allowed = query.pixelError * distance / query.pixelsPerUnit;
    for (int level = detailLevelCount - 1; (1 << level) > query.step; --level)
        if (errors[level] <= allowed)
            return 1 << level;
    return query.step;
}

std::size_t MovingMesh::memoryBytes() const
{
    return vertices.capacity() * sizeof(MovingVertex) + indices.capacity() * sizeof(std::uint32_t) +
           blockSteps.capacity() * sizeof(int);
}

void buildMovingMesh(const ElevationGrid& grid, const TerrainBlocks& blocks, const DetailLevels& levels,
                     const MovingQuery& query, MovingMesh& out)
{
    MeshBuilder(grid, blocks, levels, query, out).build();
}

} // namespace orvex
