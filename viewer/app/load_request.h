#pragma once

#include "app/command_line.h"

namespace orvex {

struct ElevationGrid;

// Calls the one loader of the request with its words, into the grid; the
// progress indicator is gone when it returns.
void runLoader(ElevationGrid& grid, const LoadRequest& request);

// Parses and loads into the process-wide grid; false, with nothing printed or
// read, when the command line names no data set.
bool loadFromCommandLine(int argc, const char* const argv[]);

} // namespace orvex
