#include "map/coastline.h"
#include "map/map_state.h"
#include "test_files.h"

#include <QProcess>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(CoastText, PolylinesBecomeSegmentsInFileOrderAndShortOnesNone)
{
    // Polylines of 3, 2, 0, -3, 1 and 4 points, with every separator the file uses.
    const auto segments = parseCoast("3\r\n130,30\r\n131 , 31\r\n132,32\r\n2 140.5 40.25 141 41\n"
                                     "0\r\n-3\r\n1\r\n135,35\r\n4,1,2,3,4,5,6,7,8\r\n");
    ASSERT_TRUE(segments);
    ASSERT_EQ(segments->size(), 6u);
    const CoastSegment& first = (*segments)[0];
    EXPECT_EQ((std::array{first.lon1, first.lat1, first.lon2, first.lat2}), (std::array{130.f, 30.f, 131.f, 31.f}));
    EXPECT_FLOAT_EQ((*segments)[1].lon2, 132);
    EXPECT_FLOAT_EQ((*segments)[2].lat1, 40.25f);
    EXPECT_FLOAT_EQ((*segments)[3].lon1, 1); // the 1-point polyline gave none
    EXPECT_FLOAT_EQ((*segments)[5].lat2, 8);
    EXPECT_TRUE(parseCoast("")->empty());
}

TEST(CoastText, AnyReadErrorLeavesNoCoastlineAtAll)
{
    for (const char* broken : {"2\r\n130,30\r\n131,3x\r\n",           // malformed number
                               "2\r\n130,30\r\n131,31\r\n3\r\n1,2\r\n", // ends inside a polyline
                               "2.5\r\n130,30\r\n131,31\r\n",           // count not an integer
                               "2\r\n130,30\r\nnan,31\r\n",             // not a finite number
                               "2\r\n130,30\r\n1e99,31\r\n",            // beyond single precision
                               "2000000000\r\n130,30\r\n131,31\r\n"})   // a count never used for storage
        EXPECT_FALSE(parseCoast(broken)) << broken;
}

namespace {

// Switches LC_NUMERIC to German (decimal commas), compiling the locale into
// the scratch folder when the system has none installed.
bool useGermanNumbers(const ScratchDirectory& scratch)
{
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        return true;
    QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", scratch.path() + "/de_DE.UTF-8"});
    qputenv("LOCPATH", scratch.path().toLocal8Bit());
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

} // namespace

TEST(CoastText, ReadsDecimalPointsWhateverTheCLocaleSays)
{
    ScratchDirectory scratch;
    if (!useGermanNumbers(scratch))
        GTEST_SKIP() << "no German locale available to switch the C library to decimal commas";
    const double commaValue = std::strtod("1,5", nullptr); // proves the switch
    const auto segments = parseCoast("2\r\n139.5,35.25\r\n139.75,35.5\r\n");
    std::setlocale(LC_NUMERIC, "C");
    qunsetenv("LOCPATH");
    EXPECT_DOUBLE_EQ(commaValue, 1.5);
    ASSERT_TRUE(segments);
    EXPECT_FLOAT_EQ((*segments)[0].lon1, 139.5f);
    EXPECT_FLOAT_EQ((*segments)[0].lat1, 35.25f);
}

TEST(ReadCoast, FillsTheStateOrLeavesNothingBehind)
{
    ScratchDirectory scratch;
    MapState state;
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 0);

    scratch.write("JapanCoast.txt", "3\r\n139,35\r\n139.5,35.5\r\n140,36\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 2);
    EXPECT_EQ(state.coastSegments.size(), 2u);

    scratch.write("JapanCoast.txt", "3\r\n139,35\r\n139.5,35.5\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 0);
    EXPECT_TRUE(state.coastSegments.empty());
}
