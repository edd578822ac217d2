#pragma once
// The viewer's one elevation grid: every loader fills it, the terrain mesh
// adds normals and colours to the same points, and the frame draws them.

#include <cstdint>
#include <memory>
#include <vector>

namespace orvex {

// Whether a grid point holds a sample to draw.
enum class SampleState : std::int8_t {
    valid = 0,    // read or filled
    dataVoid = 1, // no value here: an SRTM3 void, a GSI DEM point without one
    noTile = 2,   // no SRTM3 tile was read here
};

// Elevations that stand for no land sample: a GSI point that no sheet, cell
// or record covered, and sea or no data in SRTM.
inline constexpr float noSheetElevation = -999.0f;
inline constexpr float seaElevation = -9999.0f;

// The earth of the grid's metric frame: a sphere 40,000 km round.
inline constexpr double earthCircumference = 40000000.0;
inline constexpr double metresPerDegree = earthCircumference / 360.0;
inline constexpr double earthRadius = earthCircumference / (2 * 3.14159265358979323846);

struct GridPoint {
    float y;         // metres from the grid centre, positive to the south
    float x;         // metres from the grid centre, positive to the east
    float z;         // display height: curvature drop and sea lift applied
    float elevation; // metres as loaded
    float normal[3]; // unit surface normal, axes y, x, z
    std::uint8_t shadeColour[3];
    std::uint8_t flatColour[3];
    std::uint8_t blendColour[3];
    SampleState sampleState;
    bool inlandWater; // drawn in the sea colour at its own height
};

struct ElevationGrid {
    std::int32_t gridRows = 0;
    std::int32_t gridCols = 0;
    std::vector<GridPoint*> gridRowTable; // entry r points at the first point of row r
    double areaSouth = 0;
    double areaNorth = 0;
    double areaWest = 0;
    double areaEast = 0;
    double mountainShiftY = 0;
    double mountainShiftX = 0;
    double labelLift = 0;
    // The one contiguous block of gridRows x gridCols points, row by row.
    std::unique_ptr<GridPoint[]> points;
};

// The process-wide grid, the one the viewer shows.
extern ElevationGrid grid;

// What differs between the four data sets when a grid is set up and finished.
struct DataSetConstants {
    double rowStep;    // degrees
    double colStep;    // degrees
    double rowSpacing; // metres
    double colSpacing; // metres at the equator
    float initialElevation;
    SampleState initialState;
    double seaTest; // elevations below this are sea or no data
    double seaLift; // added to z there
};

extern const DataSetConstants gsi50Constants;
extern const DataSetConstants gsi250Constants;
extern const DataSetConstants srtm30Constants;
extern const DataSetConstants srtm3Constants;

// Sizes the grid to rows x cols, fills the row table and gives every point
// the data set's initial elevation and state (every other field zero). Sizes
// are checked in 64 bits: a grid that would overflow, exceed the machine's
// physical memory or fail to allocate ends through fatalError.
void allocategrid(ElevationGrid& grid, std::int64_t rows, std::int64_t cols, const DataSetConstants& set);
// The most points that allocategrid accepts on this machine.
std::int64_t maxGridPoints();
void allocategrid(std::int64_t rows, std::int64_t cols, const DataSetConstants& set); // the process-wide grid

// Places every point in the local metric frame centred on the area, lowered
// for the earth's curvature and lifted where the elevation is sea or no data.
// Reads areaNorth, so the area edges must be set first.
void finishgrid(ElevationGrid& grid, const DataSetConstants& set);
void finishgrid(const DataSetConstants& set); // the process-wide grid

} // namespace orvex
