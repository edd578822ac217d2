#pragma once
// The data sets' grids over the one map: the ground a cell covers, the range
// carried from one grid to another, and the SRTM3 block numbers and edges in
// degrees of a rectangle of half-degree blocks.

#include "core/map_cells.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace skyloom {

struct MapState;

// Ground in whole units that every grid's cell spans exactly: longitude in
// half-minutes east of 120 E, latitude in minutes north of 26 N.
struct GridUnits {
    int lonPerCell;
    int latPerCell;
    int cols; // the grid's cells over the map, 120 E to 150 E
    int rows; // and 26 N to 50 N
};
GridUnits unitsOf(Grid grid);

// A rectangle of map cells, columns x1 .. x2 - 1 and rows y1 .. y2 - 1.
struct CellRange {
    std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const CellRange&) const = default;
};

// The cells of grid `to` that cover the ground of `range` in grid `from`.
CellRange carryCells(const CellRange& range, Grid from, Grid to);

// Switches the data set: the origin moves so that the middle of the view
// stays over the same ground (between 50 m and 250 m by the rounding the
// dialog has always used), and a chosen range becomes the cells of the new
// grid over the same ground, or none where those do not fit the surface's
// 32-bit cells. A start cell alone is dropped.
void switchDataSet(MapState& state, Mesh newMesh);

// 50 m sheets along each side of a half-degree block: 4 across, 6 up.
inline constexpr int kSheetsPerBlockX = 4;
inline constexpr int kSheetsPerBlockY = 6;

// a / b rounded toward minus infinity (b > 0).
std::int64_t floorDivide(std::int64_t a, std::int64_t b);

// SRTM3 block numbers of map cells of the block grid: rows counted south
// from 90 N, columns east from 180 W.
std::int64_t srtmBlockRow(std::int64_t mapY);
std::int64_t srtmBlockColumn(std::int64_t mapX);

// Edges in degrees of a rectangle of cells of a grid (north, west, south,
// east).
struct DegreeBox {
    double north = 0, west = 0, south = 0, east = 0;
    bool operator==(const DegreeBox&) const = default;
};
DegreeBox degreesOf(const CellRange& range, Grid grid);

// The cell of a grid that holds a longitude and latitude.
MapCell cellAt(Grid grid, double longitude, double latitude);

// A place the user names: a grid-square code of 4 or 6 digits (also with a
// hyphen, as in 5339-46), or a latitude and a longitude in degrees separated
// by a comma or blanks. Its ground's middle in degrees (longitude, latitude);
// nothing for text of neither kind.
struct GroundPoint {
    double longitude = 0, latitude = 0;
};
std::optional<GroundPoint> parsePlace(const QString& text);

// Moves the view so that the place lies in the middle of it, the range
// shifted to stay on its cells.
void centreViewOn(MapState& state, const GroundPoint& place);

// The data folder of a data set, and the SRTM30 folder of mode 2.
const QString& dataDirOf(const MapState& state, Mesh mesh);
QString& dataDirOf(MapState& state, Mesh mesh);

} // namespace skyloom
