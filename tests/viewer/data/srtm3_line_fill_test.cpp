#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "data/grid.h"
#include "data/srtm3_line_fill.h"

namespace {

constexpr int V = -100000;  // a void sample (state 1)
constexpr int N = -200000;  // no tile read here (state 2, 0 m)

void setGrid(const std::vector<std::vector<int>>& cells)
{
    allocategrid(static_cast<int>(cells.size()), static_cast<int>(cells[0].size()), srtm3Constants);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            GridPoint& point = grid.gridRowTable[r][c];
            const int value = cells[r][c];
            point.sampleState = value == V ? 1 : (value == N ? 2 : 0);
            point.elevation = value == V ? -32768.0f : (value == N ? 0.0f : static_cast<float>(value));
        }
    }
}

const GridPoint& at(int row, int col) { return grid.gridRowTable[row][col]; }

// A ramp rising 10 m a column, with a square of voids of `side` points whose
// north-west corner is at (2, 2).
void setRampWithVoidSquare(int side)
{
    const int size = side + 4;
    std::vector<std::vector<int>> cells(size, std::vector<int>(size));
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            cells[r][c] = (r >= 2 && r < 2 + side && c >= 2 && c < 2 + side) ? V : 10 * c;
    setGrid(cells);
}

int filledCount()
{
    int filled = 0;
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c)
            if (at(r, c).sampleState == 0 && at(r, c).elevation != 10.0f * c)
                return -1;  // a wrong value
            else if (at(r, c).sampleState == 0)
                ++filled;
    return filled;
}

TEST(Srtm3LineFill, ASingleVoidTakesTheMeanOfItsRowNeighboursOnATie)
{
    setGrid({{1, 1, 1, 1, 1},
             {1, 1, 100, 1, 1},
             {1, 10, V, 30, 1},
             {1, 1, 300, 1, 1},
             {1, 1, 1, 1, 1}});
    fillsrtm3lines(2);
    EXPECT_EQ(at(2, 2).sampleState, 0);
    EXPECT_FLOAT_EQ(at(2, 2).elevation, 20.0f);
}

TEST(Srtm3LineFill, Mode2FillsSpansUpTo10AndMode1AnyLength)
{
    setRampWithVoidSquare(9);  // spans of 10
    fillsrtm3lines(2);
    EXPECT_EQ(filledCount(), 13 * 13);

    setRampWithVoidSquare(10);  // spans of 11: left to the SRTM30 fill
    fillsrtm3lines(2);
    EXPECT_EQ(filledCount(), 14 * 14 - 100);
    EXPECT_EQ(at(2, 2).sampleState, 1);
    EXPECT_EQ(at(11, 11).sampleState, 1);

    setRampWithVoidSquare(10);
    fillsrtm3lines(1);
    EXPECT_EQ(filledCount(), 14 * 14);

    setRampWithVoidSquare(40);
    fillsrtm3lines(1);
    EXPECT_EQ(filledCount(), 44 * 44);
}

TEST(Srtm3LineFill, AWalkThatReachesTheEdgeStopsTheFillWithoutTryingTheOtherWay)
{
    // Row 1's voids are nearer vertically (anchor on row 2), but the walk
    // north reaches row 0: no fill, although the row has anchors both sides.
    setGrid({{5, 5, 5, 5, 5, 5, 5},
             {5, 10, V, V, V, 50, 5},
             {5, 5, 5, 5, 5, 5, 5},
             {5, 5, 5, 5, 5, 5, 5}});
    fillsrtm3lines(1);
    for (int c = 2; c <= 4; ++c)
        EXPECT_EQ(at(1, c).sampleState, 1) << "column " << c;

    // Walking west along row 2 reaches column 0; the edge row and column are
    // never anchors even when valid.
    setGrid({{5, 5, 5, 5, 5},
             {5, V, 5, 5, 5},
             {7, V, 9, 5, 5},
             {5, V, 5, 5, 5},
             {5, 5, 5, 5, 5}});
    fillsrtm3lines(1);
    EXPECT_EQ(at(2, 1).sampleState, 1);
    EXPECT_EQ(at(1, 1).sampleState, 1);
}

