#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "data/mountain_file.h"
#include "loader_test_support.h"
#include "state/grid.h"
#include "state/mountain_table.h"

using namespace orvex;

namespace {

class SummitFile : public testing::Test {
  protected:
    SummitFile()
    {
        grid.areaSouth = 35, grid.areaNorth = 36, grid.areaWest = 138, grid.areaEast = 139;
        grid.mountainShiftY = grid.mountainShiftX = 0;
    }
    static const Mountain& summit(int i) { return mountains.mountainTable.at(i); }
    ScratchWorkingDir cwd;
};

TEST_F(SummitFile, ReadsPackedAnglesHeightKindAndTheRestOfTheLineAsName)
{
    writeFile("MtJapan.txt",
              "35.215432 138.433100 3776.0 1 W\n-35.3 138.5 -10.7 0 b\r\n\n  35.5 138.5 1e20 0 in\rside\n"
              "35.5 139.595999 3775.9 0 last line without a line end");
    writeFile("MtWorld.txt", "27.591700 86.553100 8849 0 Everest\n");
    readmountain();
    ASSERT_EQ(mountains.mountainCount, 5);
    EXPECT_NEAR(summit(0).latitude, 35 + 21 / 60.0 + 54.32 / 3600, 1e-12); // 35 deg 21' 54.32"
    EXPECT_NEAR(summit(0).longitude, 138.7252777777778, 1e-12);
    EXPECT_EQ(std::tuple(summit(0).height, summit(0).kind, summit(0).name), std::tuple(3776, 1, " W"));
    EXPECT_EQ(std::tuple(summit(1).latitude, summit(1).height, summit(1).name), std::tuple(-35.5, -10, " b"));
    EXPECT_EQ(std::pair(summit(2).height, summit(2).name), std::pair(INT_MAX, std::string(" in\rside")));
    EXPECT_NEAR(summit(3).longitude, 139 + 59 / 60.0 + 59.99 / 3600, 1e-12); // rounded, not cut
    EXPECT_EQ(std::pair(summit(3).height, summit(3).name),
              std::pair(3775, std::string(" last line without a line end")));
    EXPECT_EQ(summit(4).name, " Everest"); // after the Japanese list
    std::filesystem::remove("MtJapan.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 1);
}

TEST_F(SummitFile, OnlySummitsStrictlyInsideAreShownAndAllArePlacedWithTheCurvatureDrop)
{
    // Packed 35.3 is 35.5 degrees; the edges are not inside.
    writeFile("MtJapan.txt", "35.3 138.3 1 0 in\n36.0 138.3 1 0 n\n35.0 138.3 1 0 s\n35.3 138.0 1 0 w\n"
                             "35.3 139.0 1 0 e\n35.3 -138.3 1 0 far west\n35.36 138.36 2000 0 north-east\n");
    grid.mountainShiftY = 100, grid.mountainShiftX = 270;
    readmountain();
    ASSERT_EQ(mountains.mountainCount, 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(summit(i).shown, i == 0 || i == 6) << summit(i).name;
    EXPECT_NEAR(summit(0).y, 100.0, 1e-6);
    EXPECT_NEAR(summit(0).x, 270.0, 1e-6);
    const Mountain& ne = summit(6); // 0.1 degree north and east of the centre
    EXPECT_NEAR(ne.y, -0.1 * 40000000 / 360 + 100, 1e-5);
    EXPECT_NEAR(ne.x, std::cos(35.6 * M_PI / 180) * 0.1 * 40000000 / 360 + 270, 1e-5);
    EXPECT_NEAR(ne.z, 2000 - (ne.x * ne.x + ne.y * ne.y) * M_PI / 40000000.0, 1e-9);
}

TEST_F(SummitFile, NamesAreCutWholeNamesOfDigitsEmptiedAndBadLinesSkipped)
{
    const std::string wide = "\x81\x97"; // a two-byte character whose second byte could also lead one
    const std::string fits = " " + std::string(45, 'x') + wide;      // 48 bytes
    const std::string straddles = " " + std::string(46, 'x') + wide; // would end at byte 49
    const std::string halfWidth = " " + std::string(49, '\xB1');     // one-byte katakana
    writeFile("MtJapan.txt",
              "35.5 138.5 1 0" + fits + " 35.5 138.5 99 0 not a summit\n35.5 138.5 2 0" + straddles +
                  "\n35.5 138.5 3 0" + halfWidth +
                  "\n35.5 138.5 1 0 12 34\n35.5 138.5 1 0\n"
                  "35.5 north 2 0 bad latitude\n35.5 138.5 3 x bad kind\n35.5 138.5 1 0 \x95\x78\n"
                  "35.5 138.5 4.5\nno kind\n35.5 138.5"); // "%d" reads on past a line end
    readmountain();
    std::vector<std::string> names;
    for (const Mountain& m : mountains.mountainTable)
        names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{fits, straddles.substr(0, 47), halfWidth.substr(0, 48), "", "",
                                               " \x95\x78"}));
}

} // namespace
