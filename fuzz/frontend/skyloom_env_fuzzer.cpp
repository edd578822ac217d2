// Any bytes as skyloom.env: the settings that come out name a data set, and the
// geometry fits the window system.
#include <cstddef>
#include <cstdint>

#include "core/map_cells.h"
#include "core/map_state.h"
#include "fuzz_target.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skyloom;
    writeInput(kSettingsFileName, data, size);
    MapState state;
    const std::optional<QRect> geometry = ReadEnv(state);
    const int dataSet = static_cast<int>(state.meshFlag);
    require(dataSet >= 0 && dataSet < kDataSetCount, "one of the data sets");
    if (geometry) {
        require(std::abs(geometry->x()) <= kMostTwips && std::abs(geometry->y()) <= kMostTwips &&
                    std::abs(geometry->width()) <= kMostTwips && std::abs(geometry->height()) <= kMostTwips,
                "a geometry the window system can take");
    }
    return 0;
}
