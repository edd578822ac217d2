#pragma once
// Where a raster lies, for the map's tint: its edges in degrees of longitude
// and latitude (WGS 84), read through GDAL from the raster's georeferencing.

#include <QString>
#include <optional>

namespace skyloom {

struct LonLatBox {
    double west = 0, south = 0, east = 0, north = 0;
};

// Nothing where GDAL does not open the file as a raster, or it has no
// georeferencing, or its corners do not come out as degrees. A raster with
// no coordinate system counts as one in degrees when its corners lie within
// -180..180 and -90..90. Callable from any thread.
std::optional<LonLatBox> rasterExtent(const QString& path);

} // namespace skyloom
