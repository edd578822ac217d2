#pragma once
// The loaded grid as an ESRI .hdr-labelled float32 raster, the form that
// GIS programs (GDAL's EHdr driver among them) open directly.

#include <string>

#include "state/grid.h"

namespace orvex {

// Written in place of samples that are not valid.
constexpr float rasterNoData = -32768.0f;

// The text of the .hdr file: size, little-endian float32 layout, the centre of
// the first sample (areaWest, areaNorth), the steps in degrees, the no-data
// value.
std::string ehdrHeader(const ElevationGrid& grid, const DataSetConstants& set);

// The .flt bytes of one grid row: elevation as little-endian float32, the
// no-data value where the sample is not valid.
std::string ehdrRow(const GridPoint* row, int cols);

// Writes base + ".flt" and base + ".hdr", each beside its final name first.
// On failure returns false with a message in error and leaves any file that
// was already there untouched.
bool writeEhdrRaster(const std::string& base, const ElevationGrid& grid, const DataSetConstants& set,
                     std::string& error);

} // namespace orvex
