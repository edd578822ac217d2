#pragma once
// The viewer's side of the fuzz targets: its fatal errors throw, so that a
// target can tell the endings the viewer promises from a crash.

#include <string>

struct FatalErrorThrown {
    std::string message;
};

// Installs a fatal-error handler that throws FatalErrorThrown. A target that
// does not expect one lets it escape, and libFuzzer reports the abort.
void throwOnFatalError();

// What every loader promises of the grid it leaves: the size its area asks
// for, a finite display height at every point, and a known sample state.
void requireGrid(int rows, int cols);
