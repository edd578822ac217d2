#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "demo_output.h"
#include "relief.h"

namespace {

// Highest land in a box of half-size reachKm around a place, every stepKm.
double highestAround(double lat, double lon, double reachKm, double stepKm)
{
    const double degLat = 1 / kmPerDegree;
    const double degLon = 1 / (kmPerDegree * std::cos(lat * std::numbers::pi / 180));
    const int steps = static_cast<int>(reachKm / stepKm);
    double highest = -1;
    for (int i = -steps; i <= steps; ++i)
        for (int j = -steps; j <= steps; ++j)
            if (const auto h = demoTerrain().heightAt(lat + i * stepKm * degLat, lon + j * stepKm * degLon))
                highest = std::max(highest, *h);
    return highest;
}

} // namespace

TEST(DemoRelief, FujiSummitStandsOnTheCraterRimAboveRangesAndPlains)
{
    const auto fuji = [](double northKm, double eastKm) {
        return demoTerrain()
            .heightAt(fujiSummitLat + northKm / kmPerDegree, fujiSummitLon + eastKm / 90.45)
            .value_or(-1);
    };
    EXPECT_NEAR(fuji(0, 0), fujiSummitHeight, 0.05);
    EXPECT_LE(highestAround(fujiSummitLat, fujiSummitLon, 1.0, 0.02), fujiSummitHeight + 0.05);
    EXPECT_LT(fuji(0.212, 0.212), fujiSummitHeight - 150); // the crater, 300 m north-east
    EXPECT_GT(fuji(-3, 0), 2000);                          // a steep top and a long foot
    EXPECT_LT(fuji(15, 0), 1200);
    EXPECT_GT(highestAround(35.47, 139.14, 6, 0.25), 1100) << "Tanzawa";
    EXPECT_GT(highestAround(35.6, 138.22, 10, 0.5), 2000) << "Akaishi";
    EXPECT_LT(highestAround(35.75, 139.70, 8, 0.5), 300) << "Kanto plain";
}

TEST(DemoRelief, LandRisesFromTheShoreAndIsNeverBelowOneMetre)
{
    const Raster raster = demoTerrain().sample({36, 138, 100, 100, 200, 200});
    int shore = 0;
    for (int r = 1; r < 200; ++r)
        for (int c = 1; c < 200; ++c) {
            const float h = raster.at(r, c);
            if (isSea(h))
                continue;
            ASSERT_GE(h, lowestLand);
            if (isSea(raster.at(r, c - 1)) || isSea(raster.at(r - 1, c))) {
                ++shore;
                EXPECT_LT(h, 350) << raster.lattice.lat(r) << " " << raster.lattice.lon(c);
            }
        }
    EXPECT_GT(shore, 100);
    // Walking north from Sagami Bay, the first land is only a few metres high.
    for (double lon = 139.2; lon < 139.45; lon += 0.01)
        for (double lat = 35.2; lat < 35.4; lat += 0.0002)
            if (const auto h = demoTerrain().heightAt(lat, lon)) {
                EXPECT_LT(*h, 3) << lat << " " << lon;
                break;
            }
}
