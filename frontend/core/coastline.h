#pragma once
// The coastline of the map: JapanCoast.txt, polylines of longitude/latitude
// points, kept as straight segments in file order.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace skyloom {

struct MapState;

struct CoastSegment {
    float lon1 = 0;
    float lat1 = 0;
    float lon2 = 0;
    float lat2 = 0;
};

// Parses the file's text: repeatedly a point count n, then n longitude and
// latitude pairs, numbers separated by commas, blanks or line breaks. A
// polyline of n points gives n - 1 segments; a count of 0 or less reads no
// points. Nothing at all on any malformed number or a file that ends inside
// a polyline. Storage grows with what is read, never with a count.
std::optional<std::vector<CoastSegment>> parseCoast(const QByteArray& text);

// The full-resolution coastline of all Japan takes a few megabytes.
inline constexpr qsizetype kLongestCoastFile = 64 << 20;

// Reads the coastline file into coastSegments and coastCount; a missing or
// broken file, or one longer than kLongestCoastFile, leaves no coastline.
void ReadCoast(MapState& state, const QString& path = QStringLiteral("JapanCoast.txt"));

} // namespace skyloom
