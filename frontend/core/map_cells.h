#pragma once
// Map cells of the front-end and the standard grid-square codes of Japan.
// Columns count east from 120 E and rows north from 26 N. In the 50 m mesh a
// cell is one secondary square (7.5' x 5', one 1:25,000 sheet); in the 250 m
// mesh one primary square (1 deg x 40'). Eight 50 m cells make one 250 m cell
// each way.

#include <cstdint>
#include <optional>

namespace skyloom {

// The data sets the viewer can be started on; the numbers are those
// skyloom.env holds. The GSI DEM of 10 m and 5 m lies on the 50 m sheets.
enum class Mesh { gsi50 = 0, gsi250 = 1, dem10 = 2, dem5 = 3, srtm = 4 };
inline constexpr int kDataSetCount = 5;

// The map grid a data set is chosen on: 1:25,000 sheets (secondary squares),
// primary squares, or half-degree blocks (those of SRTM3).
enum class Grid { sheet50, primary250, block };
Grid gridOf(Mesh mesh);

// The grid's south-west corner in the codes' terms: row 0 has latitude code
// 39 (26 N times 1.5), column 0 longitude code 20 (120 E less 100).
inline constexpr int kSouthLatitudeCode = 39;
inline constexpr int kWestLongitudeCode = 20;
inline constexpr double kWestLongitude = 120.0;
inline constexpr double kLatitudeCodesPerDegree = 1.5;
// Secondary squares along each side of a primary square.
inline constexpr int kSecondaryPerPrimary = 8;

inline constexpr int kCols50 = 240;
inline constexpr int kRows50 = 288;
inline constexpr int kCols250 = 30;
inline constexpr int kRows250 = 36;
// Half-degree blocks over the same map: 60 x 48.
inline constexpr int kBlocksPerDegree = 2;
inline constexpr int kColsBlock = 60;
inline constexpr int kRowsBlock = 48;

struct MapCell {
    int x = 0;
    int y = 0;
    bool operator==(const MapCell&) const = default;
};

// Grid-square code of map cell (x, y): 6 digits in the 50 m mesh, 4 digits in
// the 250 m mesh. Cells off the grid follow the same formula (the launcher
// never refuses them); the arithmetic is 64-bit so no origin can overflow it.
std::int64_t MeshCode(Mesh mesh, std::int64_t x, std::int64_t y);

// The cell a code names in each index file, or nothing where the cell lies
// outside that mesh's table.
std::optional<MapCell> cellOfCode50(std::int64_t code);
std::optional<MapCell> cellOfCode250(std::int64_t code);

// Map units of a longitude/latitude in the given data set's grid (one unit
// per cell).
double mapUnitX(Mesh mesh, double longitude);
double mapUnitY(Mesh mesh, double latitude);

} // namespace skyloom
