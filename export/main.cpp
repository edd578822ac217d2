// orvex-export: loads an area exactly as orvex does and writes it through
// GDAL as a GeoTIFF or an ESRI .hdr-labelled float32 raster, for a GIS or for
// checking the loaders.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/load_request.h"
#include "raster_file.h"
#include "state/fatal_error.h"
#include "state/grid.h"

namespace orvex {
namespace {

const char outputs[] = "writes OUT as a GeoTIFF when it ends in .tif, else OUT.flt, OUT.hdr and OUT.prj\n";

} // namespace
} // namespace orvex

int main(int argc, char* argv[])
{
    using namespace orvex;
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); // progress lines as they are printed
    // The viewer's own words: the program name, then everything after OUT.
    std::vector<const char*> viewerWords;
    if (argc >= 2) {
        viewerWords.push_back(argv[0]);
        viewerWords.insert(viewerWords.end(), argv + 2, argv + argc);
    }
    const std::optional<LoadRequest> request =
        parseCommandLine(static_cast<int>(viewerWords.size()), viewerWords.data());
    if (!request) {
        std::fprintf(stderr, "%s%s", usageText("orvex-export OUT").c_str(), outputs);
        return 2;
    }

    setFatalErrorWaitsForEnter(false); // a tool: nobody is there to press Enter
    ElevationGrid grid;
    const LoadedGrid where = runLoader(grid, *request);

    const std::string out = argv[1];
    std::string error;
    if (!writeRaster(out, grid, where, error)) {
        std::fprintf(stderr, "*** orvex-export : %s\n", error.c_str());
        return 1;
    }
    std::string names;
    for (const std::string& name : rasterFiles(out))
        names += (names.empty() ? "" : ", ") + name;
    std::printf("Wrote %s (%d x %d)\n", names.c_str(), grid.gridRows, grid.gridCols);
    return 0;
}
