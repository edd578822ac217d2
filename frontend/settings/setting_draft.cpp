#include "settings/setting_draft.h"

#include "core/text_fields.h"

#include <algorithm>
#include <limits>

namespace skyloom {

namespace {

int clampChannel(std::int16_t value)
{
    return std::clamp<int>(value, 0, 255);
}

int roundedOrigin(double value)
{
    const double limited =
        std::clamp(value, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    return static_cast<int>(
        *roundHalfEven(limited, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// One axis to the 250 m mesh: the 50 m cell under the centre, its 250 m cell,
// then the origin that puts it back under the centre.
int originTo250(int origin, double half)
{
    const std::int64_t centre = roundedOrigin(half + origin);
    const std::int64_t coarse = centre / kSecondaryPerPrimary; // truncated toward zero
    return roundedOrigin(double(coarse) - half);
}

int originTo50(int origin, double half)
{
    return roundedOrigin((half + origin) * kSecondaryPerPrimary - half);
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
    draft.dirs = {state.dataDir50, state.dataDir250};
    return draft;
}

void switchMesh(MapState& state, Mesh newMesh)
{
    if (newMesh == state.meshFlag)
        return;
    const double halfCols = state.viewCols / 2.0;
    const double halfRows = state.viewRows / 2.0;
    if (newMesh == Mesh::gsi250) {
        state.originX = originTo250(state.originX, halfCols);
        state.originY = originTo250(state.originY, halfRows);
    } else {
        state.originX = originTo50(state.originX, halfCols);
        state.originY = originTo50(state.originY, halfRows);
    }
    state.meshFlag = newMesh;
}

void StoreDialog(const SettingDraft& draft, MapState& state)
{
    for (int band = 0; band < kBandCount; ++band)
        state.bandColor[band] = bandOfSwatch(draft.swatches[band]);
    switchMesh(state, draft.mesh);
    state.dataDir50 = QString(draft.dirs[0]).remove(u'"');
    state.dataDir250 = QString(draft.dirs[1]).remove(u'"');
}

} // namespace skyloom
