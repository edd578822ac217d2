#include "data/colour_file.h"

#include <algorithm>

#include "common/shared_files.h"
#include "data/data_file.h"
#include "data/text_scanner.h"
#include "state/colour_table.h"
#include "state/fatal_error.h"

namespace orvex {

void readcolor(ColourTable& colours)
{
    colours = ColourTable{};
    std::optional<std::string> text = readTextFile(common::colourFileName, common::longestSettingsFile);
    if (!text)
        fatalError("*** readcolor-1.");
    TextScanner in(std::move(*text));

    const std::optional<int> major = in.readInt();
    const std::optional<int> minor = major ? in.readInt() : std::nullopt;
    if (major != common::fileVersionMajor || minor != common::fileVersionMinor)
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
