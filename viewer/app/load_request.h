#pragma once

#include <string>

#include "app/command_line.h"
#include "state/grid.h"

namespace orvex {

// Where a loaded grid lies: its data set's steps, and its geographic
// coordinate system (as GDAL reads it: "EPSG:..." or WKT).
struct LoadedGrid {
    DataSetConstants constants;
    std::string crs;
};

// Calls the one loader of the request with its words, into the grid; the
// progress indicator is gone when it returns.
LoadedGrid runLoader(ElevationGrid& grid, const LoadRequest& request);

// Parses and loads into the process-wide grid; false, with nothing printed or
// read, when the command line names no data set.
bool loadFromCommandLine(int argc, const char* const argv[]);

} // namespace orvex
