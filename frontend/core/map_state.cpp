#include "core/map_state.h"

namespace skyloom {

void resetSettings(MapState& state)
{
    state.meshFlag = Mesh::gsi50;
    state.dataDir50 = QString::fromLatin1(kDefaultDataDir50);
    state.dataDir250 = QString::fromLatin1(kDefaultDataDir250);
    state.dataDir10 = state.dataDir5 = QString::fromLatin1(kDefaultDataDirFgd);
    state.dataDirSrtm = QString::fromLatin1(kDefaultDataDirSrtm);
    state.dataDirSrtm30 = QString::fromLatin1(kDefaultDataDirSrtm30);
    state.originX = kDefaultOriginX;
    state.originY = kDefaultOriginY;
}

void SetDefaultColor(MapState& state)
{
    state.defaultBandColor = {{
        {0, 250, 0},     // elevation 0 m
        {120, 250, 140}, // 500 m
        {120, 190, 140}, // 1000 m
        {160, 190, 120}, // 1500 m
        {150, 190, 180}, // 2000 m
        {200, 190, 200}, // 3000 m
        {230, 230, 230}, // 4000 m
        {0, 0, 255},     // sea
        {200, 200, 255}, // background
    }};
}

void ResetColor(MapState& state)
{
    state.bandColor = state.defaultBandColor;
}

} // namespace skyloom
