// Any bytes as orvex.env: whatever it holds, the view state that comes out is
// one the window and the drawing can use.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "data/view_state_file.h"
#include "fuzz_target.h"
#include "state/view_state.h"
#include "viewer_fuzzing.h"

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    throwOnFatalError();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("orvex.env", data, size);
    view = ViewState{};
    loadViewState();
    require(view.windowWidth >= 1 && view.windowWidth <= largestWindowSide,
            "a window width the system can make");
    require(view.windowHeight >= 1 && view.windowHeight <= largestWindowSide,
            "a window height the system can make");
    require(std::isfinite(view.brightness) && view.brightness > 0, "a positive brightness");
    require(std::isfinite(view.sunAzimuth) && std::isfinite(view.sunElevation), "a sun in the sky");
    require(view.blendColours == 0 || view.blendColours == 1, "colours blended or flat");
    require(static_cast<unsigned>(view.nameMode) <= 2, "names off, large or small");
    return 0;
}
