#include "settings/setting_draft.h"
#include <QStringList>

#include <gtest/gtest.h>
#include <limits>

namespace {

MapState viewOf(int cols, int rows, int originX, int originY, int mesh = kMesh50)
{
    MapState state;
    state.viewCols = cols;
    state.viewRows = rows;
    state.originX = originX;
    state.originY = originY;
    state.meshFlag = mesh;
    return state;
}

std::pair<int, int> origin(const MapState& state)
{
    return {state.originX, state.originY};
}

} // namespace

TEST(MeshSwitch, KeepsTheCentreOverTheSameCellWithTiesToEven)
{
    // 20 columns: 149 + 10 = 159 lies in 250 m column 19, so 19 - 10 = 9;
    // back, (10 + 9) * 8 - 10 = 142: the centre snaps to the 250 m cell.
    MapState state = viewOf(20, 14, 149, 109);
    switchMesh(state, kMesh250);
    EXPECT_EQ(state.meshFlag, kMesh250);
    EXPECT_EQ(origin(state), std::make_pair(9, 7)); // 116 / 8 = 14, 14 - 7
    switchMesh(state, kMesh50);
    EXPECT_EQ(state.meshFlag, kMesh50);
    EXPECT_EQ(origin(state), std::make_pair(142, 105));

    // 21 columns: 159.5 rounds to 160, 160 / 8 = 20, 20 - 10.5 = 9.5 to 10.
    state = viewOf(21, 15, 149, 109);
    switchMesh(state, kMesh250);
    EXPECT_EQ(origin(state), std::make_pair(10, 6)); // 116.5 to 116, 14 - 7.5 = 6.5 to 6
    // Back: (10.5 + 10) * 8 - 10.5 = 153.5 to 154; (7.5 + 7) * 8 - 7.5 = 108.5 to 108.
    state.originY = 7;
    switchMesh(state, kMesh50);
    EXPECT_EQ(origin(state), std::make_pair(154, 108));

    // The same mesh again changes nothing.
    switchMesh(state, kMesh50);
    EXPECT_EQ(origin(state), std::make_pair(154, 108));
}

TEST(MeshSwitch, DividesTowardZeroWestOfTheGridAndStaysInRangeAtTheEdges)
{
    // -19 / 8 truncates to -2 (rounding down would give -3): -2 - 1 = -3.
    MapState state = viewOf(2, 2, -20, -20);
    switchMesh(state, kMesh250);
    EXPECT_EQ(origin(state), std::make_pair(-3, -3));

    const int most = std::numeric_limits<int>::max();
    const int least = std::numeric_limits<int>::min();
    state = viewOf(14, 14, most, least, kMesh250);
    switchMesh(state, kMesh50);
    EXPECT_EQ(origin(state), std::make_pair(most, least));
    state = viewOf(14, 14, most, least, kMesh50);
    switchMesh(state, kMesh250);
    EXPECT_EQ(origin(state), std::make_pair(most / 8 - 7, (least + 7) / 8 - 7));
}

TEST(Swatches, ChannelsAreClampedSoNoneBleedsIntoTheNext)
{
    EXPECT_EQ(swatchOfBand({1, 2, 3}), 1 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(swatchOfBand({300, -5, 128}), 255 + 65536 * 128);
    EXPECT_EQ(swatchOfBand({-1, -1, -1}), 0);
    EXPECT_EQ(bandOfSwatch(0xFFFFFF), (std::array<std::int16_t, 3>{255, 255, 255}));
    EXPECT_EQ(bandOfSwatch(0x0A141E), (std::array<std::int16_t, 3>{30, 20, 10}));
    EXPECT_EQ(bandOfSwatch(swatchOfBand({300, -5, 128})), (std::array<std::int16_t, 3>{255, 0, 128}));
}

TEST(SettingDraft, LoadAndStoreCarryTheSettingsAndDropDoubleQuotes)
{
    MapState state = viewOf(20, 14, 149, 109);
    SetDefaultColor(state);
    ResetColor(state);
    state.bandColor[8] = {10, 20, 300};
    state.dataDir250 = QStringLiteral("/data/GSI 250M");

    SettingDraft draft = LoadDialog(state);
    EXPECT_EQ(draft.mesh, kMesh50);
    EXPECT_EQ(draft.dirs, (std::array<QString, 2>{"../GSI50M", "/data/GSI 250M"}));
    EXPECT_EQ(draft.swatches[0], 250 * 256);
    EXPECT_EQ(draft.swatches[8], 10 + 20 * 256 + 255 * 65536);

    // Untouched, OK gives everything back as it was, but clamped.
    const MapState before = state;
    StoreDialog(draft, state);
    EXPECT_EQ(origin(state), origin(before));
    EXPECT_EQ(state.meshFlag, kMesh50);
    EXPECT_EQ(state.dataDir250, before.dataDir250);
    EXPECT_EQ(state.bandColor[8], (std::array<std::int16_t, 3>{10, 20, 255}));
    EXPECT_EQ(state.bandColor[0], before.bandColor[0]);

    draft.mesh = kMesh250;
    draft.dirs = {QStringLiteral("\"../My GSI\""), QStringLiteral("a\"b\"c")};
    draft.swatches[7] = 0x010203;
    StoreDialog(draft, state);
    EXPECT_EQ(state.meshFlag, kMesh250);
    EXPECT_EQ(origin(state), std::make_pair(9, 7));
    EXPECT_EQ(state.dataDir50, QStringLiteral("../My GSI"));
    EXPECT_EQ(state.dataDir250, QStringLiteral("abc"));
    EXPECT_EQ(state.bandColor[7], (std::array<std::int16_t, 3>{3, 2, 1}));
}

TEST(SettingDraft, BandNamesInBandOrder)
{
    QStringList names;
    for (int band = 0; band < kBandCount; ++band)
        names << bandName(band);
    EXPECT_EQ(names, (QStringList{"標高0m", "標高500m", "標高1000m", "標高1500m", "標高2000m", "標高3000m", "標高4000m",
                                  "海面", "背景"}));
}