TEST(Srtm3LineFill, PointsWithoutTileAreAnchorsAtZeroAndEdgesStayVoid)
{
    setGrid({{1, 1, 1, 1, 1},
             {1, 1, V, 1, 1},
             {1, N, V, 40, 1},
             {1, 1, V, 1, 1},
             {1, 1, 1, 1, 1}});
    fillsrtm3lines(2);
    EXPECT_FLOAT_EQ(at(2, 2).elevation, 20.0f);  // between 0 m (no tile) and 40 m
    EXPECT_EQ(at(2, 1).sampleState, 2);           // anchors are never changed

    setGrid({{V, V, V}, {V, 7, V}, {V, V, V}});  // only edge points are void
    fillsrtm3lines(1);
    EXPECT_EQ(at(0, 1).sampleState, 1);
    EXPECT_EQ(at(2, 2).sampleState, 1);
}

// The line fill as a literal walk from every void point, to check the
// incremental anchor search against.
void referenceFill(int mode)
{
    const int rows = grid.gridRows;
    const int cols = grid.gridCols;
    for (int i = 1; i < rows - 1; ++i) {
        for (int j = 1; j < cols - 1; ++j) {
            if (at(i, j).sampleState != 1)
                continue;
            int top = i - 1;
            while (top > 0 && at(top, j).sampleState == 1)
                --top;
            int bottom = i + 1;
            while (bottom < rows - 1 && at(bottom, j).sampleState == 1)
                ++bottom;
            int left = j - 1;
            while (left > 0 && at(i, left).sampleState == 1)
                --left;
            int right = j + 1;
            while (right < cols - 1 && at(i, right).sampleState == 1)
                ++right;
            const int vspan = bottom - top;
            const int hspan = right - left;
            GridPoint& p = grid.gridRowTable[i][j];
            if (vspan < hspan) {
                if (top != 0 && bottom != rows - 1 && (mode == 1 || vspan <= 10)) {
                    const double a = at(top, j).elevation;
                    const double b = at(bottom, j).elevation;
                    p.elevation = static_cast<float>(a + (b - a) * (i - top) / vspan);
                    p.sampleState = 0;
                }
            } else if (left != 0 && right != cols - 1 && (mode == 1 || hspan <= 10)) {
                const double a = at(i, left).elevation;
                const double b = at(i, right).elevation;
                p.elevation = static_cast<float>(a + (b - a) * (j - left) / hspan);
                p.sampleState = 0;
            }
        }
    }
}

std::vector<std::vector<int>> randomVoids(unsigned seed, int rows, int cols, double voidShare)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0, 1);
    std::uniform_int_distribution<int> height(-50, 3000);
    std::vector<std::vector<int>> cells(rows, std::vector<int>(cols));
    for (auto& row : cells)
        for (int& cell : row)
            cell = share(random) < 0.03 ? N : height(random);
    // Rectangles of voids of many sizes, some touching the edges.
    std::uniform_int_distribution<int> rowAt(0, rows - 1), colAt(0, cols - 1), extent(1, 25);
    const int rectangles = static_cast<int>(voidShare * rows * cols / 60);
    for (int n = 0; n < rectangles; ++n) {
        const int r0 = rowAt(random), c0 = colAt(random), h = extent(random), w = extent(random);
        for (int r = r0; r < std::min(rows, r0 + h); ++r)
            for (int c = c0; c < std::min(cols, c0 + w); ++c)
                cells[r][c] = V;
    }
    return cells;
}

TEST(Srtm3LineFill, MatchesAPointByPointWalkOnRandomVoids)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (int mode : {1, 2}) {
            const auto cells = randomVoids(seed, 61 + seed, 47 + 3 * seed, 0.1 * (seed % 5));
            setGrid(cells);
            referenceFill(mode);
            std::vector<GridPoint> expected(grid.points.get(), grid.points.get() + grid.gridRows * grid.gridCols);
            setGrid(cells);
            fillsrtm3lines(mode);
            for (std::size_t n = 0; n < expected.size(); ++n) {
                ASSERT_EQ(grid.points[n].sampleState, expected[n].sampleState)
                    << "seed " << seed << " mode " << mode << " point " << n;
                ASSERT_EQ(grid.points[n].elevation, expected[n].elevation)
                    << "seed " << seed << " mode " << mode << " point " << n;
            }
        }
    }
}

}  // namespace
