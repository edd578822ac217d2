// skyloom.env and orvex.col replaced by a directory, an empty file, random
// bytes or a 2 GiB file of zeros: the defaults stay, in bounded memory.
#include "../../hostile_files.h"
#include "settings/colour_file.h"
#include "settings/settings_file.h"
#include "test_files.h"

#include "common/shared_files.h"

#include <gtest/gtest.h>

using namespace skyloom;

namespace {

class HostileSettingsFile : public testing::TestWithParam<Hostile> {};

TEST_P(HostileSettingsFile, LeavesTheDefaultsInBoundedMemory)
{
    ScratchDirectory dir;
    layHostile(GetParam(), kSettingsFileName);
    layHostile(GetParam(), common::colourFileName);
    MapState state;
    SetDefaultColor(state);
    const std::optional<QRect> geometry = ReadEnv(state);
    ReadColor(state);
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
    EXPECT_EQ(geometry, std::nullopt);
    EXPECT_EQ(
        std::tuple(state.meshFlag, state.originX, state.originY, state.dataDir50),
        std::tuple(Mesh::gsi50, kDefaultOriginX, kDefaultOriginY, QString::fromLatin1(kDefaultDataDir50)));
    EXPECT_EQ(state.bandColor, state.defaultBandColor);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, HostileSettingsFile, everyHostileKind, hostileTestName);

} // namespace
