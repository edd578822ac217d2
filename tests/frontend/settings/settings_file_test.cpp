#include "core/coastline.h"
#include "settings/colour_file.h"
#include "settings/settings_file.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace skyloom;

namespace {

// A state whose settings all differ from the defaults, to see what a read
// leaves alone.
MapState changedSettings()
{
    MapState state = viewOf(0, 0, -1, -2, Mesh::gsi250);
    state.dataDir50 = "keep50";
    state.dataDir250 = "keep250";
    return state;
}

struct Settings {
    Mesh meshFlag;
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
    *os << int(s.meshFlag) << " \"" << s.dir50.toStdString() << "\" \"" << s.dir250.toStdString() << "\" "
        << s.originX << ' ' << s.originY;
}

} // namespace

TEST(SettingsFile, FiveCrLfLinesWithASignPositionAndATrailingBlankPerNumberReadBackWhole)
{
    ScratchDirectory scratch;
    ASSERT_TRUE(WriteEnv(MapState(), QRect(1500, 750, 9225, 8085)));
    EXPECT_EQ(readFile("skyloom.env"),
              " 2  0 \r\n 1500  750  9225  8085 \r\n 0 \r\n\"../GSI50M\" \"../GSI250M\"\r\n 149  109 \r\n");
    MapState written = viewOf(0, 0, -2147483647 - 1, 2147483647, Mesh::gsi250);
    written.dataDir50 = QStringLiteral("/データ/GSI 50m, 第2版");
    ASSERT_TRUE(WriteEnv(written, QRect(-150, -15, 600, 450)));
    EXPECT_EQ(readFile("skyloom.env"),
              " 2  0 \r\n-150 -15  600  450 \r\n 1 \r\n" +
                  QStringLiteral("\"/データ/GSI 50m, 第2版\" \"../GSI250M\"\r\n").toUtf8() +
                  "-2147483648  2147483647 \r\n");
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"skyloom.env"}) << "nothing left beside";
    MapState read;
    EXPECT_EQ(ReadEnv(read), QRect(-150, -15, 600, 450));
    EXPECT_EQ(settingsOf(read), settingsOf(written));

    // Without a file: the defaults, and no geometry.
    QFile::remove("skyloom.env");
    MapState fresh = changedSettings();
    EXPECT_EQ(ReadEnv(fresh), std::nullopt);
    EXPECT_EQ(settingsOf(fresh), settingsOf(MapState()));

    // A folder where the file belongs can never be replaced by it.
    ASSERT_TRUE(QDir().mkdir("skyloom.env"));
    EXPECT_FALSE(WriteEnv(MapState(), QRect()));
    EXPECT_EQ(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"skyloom.env"});
}

TEST(ReadSettingsText, FieldsCrossLinesEndAtBlanksOrCommasAndRoundToEven)
{
    MapState state = changedSettings();
    EXPECT_EQ(readSettingsText(
                  "2,0\r\n+1500.4, 750.5 ,9225.5\t8085\r\n1\r\n../A B , ../C\r\n\r\n 10.5  -11.5", state),
              QRect(1500, 750, 9226, 8085));
    EXPECT_EQ(settingsOf(state), (Settings{Mesh::gsi250, "../A B", "../C", 10, -12}));

    // Quotes keep commas and blanks; a file on one line reads the same.
    readSettingsText(R"(2 0 0 0 100 100 0 "a, b" "  c  " 5 6)", state);
    EXPECT_EQ(settingsOf(state), (Settings{Mesh::gsi50, "a, b", "  c  ", 5, 6}));
}

