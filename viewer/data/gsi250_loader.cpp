// GSI 250 m mesh: one text file of 320 x 320 elevations per primary cell
// (2/3 degree by 1 degree). The header line flags which rows have a record.
#include <string>
#include <string_view>

#include "data/data_file.h"
#include "data/gsi_files.h"
#include "data/loaders.h"
#include "data/text_scanner.h"
#include "state/fatal_error.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

constexpr int cellSize = 320;
constexpr std::size_t flagsStart = 224;

// The header line's row flags, one per row from north to south. A header that
// ends before all its flags counts the missing ones as '0' (no record).
std::string rowFlags(std::string_view header)
{
    std::string flags(cellSize, '0');
    if (header.size() > flagsStart)
        header.substr(flagsStart, cellSize).copy(flags.data(), cellSize);
    return flags;
}

bool readCell(ElevationGrid& grid, const std::string& path, int rowOrigin, int colOrigin)
{
    std::optional<std::string> text = loadGsiFile(path, "GSI250M");
    if (!text)
        return false;
    TextScanner reader(std::move(*text));
    const std::string flags = rowFlags(reader.readRestOfLine());
    for (int k = 0; k < cellSize; ++k) {
        if (flags[k] == '0')
            continue;
        if (!readGsiRecord(reader, grid.gridRowTable[rowOrigin + k] + colOrigin, cellSize))
            break; // the rest of the cell keeps its initial value
    }
    return true;
}

void setArea(ElevationGrid& grid, int a, int b, int c)
{
    grid.areaNorth = (a / 100 + 1) * 0.6666666666666666;
    grid.areaSouth = grid.areaNorth - b / 1.5;
    grid.areaWest = a % 100 + 100;
    grid.areaEast = grid.areaWest + c;
    setGsiMarkerPlacement(grid);
}

} // namespace

void readgsi250(ElevationGrid& grid, const std::string& dir, int a, int b, int c)
{
    if (b < 0 || c < 0)
        fatalError("*** ERROR gsi250 : argument.");
    if (b < 1 || c < 1)
        fatalError("*** GSI250M : No DEM files.");

    allocategrid(grid, std::int64_t{cellSize} * b, std::int64_t{cellSize} * c, gsi250Constants);
    setArea(grid, a, b, c);

    int cellsRead = 0;
    loadProgress().addFilesToRead(static_cast<long long>(b) * c);
    for (int i = 0; i < b; ++i) {
        for (int j = 0; j < c; ++j) {
            // Plain arithmetic on the code: no carry between its two halves.
            const long long code = static_cast<long long>(a) - 100LL * i + j;
            const std::string path = dir + "/DATA/250M/" + padNumber(code, 4) + ".SEM";
            if (readCell(grid, path, cellSize * i, cellSize * j))
                ++cellsRead;
        }
    }
    if (cellsRead == 0)
        fatalError("*** GSI250M : No DEM files.");
    finishgrid(grid, gsi250Constants);
}

void readgsi250(const std::string& dir, int a, int b, int c)
{
    readgsi250(grid, dir, a, b, c);
}

} // namespace orvex
