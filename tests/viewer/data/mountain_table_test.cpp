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
    // Reads one MtJapan.txt and no MtWorld.txt.
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
    EXPECT_NEAR(dms2deg(138.4331), 138 + 43 / 60.0 + 31 / 3600.0, 1e-12);
    EXPECT_DOUBLE_EQ(dms2deg(-35.3), -35.5);
    EXPECT_DOUBLE_EQ(dms2deg(0.0), 0.0);
    EXPECT_NEAR(dms2deg(-0.0030), -30 / 3600.0, 1e-12);  // the sign survives a zero degree part
    // Binary fractions fall just short of the decimals: rounding repairs it.
    EXPECT_NEAR(dms2deg(139.595999), 139 + 59 / 60.0 + 59.99 / 3600, 1e-12);
    EXPECT_TRUE(std::isnan(dms2deg(NAN)));
    EXPECT_EQ(dms2deg(INFINITY), INFINITY);
    EXPECT_EQ(dms2deg(1e300), 1e300);
}

TEST_F(SummitFile, ReadsTheFourNumbersAndKeepsTheBlankBeforeTheName)
{
    read("35.215432 138.433100 3776.0 1 W\n");
    ASSERT_EQ(mountains.mountainCount, 1);
    EXPECT_NEAR(summit(0).latitude, 35.3650888888889, 1e-12);
    EXPECT_NEAR(summit(0).longitude, 138.7252777777778, 1e-12);
    EXPECT_EQ(summit(0).height, 3776);
    EXPECT_EQ(summit(0).kind, 1);
    EXPECT_EQ(summit(0).name, " W");
}

TEST_F(SummitFile, HeightsAreTruncatedTowardZeroAndClamped)
{
    read("35.5 138.5 3775.9 0 a\n35.5 138.5 -10.7 0 b\n35.5 138.5 1e20 0 c\n35.5 138.5 -1e20 0 d\n");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_EQ(summit(0).height, 3775);
    EXPECT_EQ(summit(1).height, -10);
    EXPECT_EQ(summit(2).height, INT_MAX);
    EXPECT_EQ(summit(3).height, INT_MIN);
}

TEST_F(SummitFile, OnlySummitsStrictlyInsideTheAreaAreShown)
{
    // The area is 35..36 N, 138..139 E; packed 35.3 is 35.5 degrees.
    read("35.3 138.3 1 0 inside\n"
         "36.0 138.3 1 0 north edge\n35.0 138.3 1 0 south edge\n"
         "35.3 138.0 1 0 west edge\n35.3 139.0 1 0 east edge\n"
         "36.0001 138.3 1 0 north of it\n35.3 -138.3 1 0 far west\n");
    ASSERT_EQ(mountains.mountainCount, 7);
    EXPECT_EQ(summit(0).shown, 1);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(summit(i).shown, 0) << summit(i).name;
}

TEST_F(SummitFile, PlacesSummitsInTheGridFrameWithCurvatureDrop)
{
    // A GSI-like area around 60 N, where a degree of longitude is half a degree of latitude.
    setArea(59.5, 60.5, 10.0, 11.0, 700 - 5 * (60.5 + 59.5), 270);
    read("60.0 10.3 100 0 centre\n60.06 10.36 2000 0 north-east\n");
    ASSERT_EQ(mountains.mountainCount, 2);
    const Mountain& centre = summit(0);
    EXPECT_NEAR(centre.y, 100.0, 1e-6);
    EXPECT_NEAR(centre.x, 270.0, 1e-6);
    EXPECT_NEAR(centre.z, 100 - (100.0 * 100 + 270.0 * 270) / (2 * earthRadius), 1e-9);

    // 0.1 degree north and 0.1 degree east of the centre.
    const Mountain& other = summit(1);
    const double x = std::cos(60.1 * M_PI / 180) * 0.1 * metresPerDegree + 270;
    EXPECT_NEAR(other.y, -0.1 * metresPerDegree + 100, 1e-6);
    EXPECT_NEAR(other.x, x, 1e-6);
    EXPECT_NEAR(other.x, 0.5 * 11111.11 + 270, 30.0);  // cos 60 halves it
    const double drop = (other.x * other.x + other.y * other.y) / (2 * earthRadius);
    EXPECT_NEAR(other.z, 2000 - drop, 1e-9);
    EXPECT_GT(drop, 10.0);
}

TEST_F(SummitFile, BothListsMakeOneTableJapanFirst)
{
    cwd.write("MtWorld.txt", "27.591700 86.553100 8849 0 Everest\n35.5 138.5 1 0 second\n");
    read("35.213900 138.433900 3776 1 Fuji-san\n");
    ASSERT_EQ(mountains.mountainCount, 3);
    EXPECT_EQ(summit(0).name, " Fuji-san");
    EXPECT_EQ(summit(1).name, " Everest");
    EXPECT_EQ(summit(2).name, " second");

    std::filesystem::remove("MtJapan.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 2);  // the missing list is skipped silently
    std::filesystem::remove("MtWorld.txt");
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 0);
    EXPECT_TRUE(mountains.mountainTable.empty());
}

