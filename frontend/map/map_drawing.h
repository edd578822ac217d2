#pragma once
// The map drawn onto picMap: grid lines, sheet names, coastline and range.

#include "map/map_canvas.h"

namespace skyloom {

struct MapState;

// DrawPresence, DrawMesh, DrawMapName, DrawCoast, into whichever layer is
// current.
void reDraw(const MapState& state, MapCanvas& canvas);

// The cells whose data the last scan found in the current data set's folder,
// tinted lightly; the cells of a chosen range keep its fill.
void DrawPresence(const MapState& state, MapCanvas& canvas);

// Grid lines between the cells; on the 50 m sheets the edges of primary
// squares, on the half-degree blocks those of whole degrees, are thick and
// blue. The surface's edges get no line.
void DrawMesh(const MapState& state, MapCanvas& canvas);

// The current mesh's sheet names, centred by their Shift-JIS width.
void DrawMapName(const MapState& state, MapCanvas& canvas);

// The coastline segments that pass the visibility test.
void DrawCoast(const MapState& state, MapCanvas& canvas);

// The range between two corners: filled green, or a thick green outline.
void DrawRange(MapCanvas& canvas, double x1, double y1, double x2, double y2, bool filled);

} // namespace skyloom
