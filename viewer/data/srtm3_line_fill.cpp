#include "data/srtm3_line_fill.h"

#include <vector>

#include "state/grid.h"

namespace orvex {

// Each void point needs the nearest anchor in four directions. Walking for
// them point by point costs the length of the void for every void point, so
// large voids would take minutes; instead the nearest anchors are kept as the
// sweep moves. That is exact because the sweep changes only the point it is
// at: rows above and points to the left are final, rows below and points to
// the right are still as read.

namespace {

constexpr int longestSpanOfMode2 = 10;

bool isVoid(const ElevationGrid& grid, int row, int col)
{
    return grid.gridRowTable[row][col].sampleState == SampleState::dataVoid;
}

// First row below `row` in `col` that is not void; the last row if the walk
// reaches it.
int anchorBelow(const ElevationGrid& grid, int row, int col)
{
    int r = row + 1;
    while (r < grid.gridRows - 1 && isVoid(grid, r, col))
        ++r;
    return r;
}

// First column right of `col` in `row` that is not void; the last column if
// the walk reaches it.
int anchorRight(const ElevationGrid& grid, int row, int col)
{
    int c = col + 1;
    while (c < grid.gridCols - 1 && isVoid(grid, row, c))
        ++c;
    return c;
}

struct Anchors {
    int top;
    int bottom;
    int left;
    int right;
};

void fillPoint(ElevationGrid& grid, int i, int j, const Anchors& a, int mode)
{
    const int lastRow = grid.gridRows - 1;
    const int lastCol = grid.gridCols - 1;
    const int vspan = a.bottom - a.top;
    const int hspan = a.right - a.left;
    GridPoint& point = grid.gridRowTable[i][j];
    if (vspan < hspan) {
        if (a.top == 0 || a.bottom == lastRow || (mode != 1 && vspan > longestSpanOfMode2))
            return;
        const double north = grid.gridRowTable[a.top][j].elevation;
        const double south = grid.gridRowTable[a.bottom][j].elevation;
        point.elevation = static_cast<float>(north + (south - north) * (i - a.top) / vspan);
    } else {
        if (a.left == 0 || a.right == lastCol || (mode != 1 && hspan > longestSpanOfMode2))
            return;
        const double west = grid.gridRowTable[i][a.left].elevation;
        const double east = grid.gridRowTable[i][a.right].elevation;
        point.elevation = static_cast<float>(west + (east - west) * (j - a.left) / hspan);
    }
    point.sampleState = SampleState::valid;
}

} // namespace

void fillsrtm3lines(ElevationGrid& grid, int mode)
{
    const int rows = grid.gridRows;
    const int cols = grid.gridCols;
    if (rows < 3 || cols < 3)
        return;
    // Per column: the nearest non-void row above the sweep (0 when the walk
    // would reach the edge), and the nearest below (valid while below it).
    std::vector<int> above(cols, 0);
    std::vector<int> below(cols, 0);
    for (int i = 1; i < rows - 1; ++i) {
        const GridPoint* row = grid.gridRowTable[i];
        int left = 0;
        int right = 0;
        for (int j = 1; j < cols - 1; ++j) {
            if (row[j].sampleState == SampleState::dataVoid) {
                if (right <= j)
                    right = anchorRight(grid, i, j);
                if (below[j] <= i)
                    below[j] = anchorBelow(grid, i, j);
                fillPoint(grid, i, j, Anchors{above[j], below[j], left, right}, mode);
            }
            if (row[j].sampleState != SampleState::dataVoid)
                left = j;
        }
        for (int j = 1; j < cols - 1; ++j)
            if (row[j].sampleState != SampleState::dataVoid)
                above[j] = i;
    }
}

} // namespace orvex
