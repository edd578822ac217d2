#pragma once
// What the two GSI mesh loaders share: reading a mesh file, the layout of its
// records, and where a GSI area puts its summit markers.

#include <optional>
#include <string>
#include <vector>

namespace orvex {

struct ElevationGrid;
struct GridPoint;
class TextScanner;

// The whole mesh file, opened as text and announced as openAnnounced does;
// nothing when it does not open.
std::optional<std::string> loadGsiFile(const std::string& path, const char* dataSetTag);

// One record: a head of two ignored fields ("%6d%3d"), then `count`
// elevations ("%5d") in tenths of a metre, west to east, into row[0, count).
// A record standing alone on a line of exactly its length, in clean columns,
// is read by column. Returns false at the first field that does not parse;
// the points after it keep what they had.
bool readGsiRecord(TextScanner& reader, GridPoint* row, int count);

// The summit shifts and label height of a GSI area; reads the area edges.
void setGsiMarkerPlacement(ElevationGrid& grid);

// The edges of an area of rows x cols 1:25,000 sheets (5' by 7.5') whose
// north-west sheet is row p, column q of primary square PPQQ, and its
// summit markers.
void setSheetArea(ElevationGrid& grid, int pp, int qq, int p, int q, int rows, int cols);

// Sheets along each side of a primary square: rows p and columns q 0 .. 7.
inline constexpr int sheetsPerSquare = 8;

// A sheet of such an area: its code PPQQpq and its place in the area.
struct AreaSheet {
    int pp, qq, p, q;
    int row; // from the north
    int col; // from the west
};

// The sheets of the area, north to south and west to east, crossing into
// the primary squares to the south and the east.
std::vector<AreaSheet> areaSheets(int pp, int qq, int p, int q, int rows, int cols);

} // namespace orvex
