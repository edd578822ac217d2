// Any bytes as the viewer's orvex.col. A count beyond the table's room is the
// one fatal error the file may cause.
#include <cstddef>
#include <cstdint>

#include "data/colour_file.h"
#include "fuzz_target.h"
#include "state/colour_table.h"
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
    writeInput("orvex.col", data, size);
    try {
        readcolor();
    } catch (const FatalErrorThrown& fatal) {
        require(fatal.message == "*** readcolor-2.", "the only fatal error is a count beyond the table");
        return 0;
    }
    require(colours.colourCount >= 0 && colours.colourCount <= ColourTable::capacity,
            "the count fits the table");
    // Every entry the drawing may ask for, inside the table and outside it.
    for (int index = -2; index <= colours.colourCount + 1; ++index)
        colourEntry(colours, index);
    return 0;
}
