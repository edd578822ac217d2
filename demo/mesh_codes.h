#pragma once
// Map cells and the grid-square codes of Japan (JIS X 0410). Column X counts
// 50 m sheets (1/8 degree) east from 120 E, row Y counts them (1/12 degree)
// north from 26 N; eight sheets make one primary cell each way.

namespace demo {

struct MapCell {
    int x;
    int y;
};

// The 50 m sheet holding a point.
MapCell sheetAt(double lat, double lon);

// 6-digit code PPQQpq of a 50 m sheet, e.g. (158, 116) -> 533946.
int secondaryCode(MapCell sheet);

// 4-digit code PPQQ of the primary cell holding a 50 m sheet, e.g. 5339.
int primaryCode(MapCell sheet);

// Edges of a sheet in degrees.
double sheetSouth(MapCell sheet);
double sheetWest(MapCell sheet);

// Edges of a primary cell from its code.
double primarySouth(int code);
double primaryWest(int code);

} // namespace demo
