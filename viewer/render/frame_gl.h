#pragma once
// Drawing one frame: the camera, the background, the terrain cells and the
// summit names.

namespace orvex {

// The terrain is drawn from client-side arrays over the grid points with
// whole blocks outside the view left out (fast), or as one polygon per cell
// (literal). Both give the same picture; the literal path stays for tests and
// benchmarks.
enum class TerrainPath { fast, literal };
void setTerrainPath(TerrainPath path);

// Sets the model-view matrix from the eye, the target and the view angles.
void applyCamera();

// Everything of a frame up to the buffer swap.
void drawFrame();

// The display callback: drawFrame, flush, swap.
void onDisplay();

// Cells the last frame's terrain drew (before the depth test).
long long lastDrawnCellCount();

// The fast path measures the grid once; tests that build another grid call this.
void forgetMeasuredTerrain();

} // namespace orvex
