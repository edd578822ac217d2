#pragma once
// The summits of "MtJapan.txt" and "MtWorld.txt", placed in the grid's frame.

#include <cstdint>
#include <string>
#include <vector>

namespace orvex {

struct Mountain {
    std::int8_t shown = 0;   // 1 if strictly inside the loaded area
    std::int32_t kind = 0;   // 0 and other values get different label colours
    double latitude = 0;     // degrees
    double longitude = 0;    // degrees
    std::int32_t height = 0; // whole metres
    double y = 0;            // metres, grid axes
    double x = 0;
    double z = 0;
    std::string name; // label text, at most 48 bytes
};

struct MountainTable {
    std::vector<Mountain> mountainTable;
    std::int32_t mountainCount = 0;
};

// The process-wide summit table.
extern MountainTable mountains;

} // namespace orvex
