#pragma once

namespace orvex {

struct ColourTable;
struct ElevationGrid;
struct ViewState;

// Start-up, after the grid, the colours and the summits are read: the mesh
// attributes, the scene size, the defaults, then orvex.env over them.
void initView(ViewState& view, ElevationGrid& grid, const ColourTable& colours);
void initView(); // the process-wide view state, grid and colours

} // namespace orvex
