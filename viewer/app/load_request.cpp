#include "app/load_request.h"

#include "data/fgd_loader.h"
#include "data/loaders.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

void runLoader(ElevationGrid& grid, const LoadRequest& request)
{
    const std::array<int, 5>& n = request.numbers;
    switch (request.dataSet) {
    case DataSet::gsi50:
        readgsi50(grid, request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::gsi250:
        readgsi250(grid, request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::srtm30:
        readsrtm30(grid, request.dataDir, n[0], n[1], n[2], n[3]);
        break;
    case DataSet::srtm3:
        readsrtm3(grid, request.dataDir, n[0], n[1], n[2], n[3], n[4], request.srtm30Dir);
        break;
    case DataSet::fgd10:
        loadFgd10(grid, request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::fgd5:
        loadFgd5(grid, request.dataDir, n[0], n[1], n[2]);
        break;
    }
    loadProgress().finish();
}

bool loadFromCommandLine(int argc, const char* const argv[])
{
    const std::optional<LoadRequest> request = parseCommandLine(argc, argv);
    if (!request)
        return false;
    runLoader(grid, *request);
    return true;
}

} // namespace orvex
