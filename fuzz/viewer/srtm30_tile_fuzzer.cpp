// Any bytes, a truncated tile included, as the SRTM30 tile E100N40, read as
// its first block.
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
    writeInput("e100n40.dem", data, size);
    readsrtm30(".", 10, 56, 10, 56);
    require(grid.gridRows == 600 && grid.gridCols == 600, "one block makes a 600 x 600 grid");
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c)
            require(std::isfinite(grid.gridRowTable[r][c].z), "every point has a finite height");
    return 0;
}
