// Any bytes as orvex.col read by skyloom, and the file it writes back from
// what it read: the viewer must read the same colours from it.
#include <cstddef>
#include <cstdint>

#include "core/map_state.h"
#include "fuzz_target.h"
#include "settings/colour_file.h"

#include "common/shared_files.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput(common::colourFileName, data, size);
    skyloom::MapState state;
    skyloom::SetDefaultColor(state);
    skyloom::ReadColor(state);
    skyloom::BandColourTable again{};
    skyloom::readColourText(skyloom::colourFileText(state.bandColor), again);
    require(again == state.bandColor, "written colours read back unchanged");
    return 0;
}
