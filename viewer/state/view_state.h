#pragma once
// Everything about how the terrain is seen: the scene's size, the camera,
// zoom, speed, draw range, resolution, light, display switches, the drag in
// progress and the window size. Positions are in the grid's axes y (south),
// x (east), z (up); angles in degrees.

namespace orvex {

// The mouse drag in progress: none, flying (turn and climb) or moving the sun.
enum class DragMode { none, fly, sun };

// Summit names: off, in the large font or in the small one. orvex.env keeps
// the mode as its number, 0, 1 or 2.
enum class NameMode { off = 0, large = 1, small = 2 };

struct ViewState {
    double sceneRadius = 0;    // half the horizontal span of the grid
    float sceneCentre[3] = {}; // grid centre, 0.2 scene radii up
    double orbitDistance = 0;  // length of viewOffset
    double rangeFactor = 8.0;
    double rangeSquared = 0; // square of the horizontal draw range
    double speedFactor = 0.02;
    double speed = 0; // length of one forward step
    double fovyDefault = 50;
    double fovy = 0;   // vertical field of view
    double aspect = 0; // width / height, set by reshape
    double homePolar = 75;
    double homeAzimuth = 0;
    double movePolar = 90;     // polar angle of the (horizontal) forward step
    double viewPolar = 0;      // 0: eye straight above the target
    double viewAzimuth = 0;    // not wrapped
    double viewOffset[3] = {}; // eye - target as last computed
    float eye[3] = {};
    float target[3] = {};
    int gridStep = 1; // 1, 2 or 4
    DragMode dragMode = DragMode::none;
    int dragLastX = 0;
    int dragLastY = 0;
    // Kept in orvex.env from one run to the next:
    int windowWidth = 700;
    int windowHeight = 550;
    double brightness = 1.0;
    double sunAzimuth = 250;  // compass bearing
    double sunElevation = 30; // above the horizon
    int blendColours = 1;     // 1 blended band colours, 0 flat
    NameMode nameMode = NameMode::off;
};

// The process-wide view state.
extern ViewState view;

// Window sizes accepted from orvex.env and from the window system.
constexpr int largestWindowSide = 16384;

// (r sin p cos a, r sin p sin a, r cos p) in the order y, x, z; p and a in degrees.
void sphericalToCartesian(double r, double polar, double azimuth, double out[3]);

// Puts the camera orbitDistance from the scene centre at the given angles and
// restores speed, zoom, range and resolution; light and switches stay.
void resetView(ViewState& view, double polar, double azimuth);
void resetView(double polar, double azimuth); // the process-wide view

} // namespace orvex
