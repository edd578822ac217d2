#include "data/colour_file.h"

#include <algorithm>

#include "data/data_file.h"
#include "data/text_scanner.h"
#include "state/colour_table.h"
#include "state/fatal_error.h"

namespace orvex {

namespace {
// Twenty entries take a few hundred bytes; a larger file is not a colour table.
constexpr std::size_t longestUsefulFile = 64 * 1024;
} // namespace

void readcolor(ColourTable& colours)
{
    colours = ColourTable{};
    std::optional<std::string> text = readTextFile("orvex.col", longestUsefulFile);
    if (!text)
        fatalError("*** readcolor-1.");
    TextScanner in(std::move(*text));

    const std::optional<int> major = in.readInt();
    const std::optional<int> minor = major ? in.readInt() : std::nullopt;
    if (major != 2 || minor != 0)
        return; // another program's file: no colours at all

    const std::optional<int> count = in.readInt();
    if (!count)
        return;
    if (*count > ColourTable::capacity)
        fatalError("*** readcolor-2.");
    colours.colourCount = std::max(*count, 0);

    // A file that ends early leaves the entries it did not reach black.
    for (int i = 0; i < colours.colourCount; ++i) {
        for (std::int32_t& component : colours.colourTable[i]) {
            const std::optional<int> value = in.readInt();
            if (!value)
                return;
            component = *value;
        }
    }
}

void readcolor()
{
    readcolor(colours);
}

} // namespace orvex
