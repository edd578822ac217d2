#include "german_numbers.h"
#include "map/map_state.h"
#include "settings/colour_file.h"
#include "settings/settings_file.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A state whose settings all differ from the defaults, to see what a read
// leaves alone.
MapState changedSettings()
{
    MapState state;
    state.meshFlag = kMesh250;
    state.dataDir50 = "keep50";
    state.dataDir250 = "keep250";
    state.originX = -1;
    state.originY = -2;
    return state;
}

struct Settings {
    int meshFlag;
    QString dir50, dir250;
    int originX, originY;
    bool operator==(const Settings&) const = default;
};

Settings settingsOf(const MapState& state)
{
    return {state.meshFlag, state.dataDir50, state.dataDir250, state.originX, state.originY};
}

void PrintTo(const Settings& s, std::ostream* os)
{
    *os << s.meshFlag << " \"" << s.dir50.toStdString() << "\" \"" << s.dir250.toStdString() << "\" " << s.originX
        << ' ' << s.originY;
}

} // namespace

TEST(SettingsFileText, FiveCrLfLinesWithASignPositionAndATrailingBlankPerNumber)
{
    MapState state;
    EXPECT_EQ(settingsFileText(state, QRect(1500, 750, 9225, 8085)),
              QByteArray(" 2  0 \r\n"
                         " 1500  750  9225  8085 \r\n"
                         " 0 \r\n"
                         "\"../GSI50M\" \"../GSI250M\"\r\n"
                         " 149  109 \r\n"));

    state.meshFlag = kMesh250;
    state.originX = -3;
    state.originY = 0;
    state.dataDir50 = QStringLiteral("/データ/GSI 50M");
    EXPECT_EQ(settingsFileText(state, QRect(-150, -15, 600, 450)),
              QByteArray(" 2  0 \r\n"
                         "-150 -15  600  450 \r\n"
                         " 1 \r\n") +
                  QStringLiteral("\"/データ/GSI 50M\" \"../GSI250M\"\r\n").toUtf8() + "-3  0 \r\n");
}

TEST(SettingsFile, WhatIsWrittenIsReadBackAndNoTemporaryFileStays)
{
    ScratchDirectory scratch;
    MapState written = changedSettings();
    written.dataDir50 = QStringLiteral("../地図 50m, 第2版");
    written.dataDir250 = QStringLiteral("/mnt/GSI 250M");
    written.originX = -2147483647 - 1;
    written.originY = 2147483647;
    const QRect geometry(-1500, 30, 9000, 7545);
    ASSERT_TRUE(WriteEnv(written, geometry));
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"skyloom.env"});

    MapState read;
    EXPECT_EQ(ReadEnv(read), geometry);
    EXPECT_EQ(settingsOf(read), settingsOf(written));

    // Without a file: the defaults, and no geometry.
    QFile::remove("skyloom.env");
    MapState fresh = changedSettings();
    EXPECT_EQ(ReadEnv(fresh), std::nullopt);
    EXPECT_EQ(settingsOf(fresh), settingsOf(MapState()));
}

TEST(SettingsFile, AFailedWriteReportsItAndLeavesNothingBeside)
{
    ScratchDirectory scratch;
    // A folder where the file belongs can never be replaced by it.
    ASSERT_TRUE(QDir().mkdir("skyloom.env"));
    EXPECT_FALSE(WriteEnv(MapState(), QRect(0, 0, 9225, 8085)));
    EXPECT_EQ(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"skyloom.env"});
}

TEST(ReadSettingsText, FieldsCrossLinesEndAtBlanksOrCommasAndRoundToEven)
{
    MapState state = changedSettings();
    const auto geometry = readSettingsText("2,0\r\n+1500.4, 750.5 ,9225.5\t8085\r\n"
                                           "1\r\n../A B , ../C\r\n\r\n 10.5  -11.5",
                                           state);
    EXPECT_EQ(geometry, QRect(1500, 750, 9226, 8085));
    EXPECT_EQ(settingsOf(state), (Settings{1, "../A B", "../C", 10, -12}));

    // Quotes keep commas and blanks; a file on one line reads the same.
    state = changedSettings();
    readSettingsText(R"(2 0 0 0 100 100 0 "a, b" "  c  " 5 6)", state);
    EXPECT_EQ(settingsOf(state), (Settings{0, "a, b", "  c  ", 5, 6}));
}

