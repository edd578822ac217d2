#pragma once
// The GSI mesh files as text: record heads read as "%6d%3d" and values as
// "%5d", in tenths of a metre, lines ending in CR LF.

#include <string>

#include "terrain.h"

namespace demo {

// Value field for one sample: tenths of a metre, or -9999 in the sea.
int gsiTenths(float metres);

// One 50 m sheet: a header line, then 200 records of 200 values, northern
// row first, cut from `block` at (row0, col0).
std::string gsi50SheetText(int code, const Raster& block, int row0, int col0);

// One 250 m primary cell: a header line of 224 characters, the 320 row flags
// ('0' for a row that lies wholly in the sea, which then has no record) and
// the line end; then one record of 320 values per flagged row.
std::string gsi250CellText(int code, const Raster& block, int row0, int col0);

// Appends value zero-padded to `width` characters ("-0012", "00123"; wider
// when the value needs more). Readers skip blanks before a field and only
// then count its width, so a blank-padded field would run on into the next
// one ("  123" followed by "12345" reads as 12312): every field must fill
// its width with the sign and digits alone.
void appendField(std::string& out, int value, int width);

} // namespace demo
