#include "test_terrain.h"

#include <algorithm>
#include <cmath>

#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"
#include "state/window_operations.h"

using namespace orvex;

void makeTestTerrain(int rows, int cols, const std::function<float(int, int)>& height,
                     const std::function<bool(int, int)>& isVoid)
{
    allocategrid(rows, cols, srtm3Constants);
    grid.areaNorth = 35.5;
    grid.labelLift = 500;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            grid.gridRowTable[r][c].elevation = height(r, c);
            grid.gridRowTable[r][c].sampleState =
                isVoid && isVoid(r, c) ? SampleState::srtm3Void : SampleState::valid;
        }
    finishgrid(srtm3Constants);
}

float rollingHills(int row, int col)
{
    const double ridge = 1800 * std::exp(-std::pow((row - 60.0) / 25, 2) - std::pow((col - 90.0) / 30, 2));
    const double waves = 300 * std::sin(row / 7.0) * std::cos(col / 9.0);
    // Sea below -500 m would be lifted 9999 m by the SRTM sea lift.
    return static_cast<float>(std::max(ridge + waves + 4.0 * (row + col) - 300, -450.0));
}

void useDefaultColours()
{
    static constexpr int table[9][3] = {{0, 250, 0},     {120, 250, 140}, {120, 190, 140},
                                        {160, 190, 120}, {150, 190, 180}, {200, 190, 200},
                                        {230, 230, 230}, {0, 0, 255},     {200, 200, 255}};
    colours = ColourTable{};
    std::copy(&table[0][0], &table[0][0] + 27, &colours.colourTable[0][0]);
    colours.colourCount = 9;
}

void resetViewStateForTest()
{
    view = ViewState{};
    windowOperations = WindowOperations{[](const ViewState&) {}, [](const ViewState&) {}};
    mountains = MountainTable{};
}
