#include "data/gsi_files.h"

#include "data/data_file.h"
#include "data/text_scanner.h"
#include "state/grid.h"

namespace orvex {

namespace {
// A 250 m cell, the larger of the two, takes about 0.6 MB in its widest
// published layout; a longer file holds nothing a sheet could use beyond this.
constexpr std::size_t longestMeshFile = 16 << 20;
} // namespace

std::optional<std::string> loadGsiFile(const std::string& path, const char* dataSetTag)
{
    const FileHandle file = openAnnounced(path, "r", dataSetTag);
    if (!file)
        return std::nullopt;
    return readRest(file.get(), longestMeshFile);
}

namespace {

constexpr int headWidth = 6 + 3;
constexpr int valueWidth = 5;

// A right-aligned integer filling its whole column: blanks, an optional sign,
// then digits up to the column's end.
bool parseColumn(std::string_view column, int& value)
{
    std::size_t pos = column.find_first_not_of(' ');
    if (pos == std::string_view::npos)
        return false;
    const bool negative = column[pos] == '-';
    if (column[pos] == '-' || column[pos] == '+')
        ++pos;
    if (pos == column.size())
        return false;
    int magnitude = 0;
    for (; pos < column.size(); ++pos) {
        if (column[pos] < '0' || column[pos] > '9')
            return false;
        magnitude = magnitude * 10 + (column[pos] - '0');
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// Published sheets hold one record per line in fixed columns, and a value
// padded with blanks may touch a five-digit neighbour (" 9995" "10002"):
// formatted input would run the two together. A line of exactly one record's
// length whose columns all hold clean integers is therefore read by column.
bool readColumnRecord(TextScanner& reader, GridPoint* row, int count)
{
    const std::string_view line = reader.lineAtStart();
    if (line.size() != static_cast<std::size_t>(headWidth + valueWidth * count))
        return false;
    int value = 0;
    if (!parseColumn(line.substr(0, 6), value) || !parseColumn(line.substr(6, 3), value))
        return false;
    for (int m = 0; m < count; ++m)
        if (!parseColumn(line.substr(headWidth + valueWidth * m, valueWidth), value))
            return false;
    for (int m = 0; m < count; ++m) {
        parseColumn(line.substr(headWidth + valueWidth * m, valueWidth), value);
        row[m].elevation = static_cast<float>(value) / 10.0f;
    }
    reader.skipLine();
    return true;
}

} // namespace

bool readGsiRecord(TextScanner& reader, GridPoint* row, int count)
{
    if (readColumnRecord(reader, row, count))
        return true;
    if (!reader.readInt(6) || !reader.readInt(3))
        return false;
    for (int m = 0; m < count; ++m) {
        const std::optional<int> tenths = reader.readInt(5);
        if (!tenths)
            return false;
        row[m].elevation = static_cast<float>(*tenths) / 10.0f;
    }
    return true;
}

void setSheetArea(ElevationGrid& grid, int pp, int qq, int p, int q, int rows, int cols)
{
    grid.areaNorth = pp * 0.6666666666666666 + (p + 1) / 12.0;
    grid.areaSouth = grid.areaNorth - rows / 12.0;
    grid.areaWest = qq + 100 + q / 8.0;
    grid.areaEast = grid.areaWest + cols / 8.0;
    setGsiMarkerPlacement(grid);
}

std::vector<AreaSheet> areaSheets(int pp, int qq, int p, int q, int rows, int cols)
{
    std::vector<AreaSheet> sheets;
    for (int i = 0; i < rows; ++i, --p) {
        if (p < 0) { // crossed into the primary square to the south
            --pp;
            p = sheetsPerSquare - 1;
        }
        for (int j = 0, east = qq, column = q; j < cols; ++j, ++column) {
            if (column == sheetsPerSquare) { // crossed into the primary square to the east
                ++east;
                column = 0;
            }
            sheets.push_back({pp, east, p, column, i, j});
        }
    }
    return sheets;
}

void setGsiMarkerPlacement(ElevationGrid& grid)
{
    grid.mountainShiftY = 700 - (grid.areaNorth + grid.areaSouth) * 10 / 2;
    grid.mountainShiftX = 270;
    grid.labelLift = 500;
}

} // namespace orvex
