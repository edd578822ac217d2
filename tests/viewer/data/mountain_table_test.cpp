#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>

#include "../viewer_test.h"
#include "data/mountain_file.h"
#include "state/grid.h"
#include "state/mountain_table.h"

using namespace orvex;
using namespace testing_support;

namespace {

// The summit lists read for a grid from 35 to 36 N and 138 to 139 E, shifted
// by (100, 270) metres.
std::vector<Mountain> summits(const std::string& japan, const std::string& world = "")
{
    ScratchDir cwd(ScratchDir::Enter::yes);
    writeFile("MtJapan.txt", japan);
    if (!world.empty())
        writeFile("MtWorld.txt", world);
    ElevationGrid area;
    area.areaSouth = 35, area.areaNorth = 36, area.areaWest = 138, area.areaEast = 139;
    area.mountainShiftY = 100, area.mountainShiftX = 270;
    MountainTable table;
    readmountain(table, area);
    EXPECT_EQ(table.mountainCount, std::ssize(table.mountainTable));
    return table.mountainTable;
}

TEST(SummitFile, ReadsPackedAnglesHeightKindThenTheLineAsName)
{
    const std::vector<Mountain> m =
        summits("35.215432 138.433100 3776.0 1 W\n-35.3 138.5 -10.7 0 b\r\n\n  35.5 138.5 1e20 0 in\rside\n"
                "35.5 139.595999 3775.9 0 last line without a line end",
                "27.591700 86.553100 8849 0 Everest\n");
    ASSERT_EQ(m.size(), 5u);
    EXPECT_NEAR(m[0].latitude, 35.3650888889, 1e-9); // 35 deg 21' 54.32"
    EXPECT_NEAR(m[0].longitude, 138.7252777778, 1e-9);
    EXPECT_EQ(std::tuple(m[0].height, m[0].kind, m[0].name), std::tuple(3776, 1, " W"));
    EXPECT_EQ(std::tuple(m[1].latitude, m[1].height, m[1].name), std::tuple(-35.5, -10, " b"));
    EXPECT_EQ(std::pair(m[2].height, m[2].name), std::pair(INT_MAX, std::string(" in\rside")));
    EXPECT_NEAR(m[3].longitude, 139.9999972222, 1e-9); // 59.99", rounded, not cut
    EXPECT_EQ(std::pair(m[3].height, m[3].name),
              std::pair(3775, std::string(" last line without a line end")));
    EXPECT_EQ(m[4].name, " Everest"); // after the Japanese list
    EXPECT_EQ(summits("", "27.591700 86.553100 8849 0 Everest\n").size(), 1u);
}

TEST(SummitFile, SummitsStrictlyInsideAreShownAllPlacedWithTheCurvatureDrop)
{
    // Packed 35.3 is 35.5 degrees, the centre's latitude; the edges are not inside.
    const std::vector<Mountain> m =
        summits("35.3 138.3 1 0 in\n36.0 138.3 1 0 n\n35.0 138.3 1 0 s\n35.3 138.0 1 0 w\n"
                "35.3 139.0 1 0 e\n35.3 -138.3 1 0 far west\n35.36 138.36 2000 0 north-east\n");
    ASSERT_EQ(m.size(), 7u);
    for (const Mountain& summit : m)
        EXPECT_EQ(summit.shown, summit.name == " in" || summit.name == " north-east") << summit.name;
    // The centre lies at the shift; 0.1 degree north and east of it, y is
    // 11111 m to the north, x that narrowed by cos(35.6 degrees), z lowered by (y^2 + x^2) / 2R.
    EXPECT_EQ(std::pair(std::round(m[0].y * 1e6), std::round(m[0].x * 1e6)), std::pair(100e6, 270e6));
    EXPECT_EQ(std::tuple(std::round(m[6].y * 100), std::round(m[6].x * 100), std::round(m[6].z * 100)),
              std::tuple(-1101111.0, 930445.0, 198368.0));
}

TEST(SummitFile, NamesAreCutAt48BytesBadLinesSkipped)
{
    const std::string wide = "\x81\x97"; // a two-byte character whose second byte could also lead one
    const std::string fits = " " + std::string(45, 'x') + wide;      // 48 bytes
    const std::string straddles = " " + std::string(46, 'x') + wide; // would end at byte 49
    const std::string halfWidth = " " + std::string(49, '\xB1');     // one-byte katakana
    std::vector<std::string> names;
    // "%d" reads on past a line end, so a line without its kind takes the next line's first number.
    for (const Mountain& summit :
         summits("35.5 138.5 1 0" + fits + " 35.5 138.5 99 0 not a summit\n35.5 138.5 2 0" + straddles +
                 "\n35.5 138.5 3 0" + halfWidth +
                 "\n35.5 138.5 1 0 12 34\n35.5 138.5 1 0\n35.5 north 2 0 bad latitude\n"
                 "35.5 138.5 3 x bad kind\n35.5 138.5 1 0 \x95\x78\n35.5 138.5 4.5\nno kind\n"
                 "35.5 138.5"))
        names.push_back(summit.name);
    EXPECT_EQ(names, (std::vector<std::string>{fits, straddles.substr(0, 47), halfWidth.substr(0, 48), "", "",
                                               " \x95\x78"}));
}

} // namespace
