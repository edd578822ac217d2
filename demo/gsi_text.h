#pragma once
// The GSI mesh files as text: "%6d%3d" record heads and "%5d" values in
// tenths of a metre, lines ending in CR LF as in the distributed data.

#include <string>

#include "terrain.h"

// Value field for one sample: tenths of a metre, or -9999 in the sea.
int gsiTenths(float metres);

// One 50 m sheet: a header line, then 200 records of 200 values, northern
// row first, cut from `block` at (row0, col0).
std::string gsi50SheetText(int code, const Raster& block, int row0, int col0);

// One 250 m primary cell: a header line of 224 characters, the 320 row flags
// ('0' for a row that lies wholly in the sea, which then has no record) and
// the line end; then one record of 320 values per flagged row.
std::string gsi250CellText(int code, const Raster& block, int row0, int col0);

// Appends value right-aligned in a field of `width` characters (wider when
// the value needs more).
void appendField(std::string& out, int value, int width);
