// Any bytes, a truncated tile included, as the SRTM3 tile N35E139, read as
// its north-west block. The input's length picks the void filling (mode 0, 1
// or 2), so that every mode meets every kind of tile; mode 2 finds no SRTM30
// tile and falls back as it does for a user without one.
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
    writeInput("n35e139.hgt", data, size);
    const int mode = static_cast<int>(size % 3);
    orvex::readsrtm3(".", 108, 638, 108, 638, mode, ".");
    requireGrid(601, 601);
    return 0;
}
