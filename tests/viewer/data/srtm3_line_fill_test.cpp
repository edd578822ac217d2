#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "data/srtm3_line_fill.h"
#include "state/grid.h"

using namespace orvex;

namespace {

constexpr int V = -100000; // a void sample (state 1)
constexpr int N = -200000; // no tile read here (state 2, 0 m)
using Cells = std::vector<std::vector<int>>;

void setGrid(const Cells& cells)
{
    allocategrid(std::ssize(cells), std::ssize(cells[0]), srtm3Constants);
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            const int value = cells[r][c];
            grid.gridRowTable[r][c].sampleState =
                value == V ? SampleState::srtm3Void : (value == N ? SampleState::noTile : SampleState::valid);
            grid.gridRowTable[r][c].elevation = value == V ? -32768.0f : (value == N ? 0.0f : value);
        }
}

const GridPoint& at(int row, int col)
{
    return grid.gridRowTable[row][col];
}

TEST(Srtm3LineFill, ShorterSpanFirstTheRowOnATieNeverFromAnEdge)
{
    const struct {
        Cells cells;
        int row, col;
        bool filled;
        float elevation;
    } cases[] = {
        // A tie: the mean of the row neighbours.
        {{{1, 1, 1, 1, 1}, {1, 1, 100, 1, 1}, {1, 10, V, 30, 1}, {1, 1, 300, 1, 1}, {1, 1, 1, 1, 1}},
         2,
         2,
         true,
         20},
        // A point without a tile is an anchor at 0 m.
        {{{1, 1, 1, 1, 1}, {1, 1, V, 1, 1}, {1, N, V, 40, 1}, {1, 1, V, 1, 1}, {1, 1, 1, 1, 1}},
         2,
         2,
         true,
         20},
        // The shorter walk, north, reaches row 0: no fill, and the row is not tried.
        {{{5, 5, 5, 5, 5, 5, 5}, {5, 10, V, V, V, 50, 5}, {5, 5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5, 5}},
         1,
         3,
         false,
         0},
        // Walking west reaches column 0: edge points are never anchors.
        {{{5, 5, 5, 5, 5}, {5, V, 5, 5, 5}, {7, V, 9, 5, 5}, {5, V, 5, 5, 5}, {5, 5, 5, 5, 5}},
         2,
         1,
         false,
         0},
        {{{V, V, V}, {V, 7, V}, {V, V, V}}, 0, 1, false, 0}, // edge points are never filled
    };
    for (const auto& c : cases) {
        setGrid(c.cells);
        fillsrtm3lines(grid, 1);
        EXPECT_EQ(at(c.row, c.col).sampleState, c.filled ? SampleState::valid : SampleState::srtm3Void)
            << c.row << ", " << c.col;
        if (c.filled) {
            EXPECT_FLOAT_EQ(at(c.row, c.col).elevation, c.elevation);
        }
    }
}

TEST(Srtm3LineFill, Mode2FillsSpansUpTo10AndMode1AnyLength)
{
    const struct {
        int side, mode, voidsLeft;
    } cases[] = {{9, 2, 0}, {10, 2, 100}, {10, 1, 0}, {40, 1, 0}}; // a run of 9 voids spans 10
    for (const auto& c : cases) {
        // A ramp rising 10 m a column, with a square of voids at (2, 2).
        Cells cells(c.side + 4, std::vector<int>(c.side + 4));
        for (int r = 0; r < c.side + 4; ++r)
            for (int col = 0; col < c.side + 4; ++col)
                cells[r][col] = r >= 2 && r < 2 + c.side && col >= 2 && col < 2 + c.side ? V : 10 * col;
        setGrid(cells);
        fillsrtm3lines(grid, c.mode);
        int left = 0;
        for (int r = 0; r < grid.gridRows; ++r)
            for (int col = 0; col < grid.gridCols; ++col) {
                left += at(r, col).sampleState == SampleState::srtm3Void;
                if (at(r, col).sampleState == SampleState::valid) {
                    ASSERT_FLOAT_EQ(at(r, col).elevation, 10.0f * col) << r << ", " << col;
                }
            }
        EXPECT_EQ(left, c.voidsLeft) << c.side << " in mode " << c.mode;
    }
}

// The line fill as a literal walk from every void point, to check the
// incremental anchor search against.
void referenceFill(int mode)
{
    const int rows = grid.gridRows, cols = grid.gridCols;
    for (int i = 1; i < rows - 1; ++i)
        for (int j = 1; j < cols - 1; ++j) {
            if (at(i, j).sampleState != SampleState::srtm3Void)
                continue;
            int top = i - 1, bottom = i + 1, left = j - 1, right = j + 1;
            while (top > 0 && at(top, j).sampleState == SampleState::srtm3Void)
                --top;
            while (bottom < rows - 1 && at(bottom, j).sampleState == SampleState::srtm3Void)
                ++bottom;
            while (left > 0 && at(i, left).sampleState == SampleState::srtm3Void)
                --left;
            while (right < cols - 1 && at(i, right).sampleState == SampleState::srtm3Void)
                ++right;
            const bool down = bottom - top < right - left;
            const int first = down ? top : left, last = down ? bottom : right,
                      end = down ? rows - 1 : cols - 1;
            if (first == 0 || last == end || (mode == 2 && last - first > 10))
                continue;
            const double a = down ? at(top, j).elevation : at(i, left).elevation;
            const double b = down ? at(bottom, j).elevation : at(i, right).elevation;
            grid.gridRowTable[i][j].elevation =
                static_cast<float>(a + (b - a) * ((down ? i : j) - first) / (last - first));
            grid.gridRowTable[i][j].sampleState = SampleState::valid;
        }
}

TEST(Srtm3LineFill, MatchesAPointByPointWalkOnRandomVoids)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        const int rows = 61 + seed, cols = 47 + 3 * seed;
        Cells cells(rows, std::vector<int>(cols));
        for (auto& row : cells)
            for (int& cell : row)
                cell = random() % 100 < 3 ? N : static_cast<int>(random() % 3050) - 50;
        // Rectangles of voids of many sizes, some touching the edges.
        for (int n = 0; n < static_cast<int>(seed % 5) * rows * cols / 600; ++n) {
            const int r0 = random() % rows, c0 = random() % cols, h = 1 + random() % 25,
                      w = 1 + random() % 25;
            for (int r = r0; r < std::min(rows, r0 + h); ++r)
                std::fill_n(cells[r].begin() + c0, std::min(cols - c0, w), V);
        }
        for (int mode : {1, 2}) {
            setGrid(cells);
            referenceFill(mode);
            const std::vector<GridPoint> expected(grid.points.get(), grid.points.get() + rows * cols);
            setGrid(cells);
            fillsrtm3lines(grid, mode);
            for (int n = 0; n < rows * cols; ++n) {
                ASSERT_EQ(grid.points[n].sampleState, expected[n].sampleState)
                    << seed << " " << mode << " " << n;
                ASSERT_EQ(grid.points[n].elevation, expected[n].elevation) << seed << " " << mode << " " << n;
            }
        }
    }
}

} // namespace
