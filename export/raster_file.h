#pragma once
// The loaded grid as a GIS raster, written through GDAL: a GeoTIFF (float32,
// DEFLATE, tiled) when the name ends in ".tif" or ".tiff", else an ESRI
// .hdr-labelled float32 raster (.flt, .hdr and .prj). Either carries the
// grid's coordinate system, its georeferencing and one no-data value.

#include <string>
#include <vector>

#include "app/load_request.h"
#include "state/grid.h"

namespace orvex {

// Written for voids, for places that no file covered, and for sea: these data
// give the sea no height.
constexpr float rasterNoData = -9999.0f;

// The GeoTIFF's creation options: horizontal differencing with deflate at its
// fastest level (on elevations both smaller and faster than the
// floating-point predictor, and than deflate alone at its default level),
// tiles compressed on every core.
constexpr const char* geoTiffOptions[] = {"TILED=YES", "COMPRESS=DEFLATE",     "PREDICTOR=2",
                                          "ZLEVEL=1",  "NUM_THREADS=ALL_CPUS", "BIGTIFF=IF_SAFER"};

// A point's value in the raster: its elevation, or rasterNoData.
float rasterValue(const GridPoint& point, const DataSetConstants& set);

// The files that writeRaster makes for `out`.
std::vector<std::string> rasterFiles(const std::string& out);

// Writes the grid, the centre of its north-west point at (areaWest,
// areaNorth), every file beside its final name first; each replaces an older
// one only when all are complete. On failure returns false with a message in
// error.
bool writeRaster(const std::string& out, const ElevationGrid& grid, const LoadedGrid& where,
                 std::string& error);

} // namespace orvex
