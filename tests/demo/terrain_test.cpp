// Land, sea and heights of the demo terrain against the real places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "coastline.h"
#include "demo_output.h"
#include "relief.h"

using namespace demo;

namespace {

// Highest land within `reach` degrees of a place (east, west, north and
// south), sampled every 1/2400 degree; -1 where all of it is sea.
double highestAround(double lat, double lon, double reach)
{
    const int size = static_cast<int>(reach * 2400) * 2 + 1;
    const Raster box = demoTerrain().sample({lat + reach, lon - reach, 2400, 2400, size, size});
    double highest = -1;
    for (const float h : box.metres)
        highest = isSea(h) ? highest : std::max(highest, static_cast<double>(h));
    return highest;
}

} // namespace

TEST(DemoRelief, PlacesStandAsHighAsTheRealOnes)
{
    const double fujiLat = fujiSummitLat, fujiLon = fujiSummitLon, top = fujiSummitHeight;
    struct Place {
        const char* name;
        double lat, lon, reach, low, high; // highest land within reach in [low, high]; -1: sea
    } places[] = {
        {"Fuji summit, nothing higher around", fujiLat, fujiLon, 0.01, top - 0.05, top + 0.05},
        {"Fuji crater", fujiLat + 0.212 / kmPerDegree, fujiLon + 0.212 / 90.45, 0, 0, top - 150},
        {"Fuji 3 km south", fujiLat - 3 / kmPerDegree, fujiLon, 0, 2000, top},
        {"Fuji 15 km north", fujiLat + 15 / kmPerDegree, fujiLon, 0, 1, 1200},
        {"Tanzawa", 35.47, 139.14, 0.05, 1100, top},
        {"Akaishi", 35.6, 138.22, 0.1, 2000, top},
        {"Kanto plain", 35.75, 139.70, 0.07, 1, 300},
        {"Kofu", 35.66, 138.57, 0, 1, top},
        {"Izu Oshima", 34.73, 139.39, 0, 1, top},
        {"Sagami Bay", 35.2, 139.3, 0, -1, -1},
        {"Suruga Bay", 34.9, 138.6, 0, -1, -1},
        {"Tokyo Bay", 35.5, 139.85, 0, -1, -1},
        {"Sea of Japan", 39.0, 136.0, 0, -1, -1},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        const double highest = highestAround(place.lat, place.lon, place.reach);
        EXPECT_GE(highest, place.low);
        EXPECT_LE(highest, place.high);
    }
}

// Islands come as pieces of rings meeting end to end, as the shipped
// coastline is cut: a vertex shared by two pieces counts once.
TEST(DemoCoastline, AnIslandInPiecesIsLandInsideOnly)
{
    const LandMask mask(parseCoastline("3\n10,20\n11,20\n11,21\n3 10,20 10,21 11,21\n", "square"));
    std::vector<char> land;
    mask.classifyRow(20.0, 9.5, 4, 9, land); // through the shared corners: 9.5, 9.75, ... 11.5
    EXPECT_EQ(land, (std::vector<char>{0, 0, 1, 1, 1, 1, 0, 0, 0}));
}
