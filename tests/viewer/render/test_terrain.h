#pragma once
// Small terrains and the front-end's colour table for the renderer's tests.

#include <algorithm>
#include <cmath>
#include <functional>

#include "state/colour_table.h"
#include "state/grid.h"

// Hills and valleys rising to the south-east from a low plain above the sea,
// 1/1200 degree apart near 35.5 N; a sample is void where isVoid says so.
inline void makeHills(orvex::ElevationGrid& g, int rows, int cols,
                      const std::function<bool(int, int)>& isVoid = {})
{
    using namespace orvex;
    allocategrid(g, rows, cols, srtm3Constants);
    g.areaNorth = 35.5, g.labelLift = 500;
    for (int n = 0, r = 0, c = 0; n < rows * cols; ++n, r = n / cols, c = n % cols) {
        const double ridge = 1800 * std::exp(-std::pow((r - 60.0) / 25, 2) - std::pow((c - 90.0) / 30, 2));
        const double waves = 300 * std::sin(r / 7.0) * std::cos(c / 9.0);
        g.points[n].elevation = static_cast<float>(std::max(ridge + waves + 4.0 * (r + c) - 300, -450.0));
        g.points[n].sampleState = isVoid && isVoid(r, c) ? SampleState::dataVoid : SampleState::valid;
    }
    finishgrid(g, srtm3Constants);
}

// The front-end's default table: seven bands, sea (0, 0, 255), background (200, 200, 255).
inline orvex::ColourTable defaultColours()
{
    const int rgb[9][3] = {{0, 250, 0},     {120, 250, 140}, {120, 190, 140},
                           {160, 190, 120}, {150, 190, 180}, {200, 190, 200},
                           {230, 230, 230}, {0, 0, 255},     {200, 200, 255}};
    orvex::ColourTable colours{{}, 9};
    std::copy(&rgb[0][0], &rgb[0][0] + 27, &colours.colourTable[0][0]);
    return colours;
}
