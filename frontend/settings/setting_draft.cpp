#include "settings/setting_draft.h"

#include "core/data_sets.h"

#include <algorithm>
#include <limits>

namespace skyloom {

namespace {

int clampChannel(std::int16_t value)
{
    return std::clamp<int>(value, 0, 255);
}

} // namespace

SwatchValue swatchOfBand(const std::array<std::int16_t, 3>& rgb)
{
    return clampChannel(rgb[0]) | clampChannel(rgb[1]) << 8 | clampChannel(rgb[2]) << 16;
}

std::array<std::int16_t, 3> bandOfSwatch(SwatchValue value)
{
    return {static_cast<std::int16_t>(value & 255), static_cast<std::int16_t>(value >> 8 & 255),
            static_cast<std::int16_t>(value >> 16 & 255)};
}

QString bandName(int band)
{
    static const char* const names[kBandCount] = {"標高0m",    "標高500m",  "標高1000m",
                                                  "標高1500m", "標高2000m", "標高3000m",
                                                  "標高4000m", "海面",      "背景"};
    return band >= 0 && band < kBandCount ? QString::fromUtf8(names[band]) : QString();
}

SettingDraft LoadDialog(const MapState& state)
{
    SettingDraft draft;
    for (int band = 0; band < kBandCount; ++band)
        draft.swatches[band] = swatchOfBand(state.bandColor[band]);
    draft.mesh = state.meshFlag;
    for (int set = 0; set < kDataSetCount; ++set)
        draft.dirs[std::size_t(set)] = dataDirOf(state, static_cast<Mesh>(set));
    draft.srtm30Dir = state.dataDirSrtm30;
    return draft;
}

void switchMesh(MapState& state, Mesh newMesh)
{
    switchDataSet(state, newMesh);
}

void StoreDialog(const SettingDraft& draft, MapState& state)
{
    for (int band = 0; band < kBandCount; ++band)
        state.bandColor[band] = bandOfSwatch(draft.swatches[band]);
    switchMesh(state, draft.mesh);
    for (int set = 0; set < kDataSetCount; ++set)
        dataDirOf(state, static_cast<Mesh>(set)) = QString(draft.dirs[std::size_t(set)]).remove(u'"');
    state.dataDirSrtm30 = QString(draft.srtm30Dir).remove(u'"');
}

} // namespace skyloom
