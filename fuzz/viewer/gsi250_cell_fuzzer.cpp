// Any bytes, header flags included, as the one cell of a one-cell GSI 250 m
// area.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "data/grid.h"
#include "data/loaders.h"
#include "fuzz_target.h"
#include "viewer_fuzzing.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    throwOnFatalError();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("DATA/250M/5339.SEM", data, size);
    readgsi250(".", 5339, 1, 1);
    require(grid.gridRows == 320 && grid.gridCols == 320, "one cell makes a 320 x 320 grid");
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c)
            require(std::isfinite(grid.gridRowTable[r][c].z), "every point has a finite height");
    return 0;
}
