#pragma once
// Everything the map window keeps for the program's lifetime: the settings
// that skyloom.env carries, the map layout, the range, the sheet names, the
// coastline and the viewer's colour tables. One instance, owned by frmMain.

#include "core/coastline.h"
#include "core/data_scan.h"
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
inline const char kDefaultDataDirFgd[] = "../FGD";
inline const char kDefaultDataDirSrtm[] = "../SRTM3";
inline const char kDefaultDataDirSrtm30[] = "../SRTM30";

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
    QString dataDir10 = QString::fromLatin1(kDefaultDataDirFgd);
    QString dataDir5 = QString::fromLatin1(kDefaultDataDirFgd);
    QString dataDirSrtm = QString::fromLatin1(kDefaultDataDirSrtm);
    QString dataDirSrtm30 = QString::fromLatin1(kDefaultDataDirSrtm30);
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
    // The SRTM tiles' names in each tile's south-west block.
    SheetNameTable sheetNameBlock = blockNameTable();

    // Cells of the current data set's grid whose data files were found in
    // its folder by the last scan (none until it completes).
    DataPresence presence;

    std::vector<CoastSegment> coastSegments;
    int coastCount = 0;

    BandColourTable bandColor{};
    BandColourTable defaultBandColor{};

    // The table the current mesh draws from.
    const SheetNameTable& sheetNames() const
    {
        switch (gridOf(meshFlag)) {
        case Grid::primary250:
            return sheetName250;
        case Grid::block:
            return sheetNameBlock;
        default:
            return sheetName50;
        }
    }
};

// meshFlag, the data directories and the origin back to their defaults.
void resetSettings(MapState& state);

// Fills defaultBandColor with the built-in colours.
void SetDefaultColor(MapState& state);

// bandColor = defaultBandColor.
void ResetColor(MapState& state);

} // namespace skyloom
