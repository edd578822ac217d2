// orvex-export: loads an area exactly as orvex does and writes it as an ESRI
// .hdr-labelled float32 raster, for a GIS or for checking the loaders.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/load_request.h"
#include "data/fgd_loader.h"
#include "ehdr_raster.h"
#include "state/fatal_error.h"
#include "state/grid.h"

namespace {

const char usage[] = "usage: orvex-export OUT -gsi50 DIR CODE ROWS COLS\n"
                     "       orvex-export OUT -gsi250 DIR CODE ROWS COLS\n"
                     "       orvex-export OUT -srtm30 DIR NORTH WEST SOUTH EAST\n"
                     "       orvex-export OUT -srtm3 DIR NORTH WEST SOUTH EAST MODE SRTM30DIR\n"
                     "       orvex-export OUT -fgd10 DIR CODE ROWS COLS\n"
                     "       orvex-export OUT -fgd5 DIR CODE ROWS COLS\n"
                     "writes OUT.flt and OUT.hdr\n";

const DataSetConstants& constantsOf(DataSet dataSet)
{
    switch (dataSet) {
    case DataSet::gsi50:
        return gsi50Constants;
    case DataSet::gsi250:
        return gsi250Constants;
    case DataSet::srtm30:
        return srtm30Constants;
    case DataSet::srtm3:
        break;
    case DataSet::fgd10:
        return orvex::fgd10Constants;
    case DataSet::fgd5:
        return orvex::fgd5Constants;
    }
    return srtm3Constants;
}

} // namespace

int main(int argc, char* argv[])
{
    // The viewer's own words: the program name, then everything after OUT.
    std::vector<const char*> viewerWords;
    if (argc >= 2) {
        viewerWords.push_back(argv[0]);
        viewerWords.insert(viewerWords.end(), argv + 2, argv + argc);
    }
    const std::optional<LoadRequest> request =
        parseCommandLine(static_cast<int>(viewerWords.size()), viewerWords.data());
    if (!request) {
        std::fputs(usage, stderr);
        return 2;
    }

    setFatalErrorWaitsForEnter(false); // a tool: nobody is there to press Enter
    runLoader(*request);

    const std::string base = argv[1];
    std::string error;
    if (!writeEhdrRaster(base, grid, constantsOf(request->dataSet), error)) {
        std::fprintf(stderr, "*** orvex-export : %s\n", error.c_str());
        return 1;
    }
    std::printf("Wrote %s.flt and %s.hdr (%d x %d)\n", base.c_str(), base.c_str(), grid.gridRows,
                grid.gridCols);
    return 0;
}
