#pragma once
// Everything the map window keeps for the program's lifetime: the settings
// that skyloom.env carries, the map layout, the range, the sheet names, the
// coastline and the viewer's colour tables. One instance, owned by frmMain.

#include "core/coastline.h"
#include "core/map_cells.h"
#include "core/sheet_names.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace skyloom {

// Nine bands of red, green, blue: seven elevation bands, sea, background.
inline constexpr int kBandCount = 9;
using BandColourTable = std::array<std::array<std::int16_t, 3>, kBandCount>;

inline constexpr int kDefaultOriginX = 149;
inline constexpr int kDefaultOriginY = 109;
inline const char kDefaultDataDir50[] = "../GSI50M";
inline const char kDefaultDataDir250[] = "../GSI250M";

// Where the two-click range selection stands.
enum class Selection {
    none,      // nothing chosen
    startCell, // the first click chose a start cell
    range,     // the second click completed the range
};

struct MapState {
    // Settings (skyloom.env).
    Mesh meshFlag = Mesh::gsi50;
    QString dataDir50 = QString::fromLatin1(kDefaultDataDir50);
    QString dataDir250 = QString::fromLatin1(kDefaultDataDir250);
    int originX = kDefaultOriginX;
    int originY = kDefaultOriginY;

    // Cells across and up picMap, set by the resize step.
    int viewCols = 0;
    int viewRows = 0;

    // The range is in surface cells, columns selX1 .. selX2 - 1, rows selY1
    // .. selY2 - 1.
    Selection selState = Selection::none;
    int selX1 = 0;
    int selY1 = 0;
    int selX2 = 0;
    int selY2 = 0;

    SheetNameTable sheetName50{kCols50, kRows50};
    SheetNameTable sheetName250{kCols250, kRows250};

    std::vector<CoastSegment> coastSegments;
    int coastCount = 0;

    BandColourTable bandColor{};
    BandColourTable defaultBandColor{};

    // The table the current mesh draws from.
    const SheetNameTable& sheetNames() const { return meshFlag == Mesh::gsi250 ? sheetName250 : sheetName50; }
};

// meshFlag, both data directories and the origin back to their defaults.
void resetSettings(MapState& state);

// Fills defaultBandColor with the built-in colours.
void SetDefaultColor(MapState& state);

// bandColor = defaultBandColor.
void ResetColor(MapState& state);

} // namespace skyloom
