#pragma once

#include "app/command_line.h"

namespace orvex {

// Calls the one loader of the request with its words.
void runLoader(const LoadRequest& request);

// Parses and loads; false, with nothing printed or read, when the command line
// names no data set.
bool loadFromCommandLine(int argc, const char* const argv[]);

} // namespace orvex
