#pragma once
// Void filling of an SRTM3 grid by straight lines along a row or a column.

namespace orvex {

struct ElevationGrid;

// One sweep over the inner points, north to south and west to east. A void
// point (SampleState::dataVoid) is filled between the nearest non-void anchors in the
// direction of the shorter span (the row on a tie), unless that walk ends at
// the grid's edge or, in mode 2, the span is over 10. Anchors without a tile
// count with their 0 m; points filled earlier in the sweep count as anchors.
void fillsrtm3lines(ElevationGrid& grid, int mode);

} // namespace orvex
