#include "app/load_request.h"

#include "data/loaders.h"

void runLoader(const LoadRequest& request)
{
    const std::array<int, 5>& n = request.numbers;
    switch (request.dataSet) {
    case DataSet::gsi50:
        readgsi50(request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::gsi250:
        readgsi250(request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::srtm30:
        readsrtm30(request.dataDir, n[0], n[1], n[2], n[3]);
        break;
    case DataSet::srtm3:
        readsrtm3(request.dataDir, n[0], n[1], n[2], n[3], n[4], request.srtm30Dir);
        break;
    case DataSet::fgd10:
        readfgd10(request.dataDir, n[0], n[1], n[2]);
        break;
    case DataSet::fgd5:
        readfgd5(request.dataDir, n[0], n[1], n[2]);
        break;
    }
}

bool loadFromCommandLine(int argc, const char* const argv[])
{
    const std::optional<LoadRequest> request = parseCommandLine(argc, argv);
    if (!request)
        return false;
    runLoader(*request);
    return true;
}
