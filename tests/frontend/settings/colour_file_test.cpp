#include "settings/colour_file.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace skyloom;

namespace {

using Band = std::array<std::int16_t, 3>;

MapState withDefaults()
{
    MapState state;
    SetDefaultColor(state);
    ResetColor(state);
    return state;
}

} // namespace

TEST(ColourFile, TheDefaultsAsTheViewerReadsThemAndAnyValuesBackUnchanged)
{
    MapState state = withDefaults();
    EXPECT_EQ(
        colourFileText(state.bandColor),
        QByteArray(
            " 2  0 \r\n 9 \r\n 0  250  0 \r\n 120  250  140 \r\n 120  190  140 \r\n 160  190  120 \r\n"
            " 150  190  180 \r\n 200  190  200 \r\n 230  230  230 \r\n 0  0  255 \r\n 200  200  255 \r\n"));

    ScratchDirectory scratch;
    state.bandColor[3] = {-5, 300, 32767}; // outside the channel range
    state.bandColor[4] = {-32768, 0, 256};
    ASSERT_TRUE(WriteColor(state));
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"orvex.col"});
    MapState read = withDefaults();
    read.bandColor[0] = {1, 1, 1};
    ReadColor(read);
    EXPECT_EQ(read.bandColor, state.bandColor);
}

TEST(ColourFile, AMissingFileAnotherVersionOrAnotherCountLeavesTheDefaults)
{
    ScratchDirectory scratch;
    const QByteArray nine = QByteArray(" 1 2 3\r\n").repeated(9);
    for (const QByteArray& text : {QByteArray(), " 1  0 \r\n 9 \r\n" + nine, " 2  1 \r\n 9 \r\n" + nine,
                                   " 2  0 \r\n 8 \r\n" + nine, " 2  0 \r\n 10 \r\n" + nine + " 1 2 3\r\n"}) {
        QFile::remove("orvex.col");
        if (!text.isEmpty())
            scratch.write("orvex.col", text);
        MapState state = withDefaults();
        state.bandColor[5] = {1, 1, 1};
        ReadColor(state);
        EXPECT_EQ(state.bandColor, state.defaultBandColor) << text.constData();
    }
}

TEST(ColourFile, ReadingStopsAtTheEndOrAtABadValueKeepingWhatWasRead)
{
    const Band red{255, 0, 0};
    const struct {
        const char* text;
        Band band0, band1;
    } cases[] = {
        {"2 0\r\n9\r\n255 0 0\r\n7", red, {7, 250, 140}},
        {"2 0\r\n9\r\n255 0 0\r\n7 40000 1", red, {7, 250, 140}}, // not a 16-bit value
        {"2 0\r\n9\r\n255 0 0\r\n7 x 1", red, {7, 250, 140}},
        {"2 0 9 255 0 0 7 8 9", red, {7, 8, 9}}, // all on one line
        {"2,0,9,254.5,0.5,-0.5,1.5,2.5,3.5", {254, 0, 0}, {2, 2, 4}},
    };
    for (const auto& c : cases) {
        MapState state = withDefaults();
        readColourText(c.text, state.bandColor);
        EXPECT_EQ(state.bandColor[0], c.band0) << c.text;
        EXPECT_EQ(state.bandColor[1], c.band1) << c.text;
        EXPECT_EQ(state.bandColor[2], state.defaultBandColor[2]) << c.text;
    }
}
