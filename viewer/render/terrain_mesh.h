#pragma once
// What drawing needs on every grid point besides its position: a unit normal,
// the flat and the blended band colour, and the lit colour that is drawn.

#include <cstdint>

namespace orvex {

struct ColourTable;
struct ElevationGrid;
struct ViewState;

// Unit normal of the surface through four neighbours (positions y, x, z):
// (north - south) x (west - east). Level ground gives (0, 0, 1); four equal
// points, which have no surface, give the same.
void gridNormal(const double south[3], const double east[3], const double north[3], const double west[3],
                double normal[3]);

// Colour of elevation e (metres) from the band entries of the colour table,
// blended towards the next band when blend is 1; the sea colour below -500 m.
void bandColour(const ColourTable& colours, float elevation, int blend, std::uint8_t rgb[3]);

// The normal and both band colours of every grid point; once, at start-up.
void computeMeshAttributes(ElevationGrid& grid, const ColourTable& colours);
void computeMeshAttributes(); // the process-wide grid and colours

// Light factor of a surface with this normal: brightness x (1 + sin(d x 90 degrees)) / 2,
// d being the cosine between the normal and the sun direction.
// sin(d x 90 degrees) for d in -1 .. 1, within an ulp of the library sine
// and exact at 0 and +-1, at a fraction of its cost: relighting takes one per
// grid point.
double sinQuarterTurns(double d);

struct SunLight {
    double direction[3]; // towards the sun, axes y, x, z
    double brightness;
};
// The sun and the brightness of the view state.
SunLight currentSunLight(const ViewState& view);
double lightFactor(const float normal[3], const SunLight& sun);

// Recomputes the drawn colour of every grid point from the sun, the
// brightness and the colour switch of the view state.
void relight(ElevationGrid& grid, const ViewState& view);
void relight(); // the process-wide grid and view state

} // namespace orvex
