#pragma once
// Where the eye is, for the window's title: its latitude and longitude
// computed back from the grid's metric frame, its height and its height
// above the ground below it, the heading and the speed factor.

#include <string>

namespace orvex {

struct ElevationGrid;
struct ViewState;

// What lies below the eye.
enum class Ground { land, sea, noData, outside };

struct EyePosition {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive, within -180 .. 180
    double height = 0;    // metres above sea level (the curvature drop undone)
    Ground ground = Ground::outside;
    double groundHeight = 0; // metres, on land: between the four grid points around the eye
    double heading = 0;      // degrees from north, clockwise, 0 .. 360
    double speedFactor = 1;  // the speed against the default one
};

// Latitude and longitude of a point of the grid's frame (metres y south, x
// east); exact at the grid points, and beyond the area's edges the same
// formulas go on. Needs a finished grid of at least one point.
void frameToDegrees(const ElevationGrid& grid, double y, double x, double& latitude, double& longitude);

EyePosition eyePosition(const ElevationGrid& grid, const ViewState& view);

// "ORVEX  35.3606 N 138.7274 E  3120 m (450 m above ground)  heading 271  speed x2";
// just "ORVEX" without a grid.
std::string positionTitle(const ElevationGrid& grid, const ViewState& view);

} // namespace orvex