TEST(ReadSettingsText, AnotherVersionOrABrokenHeadIsIgnoredAsAWhole)
{
    for (const char* text : {"1 0\r\n0 0 100 100\r\n0\r\n\"a\" \"b\"\r\n1 2\r\n", "2 1\r\n0 0 100 100\r\n", "2\r\n",
                             "", "two 0\r\n", "\r\n\r\n"}) {
        MapState state = changedSettings();
        EXPECT_EQ(readSettingsText(text, state), std::nullopt) << text;
        EXPECT_EQ(settingsOf(state), settingsOf(changedSettings())) << text;
    }
}

TEST(ReadSettingsText, ReadingStopsAtTheFirstBadFieldAndKeepsWhatWasRead)
{
    const Settings kept = settingsOf(changedSettings());
    const struct {
        const char* text;
        bool geometry;
        Settings expected;
    } cases[] = {
        {"2 0\r\n0 0 100", false, kept},
        {"2 0\r\n0 0 100 1e7\r\n0\r\n", false, kept}, // beyond any window
        {"2 0\r\n0 0 100 100\r\n", true, kept},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\"", true, {0, "x", "keep250", -1, -2}},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y", true, {0, "x", "keep250", -1, -2}}, // no closing quote
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n7 12abc\r\n", true, {0, "x", "y", 7, -2}},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n2147483648 5\r\n", true, {0, "x", "y", -1, -2}},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n-2147483648 nan\r\n", true, {0, "x", "y", -2147483647 - 1, -2}},
        {"2 0\r\n0 0 100 100\r\n1,,\"x\"", true, {1, "", "x", -1, -2}}, // an empty field between commas
    };
    for (const auto& c : cases) {
        MapState state = changedSettings();
        const auto geometry = readSettingsText(c.text, state);
        EXPECT_EQ(geometry.has_value(), c.geometry) << c.text;
        EXPECT_EQ(settingsOf(state), c.expected) << c.text;
    }
}

TEST(ReadSettingsText, AMeshFlagOtherThanZeroOrOneCountsAsZero)
{
    for (const char* mesh : {"2", "-1", "7", "0.4", "1.5"}) {
        MapState state = changedSettings();
        readSettingsText(QByteArray("2 0\r\n0 0 100 100\r\n") + mesh + "\r\n\"p\" \"q\"\r\n3 4\r\n", state);
        EXPECT_EQ(settingsOf(state), (Settings{0, "p", "q", 3, 4})) << mesh;
    }
    MapState state = changedSettings();
    readSettingsText("2 0\r\n0 0 100 100\r\n0.6\r\n\"p\" \"q\"\r\n3 4\r\n", state);
    EXPECT_EQ(state.meshFlag, kMesh250) << "0.6 rounds to 1";
}

TEST(BothFiles, NumbersNeverTakeTheLocalesDecimalComma)
{
    ScratchDirectory scratch;
    const GermanNumbers german(scratch.path());
    if (!german.active())
        GTEST_SKIP() << "no German locale available to switch the C library to decimal commas";
    MapState state = changedSettings();
    const QByteArray text = settingsFileText(state, QRect(1234567, 0, 9225, 8085));
    const auto geometry = readSettingsText("2 0 1500.5 0 9225 8085 1 \"a\" \"b\" 1.5 -3,5", state);
    EXPECT_TRUE(text.startsWith(" 2  0 \r\n 1234567  0  9225  8085 \r\n")) << text.constData();
    EXPECT_EQ(geometry, QRect(1500, 0, 9225, 8085));
    EXPECT_EQ(settingsOf(state), (Settings{1, "a", "b", 2, -3})) << "the comma ends the field";

    state.bandColor[0] = {1000, -1000, 0};
    EXPECT_TRUE(colourFileText(state.bandColor).contains(" 1000 -1000  0 \r\n"));
    readColourText("2 0 9 1.5 2,5 3", state.bandColor);
    EXPECT_EQ(state.bandColor[0], (std::array<std::int16_t, 3>{2, 2, 5}));
}
