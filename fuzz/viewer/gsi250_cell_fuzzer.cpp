// Any bytes, header flags included, as the one cell of a one-cell GSI 250 m
// area.
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
    writeInput("DATA/250M/5339.SEM", data, size);
    orvex::readgsi250(".", 5339, 1, 1);
    requireGrid(320, 320);
    return 0;
}
