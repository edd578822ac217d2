#include "map/coastline.h"
#include "map/map_state.h"
#include "test_files.h"

#include <QProcess>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(CoastText, PolylinesBecomeSegmentsInFileOrder)
{
    // Three polylines of 3, 2 and 4 points, with every separator the file uses.
    const auto segments = parseCoast("3\r\n130,30\r\n131 , 31\r\n132,32\r\n"
                                     "2 140.5 40.25 141 41\n"
                                     "4,1,2,3,4,5,6,7,8\r\n");
    ASSERT_TRUE(segments);
    ASSERT_EQ(segments->size(), 6u);
    const CoastSegment& first = (*segments)[0];
    EXPECT_FLOAT_EQ(first.lon1, 130);
    EXPECT_FLOAT_EQ(first.lat1, 30);
    EXPECT_FLOAT_EQ(first.lon2, 131);
    EXPECT_FLOAT_EQ(first.lat2, 31);
    EXPECT_FLOAT_EQ((*segments)[1].lon2, 132);
    EXPECT_FLOAT_EQ((*segments)[2].lon1, 140.5f);
    EXPECT_FLOAT_EQ((*segments)[2].lat1, 40.25f);
    EXPECT_FLOAT_EQ((*segments)[5].lon1, 5);
    EXPECT_FLOAT_EQ((*segments)[5].lat2, 8);
}

TEST(CoastText, CountsBelowTwoGiveNoSegmentsAndReadingGoesOn)
{
    const auto segments = parseCoast("0\r\n-3\r\n1\r\n135,35\r\n2\r\n136,36,137,37\r\n");
    ASSERT_TRUE(segments);
    ASSERT_EQ(segments->size(), 1u);
    EXPECT_FLOAT_EQ((*segments)[0].lon1, 136);

    const auto empty = parseCoast("");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(CoastText, AnyReadErrorLeavesNoCoastlineAtAll)
{
    EXPECT_FALSE(parseCoast("2\r\n130,30\r\n131,3x\r\n"));           // malformed number
    EXPECT_FALSE(parseCoast("2\r\n130,30\r\n131,31\r\n3\r\n1,2\r\n")); // ends inside a polyline
    EXPECT_FALSE(parseCoast("2\r\n130,30\r\n131\r\n"));                // a point without latitude
    EXPECT_FALSE(parseCoast("2.5\r\n130,30\r\n131,31\r\n"));           // count not an integer
    EXPECT_FALSE(parseCoast("2\r\n130,30\r\nnan,31\r\n"));             // not a finite number
    EXPECT_FALSE(parseCoast("2\r\n130,30\r\n1e99,31\r\n"));            // beyond single precision
    // A huge count is never used to size anything: the file just ends early.
    EXPECT_FALSE(parseCoast("2000000000\r\n130,30\r\n131,31\r\n"));
}

namespace {

// Switches LC_NUMERIC to German (decimal commas), compiling the locale into
// the scratch folder when the system has none installed.
bool useGermanNumbers(const ScratchDirectory& scratch)
{
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        return true;
    const QString target = scratch.path() + QStringLiteral("/de_DE.UTF-8");
    QProcess::execute(QStringLiteral("localedef"),
                      {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                       target});
    qputenv("LOCPATH", scratch.path().toLocal8Bit());
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

} // namespace

TEST(CoastText, ReadsDecimalPointsWhateverTheCLocaleSays)
{
    ScratchDirectory scratch;
    if (!useGermanNumbers(scratch))
        GTEST_SKIP() << "no German locale available to switch the C library to decimal commas";
    // The C library now reads "1,5" as one and a half.
    const double commaValue = std::strtod("1,5", nullptr);
    const auto segments = parseCoast("2\r\n139.5,35.25\r\n139.75,35.5\r\n");
    std::setlocale(LC_NUMERIC, "C");
    qunsetenv("LOCPATH");
    EXPECT_DOUBLE_EQ(commaValue, 1.5);
    ASSERT_TRUE(segments);
    ASSERT_EQ(segments->size(), 1u);
    EXPECT_FLOAT_EQ((*segments)[0].lon1, 139.5f);
    EXPECT_FLOAT_EQ((*segments)[0].lat1, 35.25f);
    EXPECT_FLOAT_EQ((*segments)[0].lat2, 35.5f);
}

TEST(ReadCoast, FillsTheStateOrLeavesItEmpty)
{
    ScratchDirectory scratch;
    MapState state;
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 0);
    EXPECT_TRUE(state.coastSegments.empty());

    scratch.write(QStringLiteral("JapanCoast.txt"), "3\r\n139,35\r\n139.5,35.5\r\n140,36\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 2);
    EXPECT_EQ(state.coastSegments.size(), 2u);

    // A broken file read after a good one leaves nothing behind.
    scratch.write(QStringLiteral("JapanCoast.txt"), "3\r\n139,35\r\n139.5,35.5\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 0);
    EXPECT_TRUE(state.coastSegments.empty());
}
