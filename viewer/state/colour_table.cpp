#include "state/colour_table.h"

namespace orvex {

ColourTable colours;

Rgb colourEntry(const ColourTable& table, int index)
{
    if (index < 0 || index >= ColourTable::capacity)
        return {0, 0, 0};
    const std::int32_t* entry = table.colourTable[index];
    return {entry[0], entry[1], entry[2]};
}

} // namespace orvex
