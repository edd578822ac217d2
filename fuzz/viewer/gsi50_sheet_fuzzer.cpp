// Any bytes as the one sheet of a one-sheet GSI 50 m area.
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
    writeInput("DATA/5339/533945.MEM", data, size);
    orvex::readgsi50(".", 533945, 1, 1);
    requireGrid(200, 200);
    return 0;
}
