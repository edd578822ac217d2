#pragma once
// The GSI 10 m and 5 m DEM as the viewer's grid: an area of sheets named
// as for the 50 m mesh, laid edge to edge, 750 x 1125 points a sheet at
// 10 m and 1500 x 2250 at 5 m, from the DEM files and ZIP archives anywhere
// under a data folder.

#include <string>

#include "state/grid.h"

namespace orvex {

extern const DataSetConstants fgd10Constants;
extern const DataSetConstants fgd5Constants;

// The area of `rows` x `cols` sheets whose north-west sheet is `code`
// (PPQQpq), walked as readgsi50 walks it. Sea is sea; inland water with a
// value keeps its height and takes the sea colour; points without a value,
// without a file or outside a file's tuple list are voids. At 5 m the voids
// are first filled, bilinearly, from the 10 m files under the same folder.
void loadFgd10(ElevationGrid& grid, const std::string& dir, int code, int rows, int cols);
void loadFgd5(ElevationGrid& grid, const std::string& dir, int code, int rows, int cols);

} // namespace orvex