TEST(ReadSettingsText, ReadingStopsAtTheFirstBadFieldAndAnotherVersionChangesNothing)
{
    const Settings kept = settingsOf(changedSettings());
    const struct {
        const char* text;
        bool geometry;
        Settings expected;
    } cases[] = {
        {"1 0\r\n0 0 100 100\r\n0\r\n\"a\" \"b\"\r\n1 2\r\n", false, kept},
        {"2 1\r\n0 0 100 100\r\n", false, kept},
        {"", false, kept},
        {"two 0\r\n", false, kept},
        {"2 0\r\n0 0 100", false, kept},
        {"2 0\r\n0 0 100 1e7\r\n0\r\n", false, kept}, // beyond any window
        {"2 0\r\n0 0 100 100\r\n", true, kept},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y",
         true,
         {Mesh::gsi50, "x", "keep250", -1, -2}}, // no closing quote
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n7 12abc\r\n", true, {Mesh::gsi50, "x", "y", 7, -2}},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n2147483648 5\r\n", true, {Mesh::gsi50, "x", "y", -1, -2}},
        {"2 0\r\n0 0 100 100\r\n0\r\n\"x\" \"y\"\r\n-2147483648 nan\r\n",
         true,
         {Mesh::gsi50, "x", "y", -2147483647 - 1, -2}},
        {"2 0\r\n0 0 100 100\r\n1,,\"x\"",
         true,
         {Mesh::gsi250, "", "x", -1, -2}}, // an empty field between commas
        // A mesh other than 0 or 1 counts as 0; 0.6 rounds to 1.
        {"2 0\r\n0 0 100 100\r\n2\r\n\"p\" \"q\"\r\n3 4\r\n", true, {Mesh::gsi50, "p", "q", 3, 4}},
        {"2 0\r\n0 0 100 100\r\n-1\r\n\"p\" \"q\"\r\n3 4\r\n", true, {Mesh::gsi50, "p", "q", 3, 4}},
        {"2 0\r\n0 0 100 100\r\n1.5\r\n\"p\" \"q\"\r\n3 4\r\n", true, {Mesh::gsi50, "p", "q", 3, 4}},
        {"2 0\r\n0 0 100 100\r\n0.6\r\n\"p\" \"q\"\r\n3 4\r\n", true, {Mesh::gsi250, "p", "q", 3, 4}},
    };
    for (const auto& c : cases) {
        MapState state = changedSettings();
        EXPECT_EQ(readSettingsText(c.text, state).has_value(), c.geometry) << c.text;
        EXPECT_EQ(settingsOf(state), c.expected) << c.text;
    }
}

TEST(FrontEndFiles, NumbersNeverTakeTheLocalesDecimalComma)
{
    // German number formats in the C library (compiled into the scratch
    // folder where the system has no such locale) and in Qt.
    ScratchDirectory scratch;
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", scratch.path() + "/de_DE.UTF-8"});
        qputenv("LOCPATH", scratch.path().toLocal8Bit());
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool german = std::strtod("1,5", nullptr) == 1.5;

    MapState state = changedSettings();
    const QByteArray text = settingsFileText(state, QRect(1234567, 0, 9225, 8085));
    const auto geometry = readSettingsText("2 0 1500.5 0 9225 8085 1 \"a\" \"b\" 1.5 -3,5", state);
    state.bandColor[0] = {1000, -1000, 0};
    const QByteArray colours = colourFileText(state.bandColor);
    readColourText("2 0 9 1.5 2,5 3", state.bandColor);
    const auto coast = parseCoast("2\r\n139.5,35.25\r\n139.75,35.5\r\n");

    std::setlocale(LC_NUMERIC, "C");
    qunsetenv("LOCPATH");
    QLocale::setDefault(previous);
    if (!german)
        GTEST_SKIP() << "no German locale available to switch the C library to decimal commas";
    EXPECT_TRUE(text.startsWith(" 2  0 \r\n 1234567  0  9225  8085 \r\n")) << text.constData();
    EXPECT_EQ(geometry, QRect(1500, 0, 9225, 8085));
    EXPECT_EQ(settingsOf(state), (Settings{Mesh::gsi250, "a", "b", 2, -3})) << "the comma ends the field";
    EXPECT_TRUE(colours.contains(" 1000 -1000  0 \r\n"));
    EXPECT_EQ(state.bandColor[0], (std::array<std::int16_t, 3>{2, 2, 5}));
    ASSERT_TRUE(coast);
    EXPECT_FLOAT_EQ((*coast)[0].lat1, 35.25f);
}
