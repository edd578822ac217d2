#include "app/load_request.h"

#include "data/fgd_loader.h"
#include "data/loaders.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {
// The GSI meshes lie on the Tokyo datum, the GSI DEM on JGD2011, SRTM on WGS 84.
const char tokyo[] = "EPSG:4301";
const char jgd2011[] = "EPSG:6668";
const char wgs84[] = "EPSG:4326";

// The one loader of the request, and where its grid lies.
LoadedGrid load(ElevationGrid& grid, const LoadRequest& request)
{
    const std::array<int, 5>& n = request.numbers;
    switch (request.dataSet) {
    case DataSet::gsi50:
        readgsi50(grid, request.dataDir, n[0], n[1], n[2]);
        return {gsi50Constants, tokyo};
    case DataSet::gsi250:
        readgsi250(grid, request.dataDir, n[0], n[1], n[2]);
        return {gsi250Constants, tokyo};
    case DataSet::srtm30:
        readsrtm30(grid, request.dataDir, n[0], n[1], n[2], n[3]);
        return {srtm30Constants, wgs84};
    case DataSet::srtm3:
        readsrtm3(grid, request.dataDir, n[0], n[1], n[2], n[3], n[4], request.srtm30Dir);
        return {srtm3Constants, wgs84};
    case DataSet::fgd10:
        loadFgd10(grid, request.dataDir, n[0], n[1], n[2]);
        return {fgd10Constants, jgd2011};
    case DataSet::fgd5:
        loadFgd5(grid, request.dataDir, n[0], n[1], n[2]);
        return {fgd5Constants, jgd2011};
    case DataSet::gdal:
        break;
    }
    const std::array<double, 4>& b = request.box;
    GdalArea area = readgdal(grid, request.dataDir, {b[0], b[1], b[2], b[3]});
    return {area.constants, std::move(area.crs)};
}

} // namespace

LoadedGrid runLoader(ElevationGrid& grid, const LoadRequest& request)
{
    LoadedGrid where = load(grid, request);
    loadProgress().finish();
    return where;
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
