// Any bytes as the one sheet of a one-sheet GSI 50 m area.
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
    writeInput("DATA/5339/533945.MEM", data, size);
    readgsi50(".", 533945, 1, 1);
    require(grid.gridRows == 200 && grid.gridCols == 200, "one sheet makes a 200 x 200 grid");
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c)
            require(std::isfinite(grid.gridRowTable[r][c].z), "every point has a finite height");
    return 0;
}
