#include <gtest/gtest.h>

#include <stdexcept>

#include "coastline.h"
#include "demo_output.h"
#include "land_mask.h"

TEST(DemoCoastline, BadTextIsRefusedAndIslandsInPiecesFollowTheEvenOddRule)
{
    EXPECT_THROW(parseCoastline("3\n0,0\n1,0\n", "cut short"), std::runtime_error);
    EXPECT_THROW(parseCoastline("2\n0,0\n1,x\n", "bad number"), std::runtime_error);
    EXPECT_THROW(parseCoastline("0\n", "empty polyline"), std::runtime_error);
    EXPECT_THROW(readCoastline("/nonexistent/JapanCoast.txt"), std::runtime_error);

    // A square island cut into two pieces that meet at its corners, as the
    // shipped rings are cut at bin edges.
    const LandMask mask(parseCoastline("3\n10,20\n11,20\n11,21\n3 10,20 10,21 11,21\n", "square"));
    EXPECT_FALSE(mask.isLand(20.5, 9.5));
    EXPECT_FALSE(mask.isLand(20.5, 11.5));
    // The row through the shared corner: each vertex counts once.
    EXPECT_EQ(mask.crossings(20.0).size(), 2u);
    std::vector<char> land;
    mask.classifyRow(20.25, 9.5, 4, 9, land); // 9.5, 9.75, ... 11.5
    EXPECT_EQ(land, (std::vector<char>{0, 0, 1, 1, 1, 1, 0, 0, 0}));
}

TEST(DemoCoastline, KnownPlacesAgreeWithTheMap)
{
    const LandMask mask(readCoastline(DEMO_COASTLINE));
    struct Place {
        const char* name;
        double lat, lon;
        bool land;
    };
    for (const Place& p : {Place{"Sagami Bay", 35.2, 139.3, false},
                           {"Mt Fuji", 35.3608, 138.7275, true},
                           {"Suruga Bay", 34.9, 138.6, false},
                           {"Tokyo Bay", 35.5, 139.85, false},
                           {"Kofu", 35.66, 138.57, true},
                           {"Izu Oshima", 34.73, 139.39, true},
                           {"Pacific", 34.0, 139.0, false},
                           {"Sea of Japan", 39.0, 136.0, false}})
        EXPECT_EQ(mask.isLand(p.lat, p.lon), p.land) << p.name;
    // The row walk gives the same answers as single points.
    std::vector<char> land;
    mask.classifyRow(35.2, 138.0, 100, 200, land);
    for (int k = 0; k < 200; ++k)
        ASSERT_EQ(land[static_cast<std::size_t>(k)] != 0, mask.isLand(35.2, 138.0 + k / 100.0)) << k;
}
