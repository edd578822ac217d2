#pragma once
// The colours of the elevation bands, the sea and the background, as read
// from "orvex.col". Band entries come first; entry colourCount - 2 is the sea and
// entry colourCount - 1 the background.

#include <cstdint>

#include "common/shared_files.h"

namespace orvex {

struct ColourTable {
    static constexpr int capacity = common::colourFileCapacity;
    std::int32_t colourTable[capacity][3] = {}; // red, green, blue
    std::int32_t colourCount = 0;
};

// The process-wide colour table.
extern ColourTable colours;

struct Rgb {
    std::int32_t red, green, blue;
};

// Entry index of the table; black for an index outside the table, so that a
// short or missing table can never make a reader look outside it.
Rgb colourEntry(const ColourTable& table, int index);

} // namespace orvex
