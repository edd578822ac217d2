#pragma once
// The front-end's side of orvex.col: the nine band colours it keeps, written
// for the viewer before every start and at exit, and read back at start-up.

#include "core/map_state.h"
#include "core/saved_file.h"

#include <QByteArray>

namespace skyloom {

// Version line, the count 9, then red, green, blue of each band, CR LF lines.
QByteArray colourFileText(const BandColourTable& colours);

// Reads the file's colours over bandColor, each value as soon as it has been
// read. Only a file of this version with exactly nine entries counts; a value
// that is not a 16-bit integer stops the reading.
void readColourText(const QByteArray& text, BandColourTable& colours);

// ResetColor, then orvex.col in the working directory, if there is one.
void ReadColor(MapState& state);

// Writes bandColor to orvex.col beside and renamed; where that fails the old
// file stays as it was.
SaveResult WriteColor(const MapState& state);

} // namespace skyloom
