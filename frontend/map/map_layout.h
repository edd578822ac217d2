#pragma once
// The arithmetic that places the map on the surface.

#include "core/coastline.h"
#include "core/map_cells.h"

#include <cstdint>
#include <optional>

namespace skyloom {

inline constexpr double kCellWidthPixels = 45.0;
inline constexpr double kCellHeightPixels = 36.0;

// Cells that fit into a length of pixels: rounded to nearest, ties to even
// (90 pixels of height give 2 rows, 54 give 2, 18 give 0).
int cellCountForPixels(double pixels, double cellPixels);

// Whether a grid line at this map column or row is a primary-square edge.
bool isPrimaryEdge(std::int64_t mapLine);

// Top-left corner of a name of the given Shift-JIS width in surface cell
// (i, k): centred at kNameCellsPerByte per byte, top edge kNameTopInCell up
// the cell.
inline constexpr double kNameCellsPerByte = 0.12;
inline constexpr double kNameTopInCell = 0.6;
double nameLeft(int i, int bytes);
double nameTop(int k);

// A coastline segment in surface units, or nothing where it is not drawn:
// drawn only if x1 >= 0, x2 <= cols, y1 >= 0 and y2 <= rows (the surface
// clips the rest) and both ends are representable.
struct SurfaceSegment {
    float x1, y1, x2, y2;
};
std::optional<SurfaceSegment> coastOnSurface(const CoastSegment& segment, Mesh mesh, int originX, int originY,
                                             int viewCols, int viewRows);

// The cell under a pointer coordinate, rounding toward minus infinity.
int cellUnder(double coordinate);

// a + b limited to the 32-bit range, so the view can move without end.
int addClamped(std::int64_t a, std::int64_t b);

} // namespace skyloom
