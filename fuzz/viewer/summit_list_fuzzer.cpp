// Any bytes as MtJapan.txt (MtWorld.txt stays absent), placed in a GSI 50 m
// area's frame around Mount Fuji.
#include <cstddef>
#include <cstdint>

#include "data/mountain_file.h"
#include "fuzz_target.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "viewer_fuzzing.h"

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    throwOnFatalError();
    grid.areaSouth = 35.25;
    grid.areaNorth = 35.5;
    grid.areaWest = 138.5;
    grid.areaEast = 139.0;
    grid.mountainShiftY = 700 - 5 * (grid.areaNorth + grid.areaSouth);
    grid.mountainShiftX = 270;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("MtJapan.txt", data, size);
    readmountain();
    require(mountains.mountainCount == static_cast<std::int32_t>(mountains.mountainTable.size()),
            "the count is the table's size");
    for (const Mountain& summit : mountains.mountainTable) {
        require(summit.name.size() <= 48, "a label of at most 48 bytes");
        require(summit.shown == 0 || summit.shown == 1, "shown or not");
    }
    return 0;
}
