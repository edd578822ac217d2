// skyloom.env and orvex.col: what is written, what a read takes and leaves,
// whatever the locale and whatever lies where the files belong.
#include "frontend_test.h"
#include "settings/colour_file.h"
#include "settings/setting_draft.h"
#include "settings/settings_file.h"

#include "common/shared_files.h"

#include <QDir>
#include <QProcess>
#include <clocale>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A state whose settings all differ from the defaults, to see what a read
// leaves alone; its settings as one text, such as "1 keep50 keep250 -1 -2".
MapState changedSettings()
{
    MapState state = viewOf(0, 0, -1, -2, Mesh::gsi250);
    state.dataDir50 = "keep50";
    state.dataDir250 = "keep250";
    SetDefaultColor(state);
    ResetColor(state);
    return state;
}

QString settingsOf(const MapState& s)
{
    return QStringLiteral("%1 %2 %3 ").arg(int(s.meshFlag)).arg(s.dataDir50, s.dataDir250) +
           QString::number(s.originX) + u' ' + QString::number(s.originY);
}

} // namespace

TEST(SettingsFile, IsWrittenAsFiveCrLfLinesThatReadBackWhole)
{
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    ASSERT_TRUE(WriteEnv(MapState(), QRect(1500, 750, 9225, 8085)));
    EXPECT_EQ(readFile("skyloom.env"),
              " 2  0 \r\n 1500  750  9225  8085 \r\n 0 \r\n\"../GSI50M\" \"../GSI250M\"\r\n 149  109 \r\n"
              " 0 \r\n\"../FGD\" \"../FGD\" \"../SRTM3\" \"../SRTM30\"\r\n");
    MapState written = viewOf(0, 0, -2147483647 - 1, 2147483647, Mesh::gsi250);
    written.dataDir50 = QStringLiteral("/データ/GSI 50m, 第2版");
    ASSERT_TRUE(WriteEnv(written, QRect(-150, -15, 600, 450)));
    EXPECT_TRUE(readFile("skyloom.env").startsWith(" 2  0 \r\n-150 -15  600  450 \r\n 1 \r\n"));
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"skyloom.env"}) << "nothing left beside";
    MapState read = changedSettings();
    EXPECT_EQ(ReadEnv(read), QRect(-150, -15, 600, 450));
    EXPECT_EQ(settingsOf(read), settingsOf(written));
    // Without a file the defaults; a folder where it belongs is never replaced.
    QFile::remove("skyloom.env");
    ASSERT_TRUE(QDir().mkdir("skyloom.env"));
    EXPECT_EQ(ReadEnv(read), std::nullopt);
    EXPECT_EQ(settingsOf(read), settingsOf(MapState()));
    EXPECT_FALSE(WriteEnv(MapState(), QRect()));
}

TEST(SettingsFile, KeepsTheDataSetsAfterTheLinesThatOlderReadersRead)
{
    // An SRTM view: lines 3 to 5 say 50 m sheets over the same place, lines 6
    // and 7 the data set and the other folders.
    MapState written = viewOf(0, 0, 37, -5, Mesh::srtm);
    std::tie(written.dataDir10, written.dataDir5, written.dataDirSrtm, written.dataDirSrtm30) =
        std::tuple(QString("f10"), QString("f 5"), QString("s3"), QString("s30"));
    const QByteArray text = settingsFileText(written, QRect(0, 0, 9000, 6000));
    EXPECT_TRUE(text.endsWith(" 0 \r\n\"../GSI50M\" \"../GSI250M\"\r\n 148 -30 \r\n 4 \r\n"
                              "\"f10\" \"f 5\" \"s3\" \"s30\"\r\n"));
    MapState read = changedSettings();
    readSettingsText(text, read);
    EXPECT_EQ(std::tuple(read.meshFlag, read.originX, read.originY, read.dataDir5, read.dataDirSrtm30),
              std::tuple(Mesh::srtm, 37, -5, QString("f 5"), QString("s30")));
    // An older file ends after line 5: the new folders keep what they had.
    MapState old = changedSettings();
    old.dataDir10 = "keep10";
    readSettingsText(" 2 0\r\n0 0 1 1\r\n 1 \r\n\"a\" \"b\"\r\n 3 4 \r\n", old);
    EXPECT_EQ(std::tuple(old.meshFlag, old.originX, old.dataDir250, old.dataDir10),
              std::tuple(Mesh::gsi250, 3, QString("b"), QString("keep10")));
    // A data set whose grid line 3 contradicts, or out of range, is not taken.
    for (const char* tail :
         {" 1 \r\n\"a\" \"b\"\r\n 3 4 \r\n 2 \r\n", " 0 \r\n\"a\" \"b\"\r\n 3 4 \r\n 9 \r\n"}) {
        MapState odd = changedSettings();
        readSettingsText(QByteArray(" 2 0\r\n0 0 1 1\r\n") + tail, odd);
        EXPECT_NE(odd.meshFlag, Mesh::dem10) << tail;
        EXPECT_EQ(odd.originX, 3) << tail;
    }
}

