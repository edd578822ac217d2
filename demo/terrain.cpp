#include "terrain.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "relief.h"

namespace demo {

bool isSea(float metres)
{
    return std::isnan(metres);
}

DemoTerrain::DemoTerrain(const Coastline& coast) : land_(coast), coastDistance_(coast) {}

std::optional<double> DemoTerrain::heightAt(double lat, double lon) const
{
    if (!land_.isLand(lat, lon))
        return std::nullopt;
    return landHeight(lat, lon, coastDistance_.distanceKm(lat, lon, coastalPlainKm));
}

void DemoTerrain::sampleRow(const SampleLattice& lattice, int row, float* out) const
{
    const double lat = lattice.lat(row);
    std::vector<char> land;
    land_.classifyRow(lat, lattice.west, lattice.colsPerDegree, lattice.cols, land);
    for (int c = 0; c < lattice.cols; ++c) {
        if (!land[static_cast<std::size_t>(c)]) {
            out[c] = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        const double lon = lattice.lon(c);
        out[c] =
            static_cast<float>(landHeight(lat, lon, coastDistance_.distanceKm(lat, lon, coastalPlainKm)));
    }
}

Raster DemoTerrain::sample(const SampleLattice& lattice, unsigned workers) const
{
    Raster raster{lattice, std::vector<float>(static_cast<std::size_t>(lattice.rows) * lattice.cols)};
    std::atomic<int> nextRow{0};
    auto work = [&] {
        for (int r = nextRow++; r < lattice.rows; r = nextRow++)
            sampleRow(lattice, r, &raster.metres[static_cast<std::size_t>(r) * lattice.cols]);
    };
    {
        if (workers == 0)
            workers = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
        std::vector<std::jthread> helpers;
        for (unsigned w = 1; w < workers; ++w)
            helpers.emplace_back(work);
        work();
    } // every helper has joined here
    return raster;
}

} // namespace demo
