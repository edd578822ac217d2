// Any bytes as JapanCoast.txt: either no coastline at all, or segments of
// finite degrees, as many as the count says.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/coastline.h"
#include "core/map_state.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("JapanCoast.txt", data, size);
    skyloom::MapState state;
    skyloom::ReadCoast(state);
    require(state.coastCount == static_cast<int>(state.coastSegments.size()),
            "the count is the segments' number");
    for (const skyloom::CoastSegment& segment : state.coastSegments)
        require(std::isfinite(segment.lon1) && std::isfinite(segment.lat1) && std::isfinite(segment.lon2) &&
                    std::isfinite(segment.lat2),
                "finite segment ends");
    return 0;
}