TEST(SettingsFile, FieldsCrossLinesEndAtBlanksOrCommasRoundToEvenUpToTheFirstBadOne)
{
    const QByteArray head = "2 0\r\n0 0 100 100\r\n";
    const std::tuple<QByteArray, std::optional<QRect>, QString> cases[] = {
        {"2,0\r\n+1500.4, 750.5 ,9225.5\t8085\r\n1\r\n../A B , ../C\r\n\r\n 10.5  -11.5",
         QRect(1500, 750, 9226, 8085), "1 ../A B ../C 10 -12"},
        {R"(2 0 0 0 100 100 0 "a, b" "  c  " 5 6)", QRect(0, 0, 100, 100),
         "0 a, b   c   5 6"}, // one line, quotes
        {"1 0\r\n0 0 100 100\r\n0\r\n\"a\" \"b\"\r\n1 2\r\n",
         {},
         "1 keep50 keep250 -1 -2"}, // another version
        {"", {}, "1 keep50 keep250 -1 -2"},
        {"2 0\r\n0 0 100", {}, "1 keep50 keep250 -1 -2"},
        {"2 0\r\n0 0 100 1e7\r\n0\r\n", {}, "1 keep50 keep250 -1 -2"}, // beyond any window
        {head, QRect(0, 0, 100, 100), "1 keep50 keep250 -1 -2"},
        {head + "0\r\n\"x\" \"y", QRect(0, 0, 100, 100), "0 x keep250 -1 -2"}, // no closing quote
        {head + "0\r\n\"x\" \"y\"\r\n7 12abc\r\n", QRect(0, 0, 100, 100), "0 x y 7 -2"},
        {head + "0\r\n\"x\" \"y\"\r\n2147483648 5\r\n", QRect(0, 0, 100, 100), "0 x y -1 -2"},
        {head + "0\r\n\"x\" \"y\"\r\n-2147483648 nan\r\n", QRect(0, 0, 100, 100), "0 x y -2147483648 -2"},
        {head + "1,,\"x\"", QRect(0, 0, 100, 100), "1  x -1 -2"}, // an empty field between commas
        // A mesh other than 0 or 1 counts as 0; 0.6 rounds to 1.
        {head + "2 \"p\" \"q\" 3 4", QRect(0, 0, 100, 100), "0 p q 3 4"},
        {head + "1.5 \"p\" \"q\" 3 4", QRect(0, 0, 100, 100), "0 p q 3 4"},
        {head + "0.6 \"p\" \"q\" 3 4", QRect(0, 0, 100, 100), "1 p q 3 4"}};
    for (const auto& [text, geometry, settings] : cases) {
        MapState state = changedSettings();
        EXPECT_EQ(readSettingsText(text, state), geometry) << text.constData();
        EXPECT_EQ(settingsOf(state), settings) << text.constData();
    }
}

