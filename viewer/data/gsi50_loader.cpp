// GSI 50 m mesh: one text file of 200 x 200 elevations per map sheet of
// 5' x 7.5', eight sheet rows and columns to a primary cell. Sheets are laid
// edge to edge: they share no edge rows or columns.
#include <string>

#include "data/data_file.h"
#include "data/gsi_files.h"
#include "data/loaders.h"
#include "data/text_scanner.h"
#include "state/fatal_error.h"
#include "state/grid.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

constexpr int sheetSize = 200;

// A sheet's place: primary cell (PP, QQ) and the sheet's row p (from the
// south) and column q (from the west) inside it.
struct SheetCode {
    int pp;
    int qq;
    int p;
    int q;
};

std::string sheetPath(const std::string& dir, const SheetCode& code)
{
    const std::string cell = padNumber(code.pp * 100LL + code.qq, 4);
    return dir + "/DATA/" + cell + "/" + cell + padNumber(code.p, 1) + padNumber(code.q, 1) + ".MEM";
}

bool readSheet(ElevationGrid& grid, const std::string& path, int rowOrigin, int colOrigin)
{
    std::optional<std::string> text = loadGsiFile(path, "GSI50M");
    if (!text)
        return false;
    TextScanner reader(std::move(*text));
    reader.skipLine(); // the sheet header, whatever its length
    for (int k = 0; k < sheetSize; ++k) {
        if (!readGsiRecord(reader, grid.gridRowTable[rowOrigin + k] + colOrigin, sheetSize))
            break; // the rest of the sheet keeps its initial value
    }
    return true;
}

} // namespace

void readgsi50(ElevationGrid& grid, const std::string& dir, int a, int b, int c)
{
    const SheetCode northWest{a / 10000, (a % 10000) / 100, (a % 100) / 10, a % 10};
    if (northWest.p < 0 || northWest.p >= sheetsPerSquare || northWest.q < 0 ||
        northWest.q >= sheetsPerSquare)
        fatalError("*** ERROR gsi50 : argument.");
    if (b < 1 || c < 1)
        fatalError("*** GSI50M : No DEM files.");

    allocategrid(grid, std::int64_t{sheetSize} * b, std::int64_t{sheetSize} * c, gsi50Constants);
    setSheetArea(grid, northWest.pp, northWest.qq, northWest.p, northWest.q, b, c);

    int sheetsRead = 0;
    const std::vector<AreaSheet> sheets =
        areaSheets(northWest.pp, northWest.qq, northWest.p, northWest.q, b, c);
    loadProgress().addFilesToRead(static_cast<long long>(sheets.size()));
    for (const AreaSheet& sheet : sheets)
        if (readSheet(grid, sheetPath(dir, {sheet.pp, sheet.qq, sheet.p, sheet.q}), sheetSize * sheet.row,
                      sheetSize * sheet.col))
            ++sheetsRead;
    if (sheetsRead == 0)
        fatalError("*** GSI50M : No DEM files.");
    finishgrid(grid, gsi50Constants);
}

void readgsi50(const std::string& dir, int a, int b, int c)
{
    readgsi50(grid, dir, a, b, c);
}

} // namespace orvex
