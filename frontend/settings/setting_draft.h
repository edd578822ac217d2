#pragma once
// What the settings dialog edits: a working copy of the colours, the mesh and
// the two directories, taken from the settings when it opens and given back
// only on OK.

#include "core/map_state.h"

#include <QString>
#include <array>

namespace skyloom {

// A swatch colour: red in bits 0-7, green in 8-15, blue in 16-23.
using SwatchValue = int;

// Band colours become swatches clamped to 0..255 per channel, so that no
// value read from a file can bleed into the next channel on the way back.
SwatchValue swatchOfBand(const std::array<std::int16_t, 3>& rgb);
std::array<std::int16_t, 3> bandOfSwatch(SwatchValue value);

// The band names shown beside the swatches, in band order.
QString bandName(int band);

struct SettingDraft {
    std::array<SwatchValue, kBandCount> swatches{};
    Mesh mesh = Mesh::gsi50;
    std::array<QString, kDataSetCount> dirs; // by data set
    QString srtm30Dir;                       // filling SRTM3 voids
};

// The dialog's LoadDialog: settings to working copy.
SettingDraft LoadDialog(const MapState& state);

// The dialog's StoreDialog: colours, the data-set switch that keeps the
// map's centre and carries the range, and the directories without double
// quotes (skyloom.env could not hold them).
void StoreDialog(const SettingDraft& draft, MapState& state);

// The origin in the other mesh that keeps the centre of a view of viewCols x
// viewRows over the same cell: W = viewCols / 2, H = viewRows / 2, and
// rounding to nearest with ties to even. To 250 m: round(q - W) with
// q = round(W + origin) / 8 truncated; to 50 m: round((W + origin) * 8 - W).
// Results are held to the 32-bit range. Other grids: switchDataSet.
void switchMesh(MapState& state, Mesh newMesh);

} // namespace skyloom
