#include "viewer_fuzzing.h"

#include <cmath>

#include "fuzz_target.h"
#include "state/fatal_error.h"
#include "state/grid.h"

using namespace orvex;

namespace {
[[noreturn]] void throwFatalError(const std::string& message)
{
    throw FatalErrorThrown{message};
}
} // namespace

void throwOnFatalError()
{
    setFatalErrorWaitsForEnter(false);
    setFatalErrorHandler(throwFatalError);
}

void requireGrid(int rows, int cols)
{
    require(grid.gridRows == rows && grid.gridCols == cols, "the grid has the area's size");
    for (int r = 0; r < grid.gridRows; ++r) {
        for (int c = 0; c < grid.gridCols; ++c) {
            const GridPoint& point = grid.gridRowTable[r][c];
            require(std::isfinite(point.z), "every point has a finite height");
            require(static_cast<std::uint8_t>(point.sampleState) <= 2, "a sample state is 0, 1 or 2");
        }
    }
}