TEST(ColourFile, AnyValuesReadBackButOnlyThisVersionWithNineEntriesUpToItsFirstBadValue)
{
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    MapState state = changedSettings();
    EXPECT_EQ(colourFileText(state.bandColor),
              " 2  0 \r\n 9 \r\n 0  250  0 \r\n 120  250  140 \r\n 120  190  140 \r\n 160  190  120 \r\n"
              " 150  190  180 \r\n 200  190  200 \r\n 230  230  230 \r\n 0  0  255 \r\n 200  200  255 \r\n");
    state.bandColor[3] = {-5, 300, 32767}; // outside the channel range
    state.bandColor[4] = {-32768, 0, 256};
    ASSERT_TRUE(WriteColor(state));
    MapState read = changedSettings();
    read.bandColor[0] = {1, 1, 1};
    ReadColor(read);
    EXPECT_EQ(read.bandColor, state.bandColor);
    using Band = std::array<std::int16_t, 3>;
    const QByteArray nine = QByteArray(" 1 2 3\r\n").repeated(9);
    const Band green{0, 250, 0}, red{255, 0, 0}, defaultSecond{120, 250, 140};
    const std::tuple<QByteArray, Band, Band> cases[] = {
        {" 1  0 \r\n 9 \r\n" + nine, green, defaultSecond},
        {" 2  0 \r\n 8 \r\n" + nine, green, defaultSecond},
        {" 2  0 \r\n 10 \r\n" + nine + nine, green, defaultSecond},
        {"2 0\r\n9\r\n255 0 0\r\n7", red, {7, 250, 140}},
        {"2 0\r\n9\r\n255 0 0\r\n7 40000 1", red, {7, 250, 140}},
        {"2 0 9 255 0 0 7 8 9", red, {7, 8, 9}},
        {"2,0,9,254.5,0.5,-0.5,1.5,2.5,3.5", {254, 0, 0}, {2, 2, 4}}};
    for (const auto& [text, first, second] : cases) {
        readColourText(text, state.bandColor = state.defaultBandColor);
        EXPECT_EQ(std::tuple(state.bandColor[0], state.bandColor[1], state.bandColor[2]),
                  std::tuple(first, second, state.defaultBandColor[2]))
            << text.constData();
    }
}

TEST(SettingsFile, NumbersNeverTakeTheLocalesDecimalComma)
{
    // German number formats in the C library (compiled into the scratch
    // folder where the system has no such locale) and in Qt.
    testing_support::ScratchDir scratch;
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", pathOf(scratch) + "/de_DE.UTF-8"});
        qputenv("LOCPATH", scratch.path().c_str());
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
    EXPECT_EQ(settingsOf(state), "1 a b 2 -3") << "the comma ends the field";
    EXPECT_TRUE(colours.contains(" 1000 -1000  0 \r\n"));
    EXPECT_EQ(state.bandColor[0], (std::array<std::int16_t, 3>{2, 2, 5}));
    EXPECT_FLOAT_EQ(coast.value().at(0).lat1, 35.25f);
}

TEST(MeshSwitch, KeepsTheCentreOverTheSameCellRoundingTiesToEvenDividingTruncated)
{
    const int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    // 20 columns: 149 + 10 = 159 lies in 250 m column 19, so 19 - 10 = 9;
    // back, (10 + 9) * 8 - 10 = 142: the centre snaps to the 250 m cell.
    // 21 columns: 159.5 rounds to 160, 160 / 8 = 20, 20 - 10.5 = 9.5 to 10;
    // 116.5 to 116, 14 - 7.5 = 6.5 to 6; back, (10.5 + 10) * 8 - 10.5 =
    // 153.5 to 154 and (7.5 + 7) * 8 - 7.5 = 108.5 to 108. West of the grid
    // -19 / 8 truncates to -2 (rounding down would give -3): -2 - 1 = -3.
    // Results are held to 32 bits.
    const std::tuple<MapState, Mesh, std::pair<int, int>> cases[] = {
        {viewOf(20, 14, 149, 109), Mesh::gsi250, {9, 7}},
        {viewOf(20, 14, 9, 7, Mesh::gsi250), Mesh::gsi50, {142, 105}},
        {viewOf(21, 15, 149, 109), Mesh::gsi250, {10, 6}},
        {viewOf(21, 15, 10, 7, Mesh::gsi250), Mesh::gsi50, {154, 108}},
        {viewOf(21, 15, 10, 7, Mesh::gsi250), Mesh::gsi250, {10, 7}},
        {viewOf(2, 2, -20, -20), Mesh::gsi250, {-3, -3}},
        {viewOf(14, 14, most, least, Mesh::gsi250), Mesh::gsi50, {most, least}},
        {viewOf(14, 14, most, least), Mesh::gsi250, {most / 8 - 7, (least + 7) / 8 - 7}}};
    for (auto [state, mesh, origin] : cases) {
        const std::pair<int, int> from(state.originX, state.originY);
        switchMesh(state, mesh);
        EXPECT_EQ(std::tuple(state.meshFlag, state.originX, state.originY),
                  std::tuple(mesh, origin.first, origin.second))
            << from.first << "," << from.second;
    }
}
