#include <gtest/gtest.h>

#include <cmath>
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

// Rows 1 (10 m) and span + 1 (110 m) around a void that is wider than
// tall, 15 columns across.
std::string tall(int span)
{
    std::string text;
    for (int r = 0; r <= span + 2; ++r) {
        for (int c = 0; c < 15; ++c)
            text += r == 1                                  ? "10 "
                    : r == span + 1                         ? "110 "
                    : r > 1 && r <= span && c > 0 && c < 14 ? "V "
                                                            : "1 ";
        text += r <= span + 1 ? "/ " : "";
    }
    return text;
}

TEST(Srtm3LineFill, ShorterSpanFirstTheRowOnATieNeverFromAnEdge)
{
    const struct {
        std::string cells;
        int row, col;
        float filled; // NaN: stays a void
        int mode = 1;
    } cases[] = {
        {"1 1 1 1 1 / 1 1 100 1 1 / 1 10 V 30 1 / 1 1 300 1 1 / 1 1 1 1 1", 2, 2, 20}, // a tie: the row
        {"1 1 1 1 1 / 1 1 V 1 1 / 1 N V 40 1 / 1 1 V 1 1 / 1 1 1 1 1", 2, 2, 20}, // no tile: an anchor at 0 m
        {"1 1 1 1 1 / 1 1 70 1 1 / 1 10 V V 40 / 1 1 30 1 1 / 1 1 1 1 1", 2, 2, 50}, // the column is shorter
        // The shorter walk, north, reaches row 0: no fill, and the row is not tried.
        {"5 5 5 5 5 5 5 / 5 10 V V V 50 5 / 5 5 5 5 5 5 5 / 5 5 5 5 5 5 5", 1, 3, NAN},
        {"5 5 5 5 5 / 5 V 5 5 5 / 7 V 9 5 5 / 5 V 5 5 5 / 5 5 5 5 5", 2, 1, NAN}, // column 0 is no anchor
        {"V V V / V 7 V / V V V", 0, 1, NAN},                                     // edges are never filled
        // Mode 2 fills spans of up to 10 steps, the mode 1 any.
        {tall(10), 6, 1, 60, 2},
        {tall(11), 6, 1, NAN, 2},
        {tall(11), 6, 1, 10 + 500 / 11.0f, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cells);
        ElevationGrid g = gridOf(c.cells);
        fillsrtm3lines(g, c.mode);
        const GridPoint& point = g.gridRowTable[c.row][c.col];
        EXPECT_EQ(point.sampleState, std::isnan(c.filled) ? SampleState::dataVoid : SampleState::valid);
        if (!std::isnan(c.filled)) {
            EXPECT_FLOAT_EQ(point.elevation, c.filled);
        }
    }
}

} // namespace