TEST_F(SummitFile, LineEndsAreNotPartOfTheName)
{
    read("35.5 138.5 1 0 crlf\r\n35.5 138.5 2 0 in\rside\n\n\n   35.5 138.5 3 0 blank lines before\n"
         "35.5 138.5 4 0 last line without a line end");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_EQ(summit(0).name, " crlf");
    EXPECT_EQ(summit(1).name, " in\rside");
    EXPECT_EQ(summit(2).name, " blank lines before");
    EXPECT_EQ(summit(3).name, " last line without a line end");
}

TEST_F(SummitFile, OverLongNamesAreCutAndTheirRestDiscarded)
{
    const std::string longName = " " + std::string(70, 'n') + " 35.5 138.5 99 0 tail";
    read("35.5 138.5 1 0" + longName + "\n35.5 138.5 2 0 next\n");
    ASSERT_EQ(mountains.mountainCount, 2);  // the tail of the long line is no summit
    EXPECT_EQ(summit(0).name, longName.substr(0, 48));
    EXPECT_EQ(summit(1).name, " next");
    EXPECT_EQ(summit(1).height, 2);
}

TEST_F(SummitFile, CutsNeverSplitAShiftJisCharacter)
{
    const std::string wide = "\x81\x97";  // a two-byte character whose second byte could also lead one
    const std::string fits = " " + std::string(45, 'x') + wide;      // 48 bytes
    const std::string straddles = " " + std::string(46, 'x') + wide;  // would end at byte 49
    const std::string halfWidth = " " + std::string(49, '\xB1');      // single-byte katakana
    std::string wideOnly = " ";
    for (int i = 0; i < 30; ++i)
        wideOnly += "\x95\x78";
    read("35.5 138.5 1 0" + fits + "yy\n35.5 138.5 1 0" + straddles + "\n35.5 138.5 1 0" + halfWidth +
         "\n35.5 138.5 1 0" + wideOnly + "\n");
    ASSERT_EQ(mountains.mountainCount, 4);
    EXPECT_EQ(summit(0).name, fits);
    EXPECT_EQ(summit(1).name, straddles.substr(0, 47));
    EXPECT_EQ(summit(2).name, halfWidth.substr(0, 48));
    EXPECT_EQ(summit(3).name, wideOnly.substr(0, 47));
}

TEST_F(SummitFile, NamesOfOnlyBlanksAndDigitsBecomeEmpty)
{
    read("35.5 138.5 1 0 12 34\n35.5 138.5 1 0\n35.5 138.5 1 0 3776\n35.5 138.5 1 0 Mt 1\n"
         "35.5 138.5 1 0 \x95\x78\x8E\x6D\x8E\x52\n35.5 138.5 1 0\t12\n");
    ASSERT_EQ(mountains.mountainCount, 6);
    EXPECT_EQ(summit(0).name, "");
    EXPECT_EQ(summit(1).name, "");
    EXPECT_EQ(summit(2).name, "");
    EXPECT_EQ(summit(3).name, " Mt 1");
    EXPECT_EQ(summit(4).name, " \x95\x78\x8E\x6D\x8E\x52");
    EXPECT_EQ(summit(5).name, "\t12");  // a tab is no blank
}

TEST_F(SummitFile, LinesWhoseNumbersDoNotParseAreSkipped)
{
    read("35.5 138.5 1 0 first\n"
         "35.5 north 2 0 bad latitude\n"
         "35.5 138.5 3 x bad kind\n"
         "35.5 138.5 4.5\n"  // too few numbers: the read goes on into the next line
         "no number\n"
         "35.5 138.5 5 0 second\n"
         "35.5 138.5");
    ASSERT_EQ(mountains.mountainCount, 2);
    EXPECT_EQ(summit(0).name, " first");
    EXPECT_EQ(summit(1).name, " second");
    EXPECT_EQ(summit(1).height, 5);
}

TEST_F(SummitFile, ShippedListsLoadWhole)
{
    const std::filesystem::path dataDir =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "data";
    if (!std::filesystem::exists(dataDir / "MtJapan.txt") || !std::filesystem::exists(dataDir / "MtWorld.txt"))
        GTEST_SKIP() << "the shipped summit lists are not in " << dataDir;
    std::filesystem::copy_file(dataDir / "MtJapan.txt", "MtJapan.txt");
    std::filesystem::copy_file(dataDir / "MtWorld.txt", "MtWorld.txt");
    setArea(35.0, 36.0, 138.0, 139.0, 700 - 5 * 71.0, 270);
    readmountain();
    EXPECT_EQ(mountains.mountainCount, 146);  // one summit per line
    int shown = 0;
    for (const Mountain& m : mountains.mountainTable) {
        shown += m.shown;
        EXPECT_FALSE(m.name.empty());
        if (m.name == " Fuji-san") {
            EXPECT_EQ(m.height, 3776);
            EXPECT_EQ(m.shown, 1);
            EXPECT_NEAR(m.latitude, 35.360833, 1e-6);
        }
    }
    EXPECT_GE(shown, 1);
}

}  // namespace
