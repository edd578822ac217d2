#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>

#include "data/grid.h"
#include "data/mountain_table.h"
#include "scratch_working_dir.h"

namespace {

constexpr double metresPerDegree = 40000000.0 / 360.0;
const double earthRadius = 40000000.0 / (2 * M_PI);

class SummitFile : public testing::Test {
protected:
    SummitFile() { setArea(35.0, 36.0, 138.0, 139.0, 0.0, 0.0); }
    static void setArea(double south, double north, double west, double east, double shiftY, double shiftX)
    {
        grid.areaSouth = south;
        grid.areaNorth = north;
        grid.areaWest = west;
        grid.areaEast = east;
        grid.mountainShiftY = shiftY;
        grid.mountainShiftX = shiftX;
    }
    void read(const std::string& japan)
    {
        cwd.write("MtJapan.txt", japan);
        readmountain();
    }
    static const Mountain& summit(int i) { return mountains.mountainTable.at(i); }
    ScratchWorkingDir cwd;
};

TEST(Dms2deg, UnpacksDegreesMinutesAndHundredthsOfSeconds)
{
    EXPECT_NEAR(dms2deg(35.215432), 35 + 21 / 60.0 + 54.32 / 3600, 1e-12);
    EXPECT_DOUBLE_EQ(dms2deg(-35.3), -35.5);
    EXPECT_NEAR(dms2deg(-0.003), -30 / 3600.0, 1e-12);  // the sign survives a zero degree part
    EXPECT_NEAR(dms2deg(139.595999), 139 + 59 / 60.0 + 59.99 / 3600, 1e-12);  // rounded, not cut
    EXPECT_TRUE(std::isnan(dms2deg(NAN)));
    EXPECT_EQ(dms2deg(1e300), 1e300);
}

TEST_F(SummitFile, ReadsNumbersKindAndNameWithItsLeadingBlank)
{
    read("35.215432 138.433100 3776.0 1 W\n35.5 138.5 -10.7 0 b\r\n\n\n  35.5 138.5 1e20 0 in\rside\n"
         "35.5 138.5 3775.9 0 last line without a line end");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_NEAR(summit(0).latitude, 35.3650888888889, 1e-12);
    EXPECT_NEAR(summit(0).longitude, 138.7252777777778, 1e-12);
    EXPECT_EQ(summit(0).height, 3776);
    EXPECT_EQ(summit(0).kind, 1);
    EXPECT_EQ(summit(0).name, " W");
    EXPECT_EQ(summit(1).height, -10);  // truncated toward zero
    EXPECT_EQ(summit(1).name, " b");   // CR LF removed
    EXPECT_EQ(summit(2).height, INT_MAX);
    EXPECT_EQ(summit(2).name, " in\rside");
    EXPECT_EQ(summit(3).height, 3775);
    EXPECT_EQ(summit(3).name, " last line without a line end");
}

TEST_F(SummitFile, OnlySummitsStrictlyInsideTheAreaAreShown)
{
    // 35..36 N, 138..139 E; packed 35.3 is 35.5 degrees.
    read("35.3 138.3 1 0 in\n36.0 138.3 1 0 n\n35.0 138.3 1 0 s\n35.3 138.0 1 0 w\n35.3 139.0 1 0 e\n"
         "35.3 -138.3 1 0 far west\n");
    ASSERT_EQ(mountains.mountainCount, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(summit(i).shown, i == 0) << summit(i).name;
}

TEST_F(SummitFile, PlacesSummitsInTheGridFrameWithCurvatureDrop)
{
    // Around 60 N a degree of longitude is half a degree of latitude.
    setArea(59.5, 60.5, 10.0, 11.0, 100, 270);
    read("60.0 10.3 100 0 centre\n60.06 10.36 2000 0 north-east\n");
    ASSERT_EQ(mountains.mountainCount, 2);
    EXPECT_NEAR(summit(0).y, 100.0, 1e-6);
    EXPECT_NEAR(summit(0).x, 270.0, 1e-6);
    EXPECT_NEAR(summit(0).z, 100 - (100.0 * 100 + 270.0 * 270) / (2 * earthRadius), 1e-9);
    // 0.1 degree north and east of the centre.
    const Mountain& other = summit(1);
    EXPECT_NEAR(other.y, -0.1 * metresPerDegree + 100, 1e-6);
    EXPECT_NEAR(other.x, std::cos(60.1 * M_PI / 180) * 0.1 * metresPerDegree + 270, 1e-6);
    EXPECT_NEAR(other.z, 2000 - (other.x * other.x + other.y * other.y) / (2 * earthRadius), 1e-9);
    EXPECT_LT(other.z, 1990);
}

TEST_F(SummitFile, BothListsMakeOneTableJapanFirstAndMissingOnesAreSkipped)
{
    cwd.write("MtWorld.txt", "27.591700 86.553100 8849 0 Everest\n");
    read("35.213900 138.433900 3776 1 Fuji-san\n");
    ASSERT_EQ(mountains.mountainCount, 2);
    EXPECT_EQ(summit(0).name + summit(1).name, " Fuji-san Everest");
    std::filesystem::remove("MtJapan.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 1);
    std::filesystem::remove("MtWorld.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 0);
    EXPECT_TRUE(mountains.mountainTable.empty());
}

TEST_F(SummitFile, LongNamesAreCutWholeCharactersAndTheirRestDiscarded)
{
    const std::string wide = "\x81\x97";  // a two-byte character whose second byte could also lead one
    const std::string fits = " " + std::string(45, 'x') + wide;      // 48 bytes
    const std::string straddles = " " + std::string(46, 'x') + wide;  // would end at byte 49
    const std::string halfWidth = " " + std::string(49, '\xB1');      // one-byte katakana
    const std::string tail = " 35.5 138.5 99 0 not a summit";
    read("35.5 138.5 1 0" + fits + tail + "\n35.5 138.5 2 0" + straddles + "\n35.5 138.5 3 0" + halfWidth +
         "\n35.5 138.5 4 0 next\n");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_EQ(summit(0).name, fits);
    EXPECT_EQ(summit(1).name, straddles.substr(0, 47));
    EXPECT_EQ(summit(2).name, halfWidth.substr(0, 48));
    EXPECT_EQ(summit(3).name, " next");
}

TEST_F(SummitFile, NamesOfOnlyBlanksAndDigitsBecomeEmpty)
{
    read("35.5 138.5 1 0 12 34\n35.5 138.5 1 0\n35.5 138.5 1 0 Mt 1\n35.5 138.5 1 0 \x95\x78\x8E\x6D\n");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_EQ(summit(0).name, "");
    EXPECT_EQ(summit(1).name, "");
    EXPECT_EQ(summit(2).name, " Mt 1");
    EXPECT_EQ(summit(3).name, " \x95\x78\x8E\x6D");
}

TEST_F(SummitFile, LinesWhoseNumbersDoNotParseAreSkipped)
{
    read("35.5 138.5 1 0 first\n35.5 north 2 0 bad latitude\n35.5 138.5 3 x bad kind\n"
         "35.5 138.5 4.5\nno kind\n"  // the read goes on past a line end, as "%d" does
         "35.5 138.5 5 0 second\n35.5 138.5");
    ASSERT_EQ(mountains.mountainCount, 2);
    EXPECT_EQ(summit(0).name + summit(1).name, " first second");
}

TEST_F(SummitFile, ShippedListsLoadWhole)
{
    const auto dataDir = std::filesystem::path(__FILE__).parent_path() / "../../../data";
    if (!std::filesystem::exists(dataDir / "MtJapan.txt") || !std::filesystem::exists(dataDir / "MtWorld.txt"))
        GTEST_SKIP() << "the shipped summit lists are not in " << dataDir;
    std::filesystem::copy_file(dataDir / "MtJapan.txt", "MtJapan.txt");
    std::filesystem::copy_file(dataDir / "MtWorld.txt", "MtWorld.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 146);  // one summit per line
    int fuji = 0;
    for (const Mountain& m : mountains.mountainTable) {
        EXPECT_FALSE(m.name.empty());
        if (m.name == " Fuji-san")
            fuji += m.shown == 1 && m.height == 3776 && std::fabs(m.latitude - 35.360833) < 1e-6;
    }
    EXPECT_EQ(fuji, 1);
}

}  // namespace
