#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "data/srtm3_line_fill.h"
#include "state/grid.h"

using namespace orvex;

namespace {

// A grid from rows separated by "/" of samples separated by blanks: a number
// is a valid sample, V a void, N a point no tile covered (0 m).
ElevationGrid gridOf(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::istringstream in(text);
    for (std::string word; in >> word;)
        if (word == "/")
            rows.emplace_back();
        else
            rows.back().push_back(word);
    ElevationGrid g;
    allocategrid(g, std::ssize(rows), std::ssize(rows[0]), srtm3Constants);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& word = rows[r][c];
            GridPoint& point = g.gridRowTable[r][c];
            point.sampleState = word == "V"   ? SampleState::dataVoid
                                : word == "N" ? SampleState::noTile
                                              : SampleState::valid;
            point.elevation = word == "V" ? -32768.0f : word == "N" ? 0.0f : std::stof(word);
        }
    return g;
}

TEST(Srtm3LineFill, ShorterSpanFirstTheRowOnATieNeverFromAnEdge)
{
    const struct {
        const char* cells;
        int row, col;
        float filled; // NaN: stays a void
    } cases[] = {
        {"1 1 1 1 1 / 1 1 100 1 1 / 1 10 V 30 1 / 1 1 300 1 1 / 1 1 1 1 1", 2, 2, 20}, // a tie: the row
        {"1 1 1 1 1 / 1 1 V 1 1 / 1 N V 40 1 / 1 1 V 1 1 / 1 1 1 1 1", 2, 2, 20}, // no tile: an anchor at 0 m
        {"1 1 1 1 1 / 1 1 70 1 1 / 1 10 V V 40 / 1 1 30 1 1 / 1 1 1 1 1", 2, 2, 50}, // the column is shorter
        // The shorter walk, north, reaches row 0: no fill, and the row is not tried.
        {"5 5 5 5 5 5 5 / 5 10 V V V 50 5 / 5 5 5 5 5 5 5 / 5 5 5 5 5 5 5", 1, 3, NAN},
        {"5 5 5 5 5 / 5 V 5 5 5 / 7 V 9 5 5 / 5 V 5 5 5 / 5 5 5 5 5", 2, 1, NAN}, // column 0 is no anchor
        {"V V V / V 7 V / V V V", 0, 1, NAN},                                     // edges are never filled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cells);
        ElevationGrid g = gridOf(c.cells);
        fillsrtm3lines(g, 1);
        const GridPoint& point = g.gridRowTable[c.row][c.col];
        EXPECT_EQ(point.sampleState, std::isnan(c.filled) ? SampleState::dataVoid : SampleState::valid);
        if (!std::isnan(c.filled)) {
            EXPECT_FLOAT_EQ(point.elevation, c.filled);
        }
    }
}

// The line fill as a literal walk from every void point, to check the sweep's
// running anchors against.
void walkFill(ElevationGrid& g, int mode)
{
    const auto isVoid = [&](int r, int c) {
        return g.gridRowTable[r][c].sampleState == SampleState::dataVoid;
    };
    for (int i = 1; i < g.gridRows - 1; ++i)
        for (int j = 1; j < g.gridCols - 1; ++j) {
            if (!isVoid(i, j))
                continue;
            int top = i - 1, bottom = i + 1, left = j - 1, right = j + 1;
            for (; top > 0 && isVoid(top, j); --top) {
            }
            for (; bottom < g.gridRows - 1 && isVoid(bottom, j); ++bottom) {
            }
            for (; left > 0 && isVoid(i, left); --left) {
            }
            for (; right < g.gridCols - 1 && isVoid(i, right); ++right) {
            }
            const bool down = bottom - top < right - left;
            const int first = down ? top : left, last = down ? bottom : right;
            if (first == 0 || last == (down ? g.gridRows : g.gridCols) - 1 ||
                (mode == 2 && last - first > 10))
                continue;
            const double a = g.gridRowTable[down ? top : i][down ? j : left].elevation;
            const double b = g.gridRowTable[down ? bottom : i][down ? j : right].elevation;
            GridPoint& point = g.gridRowTable[i][j];
            point.elevation = static_cast<float>(a + (b - a) * ((down ? i : j) - first) / (last - first));
            point.sampleState = SampleState::valid;
        }
}

TEST(Srtm3LineFill, MatchesAPointByPointWalkOnRandomVoids)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        const int rows = 61 + seed, cols = 47 + 3 * seed;
        std::vector<std::string> cells(rows * cols);
        for (std::string& cell : cells)
            cell = random() % 100 < 3 ? "N" : std::to_string(int(random() % 3050) - 50);
        // Rectangles of voids of many sizes, some touching the edges.
        for (int n = 0; n < int(seed % 5) * rows * cols / 600; ++n) {
            const int r0 = random() % rows, c0 = random() % cols, h = 1 + random() % 25,
                      w = 1 + random() % 25;
            for (int r = r0; r < std::min(rows, r0 + h); ++r)
                for (int c = c0; c < std::min(cols, c0 + w); ++c)
                    cells[r * cols + c] = "V";
        }
        std::string text;
        for (int n = 0; n < rows * cols; ++n)
            text += cells[n] + (n % cols == cols - 1 && n + 1 < rows * cols ? " / " : " ");
        for (int mode : {1, 2}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", mode " + std::to_string(mode));
            ElevationGrid walked = gridOf(text), swept = gridOf(text);
            walkFill(walked, mode);
            fillsrtm3lines(swept, mode);
            for (int n = 0; n < rows * cols; ++n) {
                ASSERT_EQ(swept.points[n].sampleState, walked.points[n].sampleState) << n;
                ASSERT_EQ(swept.points[n].elevation, walked.points[n].elevation) << n;
            }
        }
    }
}

} // namespace
