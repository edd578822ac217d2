#pragma once
// The shipped coastline: polylines of lon,lat points whose pieces together
// close the rings of every island.

#include <string>
#include <vector>

namespace demo {

struct CoastSegment {
    double lon1, lat1, lon2, lat2;
};

struct Coastline {
    std::vector<CoastSegment> segments;
};

// Reads the coastline file: a point count n, then n "lon,lat" points, again
// and again; numbers are separated by commas, blanks or line breaks. Throws
// std::runtime_error naming the file when it does not open or is malformed
// (a bad number, a count below 1, a polyline cut short by the file's end).
Coastline readCoastline(const std::string& path);

// The same from text already in memory; `origin` names it in messages.
Coastline parseCoastline(const std::string& text, const std::string& origin);

} // namespace demo
