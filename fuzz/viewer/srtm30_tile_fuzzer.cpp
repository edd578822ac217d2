// Any bytes, a truncated tile included, as the SRTM30 tile E100N40, read as
// its first block.
#include <cstddef>
#include <cstdint>

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
    orvex::readsrtm30(".", 10, 56, 10, 56);
    requireGrid(600, 600);
    return 0;
}
